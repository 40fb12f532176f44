#include "ui/ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace kc::ui {

ButtonKeys *ButtonKeys::install(QApplication &app)
{
    auto *keys = new ButtonKeys(&app);
    app.installEventFilter(keys);
    return keys;
}

bool ButtonKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::FocusIn)
        return false;
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button)
        return false;
    if (type == QEvent::FocusIn) {
        // The styles draw the focus frame only after a keyboard focus change;
        // a button focused by the program must be as visible.
        if (QWidget *window = button->window())
            window->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    }
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (!enter || mods != Qt::NoModifier || !button->isEnabled() || !button->isVisible())
        return false;
    if (!key->isAutoRepeat())
        button->click();
    return true; // never also the window's default button
}

} // namespace kc::ui
