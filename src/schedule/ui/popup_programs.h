#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::schedule {

// RunEntryPrograms: the entry's Execlose (ask the first window whose title
// contains the text to close), then its Execute (start the program). What
// cannot be closed or started is not reported.
void RunEntryPrograms(const platform::Settings& settings, const std::string& path);

}  // namespace hinagiku::schedule
