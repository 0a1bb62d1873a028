#pragma once

#include <string>

namespace hinagiku::mainwindow {

// Ending the whole session from the program's menus: power off or restart.
class SystemPower {
  public:
    virtual ~SystemPower() = default;
    // Both ask the system and return at once; the system may ask the user
    // for permission. False with a message when the request was refused.
    virtual bool powerOff(std::string& message) = 0;
    virtual bool reboot(std::string& message) = 0;
};

// systemd-logind over the system bus (org.freedesktop.login1 PowerOff and
// Reboot, interactive, so that a polkit agent may ask for permission).
class LogindPower final : public SystemPower {
  public:
    bool powerOff(std::string& message) override;
    bool reboot(std::string& message) override;
};

}  // namespace hinagiku::mainwindow
