#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace kc {
class Contest;
}

namespace kc::ui {

class PrintRenderer;

// frmPrize (結果発表): the prize table with its winners, and the printed list.
// The main window opens it modally from mmResult:
//     PrizeWindow w(contest, printRenderer, this); w.exec();
class PrizeWindow : public QDialog
{
    Q_OBJECT

public:
    PrizeWindow(Contest &contest, PrintRenderer &printer, QWidget *parent = nullptr);

    // Grid column widths in twips, by column (the last one hidden).
    static int columnTwips(int column);

private:
    void load();
    void printClicked();
    void previewClicked();

    Contest &m_contest;
    PrintRenderer &m_printer;
    QLabel *m_titleLabel = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_previewButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace kc::ui
