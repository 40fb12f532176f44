#include "cli/Cli.h"
#ifdef KC_HAVE_UI
#include "ui/Gui.h"
#endif

#include <QCoreApplication>
#include <QTextStream>
#include <memory>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("KachikoshiCup"));
    QCoreApplication::setApplicationName(QStringLiteral("KachikoshiCup"));
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
#ifdef KC_HAVE_UI
    if (!kc::cli::wantsCommandLine(args))
        return kc::ui::runGui(argc, argv, args);
#endif
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr), in(stdin);
    if (!kc::cli::wantsCommandLine(args))
        args << QStringLiteral("status");
    return kc::cli::run(args, out, err, &in, isatty(STDIN_FILENO));
}
