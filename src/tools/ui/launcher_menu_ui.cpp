#include "tools/ui/launcher_menu_ui.h"

#include <QApplication>
#include <QMenu>

#include <exception>

#include "core/ui/action_guard.h"
#include "tools/launch_request.h"

namespace hinagiku::tools {
namespace {

void addItems(QMenu* menu, const std::vector<LauncherItem>& items, platform::Settings& settings,
              const std::function<void(const QString&)>& warn) {
    for (const LauncherItem& item : items) {
        const QString title = QString::fromStdString(item.title);
        switch (item.kind) {
            case LauncherItem::Kind::Separator:
                menu->addSeparator();
                break;
            case LauncherItem::Kind::Submenu:
                addItems(menu->addMenu(title), item.children, settings, warn);
                break;
            case LauncherItem::Kind::Item: {
                QAction* action = menu->addAction(title);
                const int number = item.number;
                QObject::connect(action, &QAction::triggered, menu,
                                 core::guard([&settings, number, warn] {
                                     runLauncherItem(settings, number, warn);
                                 }));
                break;
            }
        }
    }
}

}  // namespace

LauncherMenu fillLauncherMenu(QMenu* menu, platform::Settings& settings,
                              std::function<void(const QString&)> warn) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LauncherMenu built;
    try {
        built = BuildLauncherMenu(settings);
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        // The menu is left without items rather than the program without a menu.
        warn(QString::fromUtf8(error.what()));
        return built;
    }
    addItems(menu, built.items, settings, warn);
    QApplication::restoreOverrideCursor();
    return built;
}

bool runLauncherItem(platform::Settings& settings, int number,
                     const std::function<void(const QString&)>& warn) {
    const std::string command = launcherCommand(settings, number);
    if (command.empty())
        return true;
    const platform::LaunchResult result = startRequest(commandTextRequest(command));
    if (!result.started && warn)
        warn(QString::fromStdString(result.message));
    return result.started;
}

}  // namespace hinagiku::tools
