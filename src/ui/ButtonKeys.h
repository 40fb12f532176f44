#pragma once

#include <QObject>

class QApplication;

namespace kc::ui {

// The same keyboard habits in every window: Enter presses the focused push
// button (as Space does), and a button that takes the focus shows its focus
// frame even when the focus came from the program rather than from Tab.
class ButtonKeys : public QObject
{
public:
    using QObject::QObject;
    // Installed once on the application; owned by it.
    static ButtonKeys *install(QApplication &app);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kc::ui
