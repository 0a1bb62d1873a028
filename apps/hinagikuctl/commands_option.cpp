// hinagikuctl option list|set: the settings dialog's options with the
// dialog's own rules.
#include "command_registry.h"
#include "core/home_folder.h"
#include "core/option_table.h"
#include "platform/profile_file.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage = "option list | option set SECTION KEY VALUE";

void printRow(std::ostream& out, const core::OptionRow& row, const std::string& value) {
    out << row.section << '\t' << row.key << '\t' << value << '\n';
}

int runOption(CommandContext& context) {
    const auto& a = context.args;
    if (a.size() == 1 && a[0] == "list") {
        platform::ProfileFile ini(core::settingsFilePath());
        for (const core::OptionRow& row : core::optionTable())
            printRow(context.out, row, core::loadedValue(ini, row));
        return kExitOk;
    }
    if (a.size() == 4 && a[0] == "set") {
        core::ensureHomeFolder();
        platform::ProfileFile ini(core::settingsFilePath());
        const core::OptionChange change = core::changeOption(ini, a[1], a[2], a[3]);
        switch (change.status) {
            case core::OptionChange::Status::NoSuchSetting:
                context.err << "hinagikuctl: " << change.message << '\n';
                return kExitUsage;
            case core::OptionChange::Status::Refused:
                context.err << "hinagikuctl: " << change.message << '\n';
                return kExitRefused;
            case core::OptionChange::Status::Written:
                break;
        }
        if (!change.warning.empty())
            context.err << "hinagikuctl: " << change.warning << '\n';
        for (const auto& [row, value] : change.written)
            printRow(context.out, *row, value);
        return kExitOk;
    }
    return usageError(context, kUsage);
}

const CommandRegistration registration{"option", kUsage, &runOption};

}  // namespace
}  // namespace hinagiku::ctl
