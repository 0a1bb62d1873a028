#include "platform/program_launcher.h"

#include <QStandardPaths>
#include <QString>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/command_line.h"
#include "platform/desktop_program_launcher.h"

namespace hinagiku::platform {
namespace {

ProgramLauncher* installedLauncher = nullptr;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

bool looksLikeUrl(std::string_view text) {
    std::size_t i = 0;
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (std::isalnum(c) || c == '+' || c == '-' || c == '.') {
            ++i;
            continue;
        }
        break;
    }
    return i >= 2 && i < text.size() && text[i] == ':';
}

namespace {

std::string parentFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string joined(std::string_view folder, std::string_view name) {
    std::string result(folder);
    if (!result.empty() && result.back() != '/')
        result.push_back('/');
    result.append(name);
    return result;
}

bool isDesktopEntry(const std::string& path) {
    constexpr std::string_view kSuffix = ".desktop";
    if (path.size() <= kSuffix.size())
        return false;
    for (std::size_t i = 0; i < kSuffix.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[path.size() - kSuffix.size() + i]);
        if (std::tolower(c) != kSuffix[i])
            return false;
    }
    return path[path.size() - kSuffix.size() - 1] != '/';
}

LaunchPlan missing(std::string message) {
    LaunchPlan plan;
    plan.kind = LaunchPlan::Kind::Missing;
    plan.message = std::move(message);
    return plan;
}

LaunchPlan openWithDesktop(std::string target, std::string workingFolder,
                           const LaunchProbe& probe) {
    const std::string opener = probe.findInPath("xdg-open");
    if (opener.empty()) {
        return missing("「" + target + "」を開くプログラム (xdg-open) が見つかりません。");
    }
    LaunchPlan plan;
    plan.kind = LaunchPlan::Kind::Open;
    plan.program = opener;
    plan.arguments.push_back(std::move(target));
    plan.workingFolder = std::move(workingFolder);
    return plan;
}

}  // namespace

ProgramLauncher& programLauncher() {
    if (installedLauncher != nullptr)
        return *installedLauncher;
    static DesktopProgramLauncher desktop;
    return desktop;
}

void setProgramLauncher(ProgramLauncher* launcher) {
    installedLauncher = launcher;
}

LaunchProbe LaunchProbe::system() {
    LaunchProbe probe;
    probe.isDirectory = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_directory(path, error);
    };
    probe.isFile = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
    };
    probe.isProgram = [](const std::string& path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return false;
        if (::access(path.c_str(), X_OK) != 0)
            return false;
        std::ifstream in(path, std::ios::binary);
        char start[4] = {};
        in.read(start, sizeof start);
        const auto got = in.gcount();
        return (got >= 4 && start[0] == '\x7f' && start[1] == 'E' && start[2] == 'L' &&
                start[3] == 'F') ||
               (got >= 2 && start[0] == '#' && start[1] == '!');
    };
    probe.findInPath = [](const std::string& name) {
        return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
    };
    if (const char* home = std::getenv("HOME"))
        probe.homeFolder = home;
    return probe;
}

LaunchPlan planLaunch(std::string_view programText, std::string_view parameters,
                      std::string_view workingFolderText, const LaunchProbe& probe) {
    std::string_view text = trimmed(programText);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = trimmed(text.substr(1, text.size() - 2));
    }
    if (text.empty())
        return missing("起動するプログラムが指定されていません。");
    const std::string workingFolder(trimmed(workingFolderText));

    if (looksLikeUrl(text))
        return openWithDesktop(std::string(text), workingFolder, probe);

    std::string path(text);
    if (path == "~" || path.starts_with("~/"))
        path = probe.homeFolder + path.substr(1);

    const bool bareName = path.find('/') == std::string::npos;
    std::string resolved;
    if (path.front() == '/') {
        resolved = path;
    } else {
        if (!workingFolder.empty()) {
            const std::string inFolder = joined(workingFolder, path);
            if (probe.isFile(inFolder) || probe.isDirectory(inFolder))
                resolved = inFolder;
        }
        if (resolved.empty() && (probe.isFile(path) || probe.isDirectory(path))) {
            std::error_code error;
            const auto absolute = std::filesystem::absolute(path, error);
            resolved = error ? path : absolute.lexically_normal().string();
        }
        if (resolved.empty() && bareName) {
            const std::string found = probe.findInPath(path);
            if (!found.empty())
                resolved = found;
        }
        if (resolved.empty())
            return missing("「" + std::string(text) + "」が見つかりません。");
    }

    if (probe.isDirectory(resolved)) {
        return openWithDesktop(resolved, workingFolder.empty() ? resolved : workingFolder, probe);
    }
    if (!probe.isFile(resolved))
        return missing("「" + std::string(text) + "」が見つかりません。");
    if (isDesktopEntry(resolved)) {
        LaunchPlan plan;
        plan.kind = LaunchPlan::Kind::Desktop;
        plan.program = resolved;
        plan.arguments = splitCommandLine(parameters);
        plan.workingFolder = workingFolder;
        return plan;
    }
    if (!probe.isProgram(resolved)) {
        return openWithDesktop(
            resolved, workingFolder.empty() ? parentFolder(resolved) : workingFolder, probe);
    }
    // A program named by its path runs in its own folder; one found by its
    // bare name runs where we are, as a command typed at a prompt would.
    std::string folder = workingFolder;
    if (folder.empty() && !bareName)
        folder = parentFolder(resolved);

    LaunchPlan plan;
    plan.kind = LaunchPlan::Kind::Run;
    plan.program = resolved;
    plan.arguments = splitCommandLine(parameters);
    plan.workingFolder = folder;
    return plan;
}

}  // namespace hinagiku::platform
