#pragma once

#include <QStringList>

namespace kc::ui {

// Opens the main window on the contest folder; returns the exit code.
int runGui(int &argc, char **argv, const QStringList &arguments);

} // namespace kc::ui
