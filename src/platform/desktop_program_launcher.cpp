#include "platform/desktop_program_launcher.h"

#include "platform/desktop_entry_launch.h"
#include "platform/detached_spawn.h"

namespace hinagiku::platform {

LaunchResult DesktopProgramLauncher::start(const std::string& program,
                                           const std::string& parameters,
                                           const std::string& workingFolder) {
    const LaunchPlan plan = planLaunch(program, parameters, workingFolder, LaunchProbe::system());
    if (plan.kind == LaunchPlan::Kind::Missing)
        return {false, plan.message};
    if (plan.kind == LaunchPlan::Kind::Desktop)
        return launchDesktopEntry(plan.program, plan.arguments);

    // The bytes of the names go to the system as they are (no QString on
    // the way, which would replace names that are not UTF-8).
    const std::string failure = spawnDetached(plan.program, plan.arguments, plan.workingFolder);
    if (!failure.empty())
        return {false, "「" + program + "」を起動できません: " + failure};
    return {true, {}};
}

}  // namespace hinagiku::platform
