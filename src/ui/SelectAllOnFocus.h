#pragma once

#include <QEvent>
#include <QLineEdit>
#include <QObject>
#include <QTimer>

namespace kc::ui {

// A text box selects its whole text when it receives the focus, so typing
// replaces the old value. Owned by the box.
class SelectAllOnFocus : public QObject
{
public:
    static void install(QLineEdit *box) { box->installEventFilter(new SelectAllOnFocus(box)); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            if (auto *box = qobject_cast<QLineEdit *>(watched))
                // After the click that gave the focus has placed the cursor.
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
        return false;
    }

private:
    explicit SelectAllOnFocus(QObject *parent)
        : QObject(parent)
    {
    }
};

} // namespace kc::ui
