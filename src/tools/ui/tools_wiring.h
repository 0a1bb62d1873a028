#pragma once

#include <string>
#include <vector>

#include "mainwindow/ui/main_window.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::tools {

// The tools' part of the main window's hooks: the launcher menu's items, the
// command box and the Ctrl drop. Call before MainWindow::setHooks.
void addToolHooks(mainwindow::MainWindowHooks& hooks, mainwindow::MainWindow& window,
                  platform::Settings& settings);
// The tool windows: launcher editor, day calculator, countdown, file
// associations; and the command box's completions. Call after setHooks.
void installTools(mainwindow::MainWindow& window, platform::Settings& settings,
                  const platform::Clock& clock);

// The drop launch: each file through its association; what cannot start is
// shown through `warn`. Returns the number of files started.
int launchDroppedFiles(platform::Settings& settings, const std::vector<std::string>& paths,
                       const std::function<void(const QString&)>& warn);

}  // namespace hinagiku::tools
