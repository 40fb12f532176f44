#include "ui/ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace kc::ui {

namespace {

class ButtonKeys : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && !key->isAutoRepeat() && button->isEnabled() && button->isVisible()) {
                button->click();
                return true;
            }
        } else if (event->type() == QEvent::FocusIn) {
            // Styles draw the frame only after a keyboard focus change.
            if (QWidget *window = button->window())
                window->setAttribute(Qt::WA_KeyboardFocusChange);
            button->update();
        }
        return false;
    }
};

} // namespace

void installButtonKeys()
{
    static ButtonKeys *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new ButtonKeys(qApp);
    qApp->installEventFilter(filter);
}

} // namespace kc::ui
