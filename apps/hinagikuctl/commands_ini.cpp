// hinagikuctl ini get|getint|set|keys|erase: the settings file with the
// program's own rules.
#include <charconv>

#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/profile_file.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage =
    "ini get SECTION KEY [DEFAULT] | ini getint SECTION KEY DEFAULT | ini set SECTION KEY VALUE"
    " | ini keys SECTION | ini erase SECTION";

bool parseDecimal(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

int runIni(CommandContext& context) {
    const auto& a = context.args;
    if (a.empty())
        return usageError(context, kUsage);
    const std::string& verb = a[0];
    const std::size_t n = a.size() - 1;
    if (verb == "get" && (n == 2 || n == 3)) {
        platform::ProfileFile ini(core::settingsFilePath());
        context.out << ini.readText(a[1], a[2], n == 3 ? a[3] : "") << '\n';
        return kExitOk;
    }
    if (verb == "getint" && n == 3) {
        int defaultValue = 0;
        if (!parseDecimal(a[3], defaultValue)) {
            return usageError(context, kUsage, "DEFAULT must be a decimal integer");
        }
        platform::ProfileFile ini(core::settingsFilePath());
        context.out << ini.readInt(a[1], a[2], defaultValue) << '\n';
        return kExitOk;
    }
    if (verb == "set" && n == 3) {
        core::ensureHomeFolder();
        platform::ProfileFile ini(core::settingsFilePath());
        ini.writeText(a[1], a[2], a[3]);
        return kExitOk;
    }
    if (verb == "keys" && n == 1) {
        platform::ProfileFile ini(core::settingsFilePath());
        for (const auto& key : ini.listKeys(a[1]))
            context.out << key << '\n';
        return kExitOk;
    }
    if (verb == "erase" && n == 1) {
        platform::ProfileFile ini(core::settingsFilePath());
        ini.eraseSection(a[1]);
        return kExitOk;
    }
    return usageError(context, kUsage);
}

const CommandRegistration registration{"ini", kUsage, &runIni};

}  // namespace
}  // namespace hinagiku::ctl
