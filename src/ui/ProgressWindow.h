#pragma once

#include "publish/PublishProgress.h"

#include <QWidget>

namespace kc::ui {

// frmProg: the progress window shown while pages are built. The stage is its
// caption; the bar is drawn in twips as the system draws it: a blue box from
// (300, 600), 4200 twips at full length and 200 high, in a black frame with
// a white lower and right edge.
class ProgressWindow : public QWidget, public PublishProgress
{
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void begin(int total) override;
    void stage(const QString &caption) override;
    void counter(int done) override;
    void end() override;

    int total() const { return m_total; }
    int done() const { return m_done; }
    // The blue box's length in twips: done / total × 4200, rounded; 0 without a total.
    static int barTwips(int done, int total);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int toPixels(int twips) const;
    void showNow();

    int m_total = 0;
    int m_done = 0;
    int m_drawnWidth = -1;
};

} // namespace kc::ui
