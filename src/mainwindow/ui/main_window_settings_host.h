#pragma once

#include "core/ui/settings/settings_host.h"

namespace hinagiku::mainwindow {

class MainWindow;

// The main window as the settings dialog sees it.
class MainWindowSettingsHost final : public core::SettingsHost {
  public:
    explicit MainWindowSettingsHost(MainWindow& window) : window_(window) {}

    void setTimerPeriod(int milliseconds) override;
    void applyCalendarColors() override;
    void miniClockBaseChanged(bool ticked) override;
    void refreshDayView() override;
    void setLauncherAutoPopup(bool on) override;
    void setSettingsItemChecked(bool checked) override;
    bool toolAvailable(HostTool tool) const override;
    void openTool(HostTool tool) override;
    QRect mainWindowGeometry() const override;

  private:
    MainWindow& window_;
};

}  // namespace hinagiku::mainwindow
