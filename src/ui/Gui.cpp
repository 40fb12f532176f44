#include "ui/Gui.h"

#include "scoring/StartUp.h"
#include "store/Contest.h"
#include "store/StoreError.h"
#include "ui/ButtonKeys.h"
#include "ui/Fonts.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxPrompter.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

namespace kc::ui {

namespace {

// The command line's status for a contest that cannot be read or written.
constexpr int kExitDataError = 4;

struct GuiOptions
{
    QString dir;
    bool support = false;
};

GuiOptions parseOptions(const QStringList &arguments)
{
    GuiOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--dir" && i + 1 < arguments.size())
            o.dir = arguments[++i];
        else if (a.startsWith(QStringLiteral("--dir=")))
            o.dir = a.mid(6);
        else if (a == u"--support")
            o.support = true;
    }
    if (o.dir.isEmpty())
        o.dir = defaultContestDir();
    return o;
}

} // namespace

int runGui(int &argc, char **argv, const QStringList &arguments)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kachikoshi Cup"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kachikoshi.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("kachikoshi"));
    installUiFonts();
    installQtTranslations(); // without the package the dialogs stay English
    installButtonKeys();

    const GuiOptions options = parseOptions(arguments);
    MessageBoxPrompter prompter;
    auto fail = [&](const QString &message) {
        prompter.tell({message, QStringLiteral("Kachikoshi Cup"), Icon::Critical});
        return kExitDataError;
    };
    if (options.dir.isEmpty()) {
        prompter.tell({noContestDirMessage(), QStringLiteral("Kachikoshi Cup"), Icon::Critical});
        return 2;
    }
    if (!QDir().mkpath(options.dir))
        return fail(QStringLiteral("フォルダ %1 を作成できません。")
                        .arg(QDir::toNativeSeparators(options.dir)));

    Contest contest(options.dir, prompter);
    try {
        // A second copy on the same folder is refused here too (the folder lock).
        openContest(contest);
    } catch (const StoreError &e) {
        return fail(e.message());
    }

    MainWindow window(contest);
    prompter.setParent(&window);
    if (options.support)
        window.setSupportMenuVisible(true);
    window.show();
    const int code = app.exec();
    prompter.setParent(nullptr);
    return code;
}

} // namespace kc::ui
