#pragma once

#include "platform/program_launcher.h"

namespace hinagiku::platform {

// Starts what planLaunch decides as a detached process: executables directly
// (QProcess, no shell), everything else through xdg-open.
class DesktopProgramLauncher final : public ProgramLauncher {
  public:
    LaunchResult start(const std::string& program, const std::string& parameters = {},
                       const std::string& workingFolder = {}) override;
};

}  // namespace hinagiku::platform
