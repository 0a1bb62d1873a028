#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::schedule {

// An entry's Execute value taken apart: the program, its parameters and the
// folder it runs in.
struct ExecuteRequest {
    std::string program;
    std::string parameters;     // at most kMaxParameterBytes CP932 bytes
    std::string workingFolder;  // the program's folder with its trailing "/"; empty for a bare name
    bool operator==(const ExecuteRequest&) const = default;
};

inline constexpr std::size_t kMaxParameterBytes = 1024;

// Splits at the first "?": the program before it, the parameters after it.
// Without "?" the whole value is the program; with nothing before "?" the
// part after it is the program and there are no parameters.
ExecuteRequest splitExecute(std::string_view value);

// RunEntryPrograms: the entry's Execlose (ask the first window whose title
// contains the text to close), then its Execute (start the program). What
// cannot be closed or started is not reported.
void RunEntryPrograms(const platform::Settings& settings, const std::string& path);

}  // namespace hinagiku::schedule
