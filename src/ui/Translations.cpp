#include "ui/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace kc::ui {

QString qtTranslationFile()
{
    // Qt's own folder first; the Debian folder covers a Qt built elsewhere.
    const QStringList dirs {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                            QStringLiteral("/usr/share/qt6/translations")};
    for (const QString &dir : dirs) {
        const QString file = QDir(dir).filePath(QStringLiteral("qtbase_ja.qm"));
        if (QFileInfo::exists(file))
            return file;
    }
    return {};
}

QTranslator *installQtTranslations(QCoreApplication &app)
{
    const QString file = qtTranslationFile();
    if (file.isEmpty())
        return nullptr;
    auto *translator = new QTranslator(&app);
    if (!translator->load(file)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace kc::ui
