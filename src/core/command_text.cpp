#include "core/command_text.h"

#include <filesystem>

#include "platform/cp932.h"

namespace hinagiku::core {
namespace {

// The cut is made in CP932 bytes, as the settings file holds the text, and
// never splits a character.
std::string limitParameters(std::string_view utf8) {
    const std::string bytes = platform::toCp932(utf8);
    if (bytes.size() <= kMaxCommandParameterBytes)
        return std::string(utf8);
    return platform::fromCp932(std::string_view(bytes).substr(
        0, platform::cp932PrefixLength(bytes, kMaxCommandParameterBytes)));
}

std::string folderOf(std::string_view program) {
    const auto mark = program.find_last_of("/\\:");
    return mark == std::string_view::npos ? std::string()
                                          : std::string(program.substr(0, mark + 1));
}

bool isRelativePath(std::string_view program) {
    return !program.empty() && program.front() != '/' && program.front() != '~' &&
           program.front() != '"';
}

std::string resolveInBase(const std::string& program, std::string_view baseFolder) {
    if (baseFolder.empty() || !isRelativePath(program) || platform::looksLikeUrl(program))
        return program;
    const std::filesystem::path candidate = std::filesystem::path(baseFolder) / program;
    std::error_code error;
    if (!std::filesystem::exists(candidate, error))
        return program;
    std::string resolved = candidate.lexically_normal().string();
    while (resolved.size() > 1 && resolved.back() == '/')
        resolved.pop_back();
    return resolved;
}

}  // namespace

CommandText splitCommandText(std::string_view text, std::string_view baseFolder) {
    CommandText command;
    const auto mark = text.find('?');
    if (mark == std::string_view::npos || platform::looksLikeUrl(text)) {
        command.program = std::string(text);
    } else if (mark == 0) {
        command.program = std::string(text.substr(1));
    } else {
        command.program = std::string(text.substr(0, mark));
        command.parameters = limitParameters(text.substr(mark + 1));
    }
    command.program = resolveInBase(command.program, baseFolder);
    if (!platform::looksLikeUrl(command.program))
        command.workingFolder = folderOf(command.program);
    return command;
}

platform::LaunchResult RunCommandText(std::string_view text, platform::ProgramLauncher& launcher,
                                      std::string_view baseFolder) {
    const CommandText command = splitCommandText(text, baseFolder);
    if (command.program.empty())
        return {false, "起動するプログラムが指定されていません。"};
    // URLs are opened as they are: no working folder.
    if (platform::looksLikeUrl(command.program))
        return launcher.start(command.program, {}, {});
    return launcher.start(command.program, command.parameters, command.workingFolder);
}

}  // namespace hinagiku::core
