#include "ui/ProgressWindow.h"

#include "publish/Publisher.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace kc::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmProg"));
    setWindowTitle(publisher::ProgressCaption);
    setWindowModality(Qt::ApplicationModal);
    // Room for the bar and its frame with a margin like the system's window.
    setFixedSize(toPixels(4800), toPixels(1200));
}

int ProgressWindow::barTwips(int done, int total)
{
    if (total <= 0)
        return 0;
    return int(std::lround(std::clamp(double(done) / total, 0.0, 1.0) * 4200.0));
}

int ProgressWindow::toPixels(int twips) const
{
    const qreal dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

void ProgressWindow::showNow()
{
    if (!isVisible())
        show();
    // The pages are built on this thread: let the window paint now.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::begin(int total)
{
    m_total = total;
    m_done = 0;
    m_drawnWidth = -1;
    showNow();
}

void ProgressWindow::stage(const QString &caption)
{
    setWindowTitle(caption);
    showNow();
}

void ProgressWindow::counter(int done)
{
    m_done = done;
    // Repaint only when the bar grows by a pixel.
    const int width = toPixels(barTwips(m_done, m_total));
    if (width != m_drawnWidth) {
        repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void ProgressWindow::end()
{
    hide();
}

void ProgressWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int width = toPixels(barTwips(m_done, m_total));
    m_drawnWidth = width;
    if (m_total > 0 && width > 0)
        p.fillRect(QRect(QPoint(toPixels(300), toPixels(600)),
                         QPoint(toPixels(300) + width, toPixels(800))),
                   QColor(0, 0, 255));
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(toPixels(299), toPixels(599)), QPoint(toPixels(4501), toPixels(801))));
    p.setPen(Qt::white);
    p.drawLine(toPixels(299), toPixels(801), toPixels(4501), toPixels(801));
    p.drawLine(toPixels(4501), toPixels(599), toPixels(4501), toPixels(801));
}

} // namespace kc::ui
