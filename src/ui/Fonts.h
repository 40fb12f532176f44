#pragma once

namespace kc::ui {

// Maps the Windows font names to installed fonts and makes the UI Gothic the
// application font, so every window shows its Japanese texts.
void installUiFonts();

} // namespace kc::ui
