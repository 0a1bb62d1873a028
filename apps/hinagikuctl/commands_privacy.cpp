// hinagikuctl privacy status|verify|set|open: the privacy lock with the
// password window's rules. Passwords come on standard input, one a line,
// and are never printed.
#include <iostream>

#include "command_registry.h"
#include "core/data_folders.h"
#include "core/home_folder.h"
#include "core/privacy_lock.h"
#include "platform/clock.h"
#include "platform/profile_file.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage =
    "privacy status | privacy verify | privacy set [--tel 0|1]"
    " | privacy open diary|telephone|period";

std::string readLine() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

struct FeatureName {
    const char* name;
    core::GuardedFeature feature;
};
constexpr FeatureName kFeatures[] = {{"diary", core::GuardedFeature::Diary},
                                     {"telephone", core::GuardedFeature::Telephone},
                                     {"period", core::GuardedFeature::Period}};

int status(CommandContext& context, const platform::Settings& ini) {
    context.out << "use\t" << (ini.readBool("Password", "Use", false) ? 1 : 0) << '\n';
    context.out << "password\t" << (core::passwordStored(ini) ? "set" : "none") << '\n';
    context.out << "tel\t" << (ini.readBool("Password", "tel", false) ? 1 : 0) << '\n';
    for (const auto& f : kFeatures)
        context.out << f.name << '\t' << core::lastAccess(ini, f.feature) << '\n';
    return kExitOk;
}

int setPassword(CommandContext& context, platform::Settings& ini, const std::string* tel) {
    if (!core::ensurePasswordFolder(ini)) {
        context.err << "hinagikuctl: " << core::kMissingFolderMessage << '\n';
        return kExitIoError;
    }
    const std::string current = readLine();
    const std::string fresh = readLine();
    const std::string again = readLine();
    const bool guardPhone = tel != nullptr ? *tel == "1" : ini.readBool("Password", "tel", false);
    switch (core::changePassword(ini, current, fresh, again, guardPhone)) {
        case core::PasswordChange::Changed:
            context.out << "changed\n";
            return kExitOk;
        case core::PasswordChange::WrongCurrent:
            context.out << "wrong-current\n";
            context.err << "hinagikuctl: " << core::kWrongCurrentPassword << '\n';
            return kExitRefused;
        case core::PasswordChange::Invalid:
            break;
    }
    context.out << "invalid\n";
    context.err << "hinagikuctl: " << core::kInvalidPassword << '\n';
    return kExitRefused;
}

int runPrivacy(CommandContext& context) {
    const auto& a = context.args;
    if (a.empty())
        return usageError(context, kUsage);
    platform::ProfileFile ini(core::settingsFilePath());
    if (a[0] == "status" && a.size() == 1)
        return status(context, ini);
    if (a[0] == "verify" && a.size() == 1) {
        const bool match = core::passwordMatches(ini, readLine());
        context.out << (match ? "match" : "mismatch") << '\n';
        return match ? kExitOk : kExitRefused;
    }
    if (a[0] == "set" && (a.size() == 1 || (a.size() == 3 && a[1] == "--tel"))) {
        if (a.size() == 3 && a[2] != "0" && a[2] != "1")
            return usageError(context, kUsage, "--tel takes 0 or 1");
        core::ensureHomeFolder();
        return setPassword(context, ini, a.size() == 3 ? &a[2] : nullptr);
    }
    if (a[0] == "open" && a.size() == 2) {
        for (const auto& f : kFeatures) {
            if (a[1] != f.name)
                continue;
            if (core::isGuarded(ini, f.feature) && !core::passwordMatches(ini, readLine())) {
                context.out << "refused\n";
                return kExitRefused;
            }
            core::ensureHomeFolder();
            const platform::SystemClock clock;
            context.out << "open\t" << core::recordAccess(ini, f.feature, clock.now()) << '\n';
            return kExitOk;
        }
        return usageError(context, kUsage, "no such feature");
    }
    return usageError(context, kUsage);
}

const CommandRegistration registration{"privacy", kUsage, &runPrivacy};

}  // namespace
}  // namespace hinagiku::ctl
