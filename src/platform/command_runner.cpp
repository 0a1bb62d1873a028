#include "platform/command_runner.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace hinagiku::platform {

bool ProcessCommandRunner::isAvailable(const std::string& program) const {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

CommandOutcome ProcessCommandRunner::run(const std::string& program,
                                         const std::vector<std::string>& arguments) {
    CommandOutcome outcome;
    const QString path = QStandardPaths::findExecutable(QString::fromStdString(program));
    if (path.isEmpty())
        return outcome;
    QStringList list;
    for (const auto& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(path, list);
    if (!process.waitForStarted(timeLimit_))
        return outcome;
    if (!process.waitForFinished(timeLimit_)) {
        process.kill();
        process.waitForFinished(1000);
        return outcome;
    }
    outcome.started = process.exitStatus() == QProcess::NormalExit;
    outcome.exitCode = process.exitCode();
    outcome.output = process.readAllStandardOutput().toStdString();
    return outcome;
}

}  // namespace hinagiku::platform
