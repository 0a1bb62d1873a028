#include "schedule/ui/popup_programs.h"

#include <exception>

#include "core/command_text.h"
#include "platform/window_closer.h"
#include "schedule/entry_options.h"

namespace hinagiku::schedule {
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
        try {
            if (!core::splitCommandText(options.execute).program.empty())
                core::RunCommandText(options.execute);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace hinagiku::schedule
