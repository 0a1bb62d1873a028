#include "schedule/ui/popup_programs.h"

#include <exception>

#include "platform/cp932.h"
#include "platform/program_launcher.h"
#include "platform/window_closer.h"
#include "schedule/entry_options.h"

namespace hinagiku::schedule {
namespace {

// The parameters are limited in CP932 bytes, as the settings file holds them;
// the cut never splits a character.
std::string limitParameters(std::string_view utf8) {
    const std::string bytes = platform::toCp932(utf8);
    if (bytes.size() <= kMaxParameterBytes)
        return std::string(utf8);
    return platform::fromCp932(
        std::string_view(bytes).substr(0, platform::cp932PrefixLength(bytes, kMaxParameterBytes)));
}

std::string folderOf(const std::string& program) {
    const auto slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

}  // namespace

ExecuteRequest splitExecute(std::string_view value) {
    ExecuteRequest request;
    const auto mark = value.find('?');
    if (mark == std::string_view::npos) {
        request.program = std::string(value);
    } else if (mark == 0) {
        request.program = std::string(value.substr(1));
    } else {
        request.program = std::string(value.substr(0, mark));
        request.parameters = limitParameters(value.substr(mark + 1));
    }
    request.workingFolder = folderOf(request.program);
    return request;
}

void RunEntryPrograms(const platform::Settings& settings, const std::string& path) {
    const EntryOptions options = readEntryOptions(settings, path);
    // A window that cannot be closed or a program that cannot be started
    // must not keep the reminder from appearing, and is not reported.
    if (!options.execlose.empty()) {
        try {
            platform::windowCloser().closeWindowByTitle(options.execlose);
        } catch (const std::exception&) {
        }
    }
    if (!options.execute.empty()) {
        const ExecuteRequest request = splitExecute(options.execute);
        if (request.program.empty())
            return;
        try {
            platform::programLauncher().start(request.program, request.parameters,
                                              request.workingFolder);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace hinagiku::schedule
