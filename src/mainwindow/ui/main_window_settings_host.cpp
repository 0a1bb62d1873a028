#include "mainwindow/ui/main_window_settings_host.h"

#include <QAction>

#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/tray_icon.h"

namespace hinagiku::mainwindow {
namespace {

Tool toolOf(core::SettingsHost::HostTool tool) {
    return tool == core::SettingsHost::HostTool::MailSettings ? Tool::MailSettings
                                                              : Tool::FileAssociations;
}

}  // namespace

void MainWindowSettingsHost::setTimerPeriod(int milliseconds) {
    window_.setTimerPeriod(milliseconds);
}

void MainWindowSettingsHost::applyCalendarColors() {
    window_.applyCalendarColors();
}

void MainWindowSettingsHost::miniClockBaseChanged(bool ticked) {
    window_.miniClockBaseChanged(ticked);
}

void MainWindowSettingsHost::refreshDayView() {
    window_.CalendarEx1Change();
}

void MainWindowSettingsHost::setLauncherAutoPopup(bool on) {
    if (TTrayIcon* icon = window_.launcherTrayIcon())
        icon->setAutoPopup(on);
}

void MainWindowSettingsHost::setSettingsItemChecked(bool checked) {
    if (QAction* item = window_.menuItem(window_.mainMenu(), QStringLiteral("環境設定"))) {
        item->setCheckable(true);
        item->setChecked(checked);
    }
}

bool MainWindowSettingsHost::toolAvailable(HostTool tool) const {
    return window_.toolAvailable(toolOf(tool));
}

void MainWindowSettingsHost::openTool(HostTool tool) {
    window_.openTool(toolOf(tool));
}

QRect MainWindowSettingsHost::mainWindowGeometry() const {
    return window_.geometry();
}

}  // namespace hinagiku::mainwindow
