#pragma once

namespace kc::ui {

// Loads Qt's own Japanese texts (qtbase_ja: the file, print and message
// dialogs, the standard buttons) so no dialog of this Japanese program shows
// English. False when the translation file is not installed.
bool installQtTranslations();

} // namespace kc::ui
