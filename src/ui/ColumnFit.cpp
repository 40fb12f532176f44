#include "ui/ColumnFit.h"

#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace kc::ui {

namespace {

// Room for the cell's margins and the grid line, as the style draws them.
constexpr int kCellPadding = 12;

QFontMetrics metricsOf(const QVariant &font, const QFont &fallback)
{
    return QFontMetrics(font.canConvert<QFont>() ? font.value<QFont>() : fallback);
}

} // namespace

int contentWidth(const QTableView &view, int column)
{
    const QAbstractItemModel *model = view.model();
    if (!model)
        return 0;
    const QHeaderView *header = view.horizontalHeader();
    const QString heading = model->headerData(column, Qt::Horizontal).toString();
    int width = metricsOf(model->headerData(column, Qt::Horizontal, Qt::FontRole), header->font())
                    .horizontalAdvance(heading);
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, column);
        const QString text = index.data().toString();
        if (text.isEmpty())
            continue;
        width = std::max(width,
                         metricsOf(index.data(Qt::FontRole), view.font()).horizontalAdvance(text));
    }
    return width + kCellPadding;
}

void widenToContent(QTableView &view, int column)
{
    view.setColumnWidth(column, std::max(view.columnWidth(column), contentWidth(view, column)));
}

} // namespace kc::ui
