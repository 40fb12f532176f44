#include "ui/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kc::ui {

void placeBeside(QWidget *window, const QWidget *anchor, int keepTop)
{
    if (!window || !anchor)
        return;
    const QScreen *screen = anchor->screen();
    if (!screen)
        return;
    const QRect work = screen->availableGeometry();
    const QRect near = anchor->frameGeometry();
    // The frame the window manager adds; before the first show it is not known yet.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize outer
        = window->size() + QSize(std::max(frame.width(), 0), std::max(frame.height(), 0));
    const int top = std::clamp(near.top(), work.top(),
                               std::max(work.top(), work.bottom() + 1 - outer.height()));
    QPoint at;
    if (near.right() + 1 + outer.width() <= work.right() + 1)
        at = QPoint(near.right() + 1, top);
    else if (near.left() - outer.width() >= work.left())
        at = QPoint(near.left() - outer.width(), top);
    else
        at = QPoint(std::clamp(near.right() + 1 - outer.width(), work.left(),
                               std::max(work.left(), work.right() + 1 - outer.width())),
                    std::min(near.top() + keepTop,
                             std::max(work.top(), work.bottom() + 1 - outer.height())));
    window->move(at);
}

} // namespace kc::ui
