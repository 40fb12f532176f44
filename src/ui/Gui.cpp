#include "ui/Gui.h"

#include "cli/Cli.h"

#include <QApplication>
#include <QTextStream>

namespace kc::ui {

int runGui(int &argc, char **argv, const QStringList &arguments)
{
    // The main window comes next; until then show the contest's state.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    err << QStringLiteral("（ウィンドウ版は準備中です。コンテストの状態を表示します。）")
        << Qt::endl;
    return kc::cli::run(arguments + QStringList {QStringLiteral("status")}, out, err, nullptr,
                        false);
}

} // namespace kc::ui
