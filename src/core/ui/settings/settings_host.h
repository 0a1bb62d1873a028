#pragma once

#include <QRect>

namespace hinagiku::core {

// What the settings dialog asks of the main window. The main window's
// adapter implements it; tests use a recorder.
class SettingsHost {
  public:
    enum class HostTool { MailSettings, FileAssociations };

    virtual ~SettingsHost() = default;

    // The main timer's period, at once.
    virtual void setTimerPeriod(int milliseconds) = 0;
    // The calendar takes the stored colours at once.
    virtual void applyCalendarColors() = 0;
    // "ミニ時計モードをベースにする。" changed: ticked ends in mini clock mode
    // (hidden, calendar height, one mode change, shown); unticked: one mode change.
    virtual void miniClockBaseChanged(bool ticked) = 0;
    // The day information of the selected date, rebuilt.
    virtual void refreshDayView() = 0;
    // The launcher tray icon opens its menus by itself (not while the dialog exists).
    virtual void setLauncherAutoPopup(bool on) = 0;
    // The check mark of the menu item "環境設定".
    virtual void setSettingsItemChecked(bool checked) = 0;
    // Tools the dialog's buttons open.
    virtual bool toolAvailable(HostTool tool) const = 0;
    virtual void openTool(HostTool tool) = 0;
    // The main window's frame, for the default placement of new memos.
    virtual QRect mainWindowGeometry() const = 0;
};

}  // namespace hinagiku::core
