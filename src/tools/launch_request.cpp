#include "tools/launch_request.h"

#include "core/command_text.h"
#include "platform/atomic_file.h"
#include "platform/command_line.h"
#include "platform/file_search.h"
#include "tools/shortcut_files.h"

namespace hinagiku::tools {
namespace {

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string quoted(const std::string& argument) {
    // Quoting for splitCommandLine: backslashes before a quote doubled.
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            text.append(backslashes * 2 + 1, '\\');
            text.push_back('"');
        } else {
            text.append(backslashes, '\\');
            text.push_back(c);
        }
        backslashes = 0;
    }
    text.append(backslashes * 2, '\\');
    text.push_back('"');
    return text;
}

// Follows .url and .lnk files; anything else stays as it is.
LaunchRequest followShortcut(LaunchRequest request) {
    if (request.program.empty() || platform::looksLikeUrl(request.program) ||
        !isRegularFile(request.program))
        return request;
    const std::string extension = platform::foldAsciiCase(fileExtension(request.program));
    if (extension == ".url") {
        std::string bytes;
        std::optional<std::string> url;
        if (platform::readWholeFile(request.program, bytes))
            url = readUrlShortcut(bytes);
        if (!url) {
            request.error =
                "インターネットショートカット「" + request.program + "」にURLがありません。";
            return request;
        }
        request.program = *url;
        request.parameters.clear();
        request.workingFolder.clear();
        return request;
    }
    if (extension == ".lnk") {
        const ShortcutTarget target = readLnkShortcut(request.program);
        if (!target.error.empty()) {
            request.error = target.error;
            return request;
        }
        std::string parameters = target.parameters;
        if (!request.parameters.empty())
            parameters += (parameters.empty() ? "" : " ") + request.parameters;
        request.program = target.program;
        request.parameters = parameters;
        request.workingFolder = target.workingFolder;
        return request;
    }
    return request;
}

}  // namespace

LaunchRequest commandTextRequest(std::string_view text, std::string_view baseFolder) {
    const core::CommandText command = core::splitCommandText(text, baseFolder);
    LaunchRequest request;
    request.program = command.program;
    request.parameters = command.parameters;
    request.workingFolder = command.workingFolder;
    if (request.program.empty()) {
        request.error = "起動するプログラムが指定されていません。";
        return request;
    }
    return followShortcut(std::move(request));
}

LaunchRequest fileRequest(const std::string& path) {
    LaunchRequest request;
    request.program = path;
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos)
        request.workingFolder = path.substr(0, slash + 1);
    return followShortcut(std::move(request));
}

LaunchRequest commandBoxRequest(const ShortcutFolder& folder, std::string_view text) {
    const std::filesystem::path file = folder.find(text);
    if (!file.empty())
        return fileRequest(file.string());
    return commandTextRequest(text, folder.path().string());
}

platform::LaunchResult startRequest(const LaunchRequest& request,
                                    platform::ProgramLauncher& launcher) {
    if (!request.error.empty())
        return {false, request.error};
    std::string parameters = request.parameters;
    for (const std::string& argument : request.extraArguments)
        parameters += " " + quoted(argument);
    return launcher.start(request.program, parameters, request.workingFolder);
}

platform::LaunchPlan planRequest(const LaunchRequest& request, const platform::LaunchProbe& probe) {
    if (!request.error.empty()) {
        platform::LaunchPlan plan;
        plan.kind = platform::LaunchPlan::Kind::Missing;
        plan.message = request.error;
        return plan;
    }
    platform::LaunchPlan plan =
        platform::planLaunch(request.program, request.parameters, request.workingFolder, probe);
    if (plan.kind == platform::LaunchPlan::Kind::Run ||
        plan.kind == platform::LaunchPlan::Kind::Desktop)
        plan.arguments.insert(plan.arguments.end(), request.extraArguments.begin(),
                              request.extraArguments.end());
    return plan;
}

std::string escapeField(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            default:
                escaped.push_back(c);
        }
    }
    return escaped;
}

std::string planLine(const platform::LaunchPlan& plan) {
    using Kind = platform::LaunchPlan::Kind;
    std::string line = plan.kind == Kind::Run    ? "run"
                       : plan.kind == Kind::Open ? "open"
                                                 : "desktop";
    line += "\t" + escapeField(plan.program) + "\t" + escapeField(plan.workingFolder);
    for (const std::string& argument : plan.arguments)
        line += "\t" + escapeField(argument);
    return line;
}

}  // namespace hinagiku::tools
