#include "platform/desktop_program_launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace hinagiku::platform {

LaunchResult DesktopProgramLauncher::start(const std::string& program,
                                           const std::string& parameters,
                                           const std::string& workingFolder) {
    const LaunchPlan plan = planLaunch(program, parameters, workingFolder, LaunchProbe::system());
    if (plan.kind == LaunchPlan::Kind::Missing)
        return {false, plan.message};

    QStringList arguments;
    for (const auto& argument : plan.arguments)
        arguments << QString::fromStdString(argument);
    QProcess process;
    process.setProgram(QString::fromStdString(plan.program));
    process.setArguments(arguments);
    process.setWorkingDirectory(QString::fromStdString(plan.workingFolder));
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        return {false, "「" + program + "」を起動できません。"};
    }
    return {true, {}};
}

}  // namespace hinagiku::platform
