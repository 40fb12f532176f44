#include "cli/Cli.h"
#ifdef KC_HAVE_UI
#include "ui/Gui.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>
#include <memory>
#include <stdlib.h>
#include <unistd.h>

#if defined(Q_OS_LINUX)
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

// Whether a window can be opened: on X11/Wayland systems there must be a
// display, or a platform chosen explicitly (offscreen, vnc, ...).
bool haveDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

#if defined(Q_OS_LINUX)
// A folder name that is not text in the locale (CP932 bytes copied from
// Windows) does not survive a QString: the folder named by exactly those
// bytes is created if missing, opened, and reached through its descriptor.
QString folderArgument(const QByteArray &bytes)
{
    const QString text = QString::fromLocal8Bit(bytes);
    if (text.toLocal8Bit() == bytes)
        return text;
    for (qsizetype i = 1; i <= bytes.size(); ++i)
        if (i == bytes.size() || bytes[i] == '/')
            ::mkdir(bytes.left(i).constData(), 0777); // an existing one is fine
    const int fd = ::open(bytes.constData(), O_RDONLY | O_DIRECTORY);
    return fd >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(fd) : text;
}
#else
QString folderArgument(const QByteArray &bytes)
{
    return QString::fromLocal8Bit(bytes);
}
#endif

// Qt warns on standard error when it has no runtime folder, and standard error
// is for the program's own messages: give it a private one for this run.
class RuntimeFolder
{
public:
    RuntimeFolder()
    {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/kachikoshi-runtime-XXXXXX";
        if (mkdtemp(pattern.data())) { // mode 0700, as Qt asks of it
            m_path = pattern;
            qputenv("XDG_RUNTIME_DIR", m_path);
        }
#endif
    }
    ~RuntimeFolder()
    {
        if (!m_path.isEmpty())
            QDir(QString::fromLocal8Bit(m_path)).removeRecursively();
    }
    RuntimeFolder(const RuntimeFolder &) = delete;
    RuntimeFolder &operator=(const RuntimeFolder &) = delete;

private:
    QByteArray m_path;
};

} // namespace

int main(int argc, char **argv)
{
    const RuntimeFolder runtimeFolder;
    QCoreApplication::setOrganizationName(QStringLiteral("KachikoshiCup"));
    QCoreApplication::setApplicationName(QStringLiteral("KachikoshiCup"));
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--dir" && i + 1 < argc)
            args << QStringLiteral("--dir") << folderArgument(argv[++i]);
        else if (a.startsWith("--dir=") && a.size() > 6)
            args << QStringLiteral("--dir=") + folderArgument(a.mid(6));
        else
            args << QString::fromLocal8Bit(a);
    }
    const bool wantsWindow = !kc::cli::wantsCommandLine(args);
#ifdef KC_HAVE_UI
    if (wantsWindow && haveDisplay())
        return kc::ui::runGui(argc, argv, args);
#endif
    // Printing lays out text, which needs the font database of a QGuiApplication;
    // without a display it draws on the offscreen platform.
    std::unique_ptr<QCoreApplication> app;
    if (!wantsWindow && kc::cli::commandRenders(args)) {
        if (!haveDisplay())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout), err(stderr), in(stdin);
    if (wantsWindow) {
#ifdef KC_HAVE_UI
        err << QStringLiteral("画面がありません（DISPLAY も WAYLAND_DISPLAY も QT_QPA_PLATFORM も"
                              "設定されていません）。ウィンドウの代わりにコンテストの状態を表示"
                              "します。")
            << Qt::endl;
#else
        err << QStringLiteral(
            "このビルドにはウィンドウがありません。コンテストの状態を表示します。")
            << Qt::endl;
#endif
        args << QStringLiteral("status");
    }
    return kc::cli::run(args, out, err, &in, isatty(STDIN_FILENO));
}
