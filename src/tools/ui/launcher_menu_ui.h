#pragma once

#include <QString>

#include <functional>

#include "platform/settings.h"
#include "tools/launcher_menu.h"

class QMenu;

namespace hinagiku::tools {

// BuildLauncherMenu into `menu` (above the fixed items the main window adds
// after it): the hourglass while it runs, separators, two levels of
// submenus, and each item's click running [ExecCommand] of its number.
// `warn` shows what keeps an item from starting.
LauncherMenu fillLauncherMenu(QMenu* menu, platform::Settings& settings,
                              std::function<void(const QString&)> warn);

// ExecMenuClick: runs [ExecCommand] `number`; an empty or absent command does
// nothing. False (after `warn`) when it cannot start.
bool runLauncherItem(platform::Settings& settings, int number,
                     const std::function<void(const QString&)>& warn);

}  // namespace hinagiku::tools
