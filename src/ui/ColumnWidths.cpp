#include "ui/ColumnWidths.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace kc::ui {

int columnWidthFor(const QTableView *view, int column, int fieldBytes, int atLeast)
{
    // Cell padding and the grid line; a heading also leaves room for the sort arrow.
    constexpr int kCellMargin = 12, kHeadingMargin = 18;
    int width = atLeast;
    if (fieldBytes > 0) {
        // A full-width character takes two bytes; 'W' is the widest half-width one.
        const QFontMetrics fm = view->fontMetrics();
        const int text = std::max(fm.horizontalAdvance(QString(fieldBytes / 2, QChar(0x6F22))),
                                  fm.horizontalAdvance(QString(fieldBytes, u'W')));
        width = std::max(width, text + kCellMargin);
    }
    if (view->model()) {
        const QString heading
            = view->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const QFontMetrics fm = view->horizontalHeader()->fontMetrics();
        int headingWidth = 0;
        for (const QString &line : heading.split(u'\n'))
            headingWidth = std::max(headingWidth, fm.horizontalAdvance(line));
        width = std::max(width, headingWidth + kHeadingMargin);
    }
    return width;
}

} // namespace kc::ui
