#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

namespace kc::ui {

// Loads Qt's own Japanese texts (file and print dialogs, standard buttons) into
// the application. Returns the installed translator (owned by app), or null when
// the translation file is not installed: Qt's English captions then stay.
QTranslator *installQtTranslations(QCoreApplication &app);

// Where Qt's translation files are looked for, first match wins.
QString qtTranslationFile();

} // namespace kc::ui
