#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kc {
class Contest;
}

namespace kc::ui {

class PrintRenderer;

// frmHoshi (星取表): the win/loss chart of every wrestler and confirmed day,
// drawn from the same items that go to the printer. Modeless; one at a time.
class HoshiWindow : public QWidget
{
    Q_OBJECT

public:
    // Brings the open chart to the front, or opens one.
    static HoshiWindow *open(Contest &contest, PrintRenderer &printer, QWidget *parent);

    HoshiWindow(Contest &contest, PrintRenderer &printer, QWidget *parent = nullptr);
    // Draws the chart again from the contest (after a day is confirmed).
    void refresh();

private:
    void printClicked();
    void previewClicked();

    Contest &m_contest;
    PrintRenderer &m_printer;
    QLabel *m_titleLabel = nullptr;
    QWidget *m_chart = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_previewButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace kc::ui
