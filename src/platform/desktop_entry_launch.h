#pragma once

#include <string>
#include <vector>

#include "platform/program_launcher.h"

namespace hinagiku::platform {

// Starts a desktop entry file: an Application by its Exec line (field codes,
// Path and Terminal as the desktop does) with `files` as the files it is
// given; a Link by opening its URL. A file that is no usable entry gives a
// message naming it.
LaunchResult launchDesktopEntry(const std::string& path, const std::vector<std::string>& files);

}  // namespace hinagiku::platform
