#pragma once

namespace kc::ui {

// In every window, Enter presses the push button that has the focus, and a
// focused push button shows its focus frame even when the program (not the
// Tab key) moved the focus there. Installed once on the application.
void installButtonKeys();

} // namespace kc::ui
