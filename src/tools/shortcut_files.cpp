#include "tools/shortcut_files.h"

#include <liblnk.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/cp932.h"
#include "platform/file_search.h"
#include "tools/shortcut_folder.h"

namespace hinagiku::tools {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// One UTF-8 string of a link: size query, then the text; empty when absent.
template <typename SizeFunction, typename TextFunction>
std::string linkString(liblnk_file_t* file, SizeFunction sizeOf, TextFunction textOf) {
    size_t size = 0;
    if (sizeOf(file, &size, nullptr) != 1 || size == 0)
        return {};
    std::vector<uint8_t> text(size);
    if (textOf(file, text.data(), size, nullptr) != 1)
        return {};
    return std::string(reinterpret_cast<const char*>(text.data()));
}

struct LinkCloser {
    void operator()(liblnk_file_t* file) const {
        liblnk_file_close(file, nullptr);
        liblnk_file_free(&file, nullptr);
    }
};

std::string slashes(std::string text) {
    for (char& c : text) {
        if (c == '\\')
            c = '/';
    }
    return text;
}

bool pathExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// A path whose parts may differ in ASCII case from the disk (Windows
// archives): each part is looked up without regard to case.
std::filesystem::path findIgnoringCase(const std::filesystem::path& base,
                                       std::string_view relative) {
    std::filesystem::path current = base;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const auto end = relative.find('/', start);
        const std::string_view part = relative.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? relative.size() + 1 : end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            current = current.parent_path();
            continue;
        }
        std::filesystem::path exact = current / std::string(part);
        if (!pathExists(exact)) {
            std::error_code ec;
            for (const auto& entry : std::filesystem::directory_iterator(current, ec)) {
                if (platform::foldAsciiCase(displayName(entry.path().filename().string())) ==
                    platform::foldAsciiCase(part)) {
                    exact = entry.path();
                    break;
                }
            }
        }
        current = exact;
    }
    return current;
}

}  // namespace

std::optional<std::string> readUrlShortcut(std::string_view bytes) {
    bool inSection = true;  // a file without any section header still counts
    bool sawSection = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        if (line.starts_with("[")) {
            const auto close = line.find(']');
            const std::string name(line.substr(1, close == std::string_view::npos ? 0 : close - 1));
            inSection = platform::foldAsciiCase(name) == "internetshortcut";
            sawSection = true;
            continue;
        }
        if (!inSection && sawSection)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (platform::foldAsciiCase(trimmed(line.substr(0, equals))) != "url")
            continue;
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (value.empty())
            return std::nullopt;
        return platform::fromCp932(value);
    }
    return std::nullopt;
}

std::filesystem::path winePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return prefix;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "") / ".wine";
}

std::string mapWindowsPath(std::string_view windowsPath, const std::filesystem::path& prefix) {
    if (windowsPath.size() < 3 || windowsPath[1] != ':' ||
        (windowsPath[2] != '\\' && windowsPath[2] != '/'))
        return {};
    const char drive = windowsPath[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')))
        return {};
    const char lower = static_cast<char>(drive | 0x20);
    const std::filesystem::path root = prefix / "dosdevices" / (std::string(1, lower) + ":");
    return findIgnoringCase(root, slashes(std::string(windowsPath.substr(3)))).string();
}

ShortcutTarget readLnkShortcut(const std::filesystem::path& link,
                               const std::filesystem::path& prefix) {
    ShortcutTarget target;
    const std::string shown = platform::fromCp932(link.filename().string());
    liblnk_file_t* raw = nullptr;
    if (liblnk_file_initialize(&raw, nullptr) != 1) {
        target.error = "ショートカット「" + shown + "」を読めません。";
        return target;
    }
    liblnk_file_set_ascii_codepage(raw, LIBLNK_CODEPAGE_WINDOWS_932, nullptr);
    if (liblnk_file_open(raw, link.c_str(), LIBLNK_OPEN_READ, nullptr) != 1) {
        liblnk_file_free(&raw, nullptr);
        target.error =
            "ショートカット「" + shown + "」は壊れているか、ショートカットではありません。";
        return target;
    }
    const std::unique_ptr<liblnk_file_t, LinkCloser> file(raw);
    const std::string relative = linkString(file.get(), liblnk_file_get_utf8_relative_path_size,
                                            liblnk_file_get_utf8_relative_path);
    const std::string local = linkString(file.get(), liblnk_file_get_utf8_local_path_size,
                                         liblnk_file_get_utf8_local_path);
    target.parameters = linkString(file.get(), liblnk_file_get_utf8_command_line_arguments_size,
                                   liblnk_file_get_utf8_command_line_arguments);
    const std::string working = linkString(file.get(), liblnk_file_get_utf8_working_directory_size,
                                           liblnk_file_get_utf8_working_directory);

    std::string found;
    if (!relative.empty()) {
        const std::filesystem::path candidate =
            findIgnoringCase(link.parent_path(), slashes(relative));
        if (pathExists(candidate))
            found = candidate.lexically_normal().string();
    }
    if (found.empty() && !local.empty()) {
        const std::string mapped = mapWindowsPath(local, prefix);
        if (!mapped.empty() && pathExists(mapped))
            found = mapped;
    }
    if (found.empty()) {
        const std::string named = !local.empty() ? local : relative;
        target.error = named.empty() ? "ショートカット「" + shown + "」にはリンク先がありません。"
                                     : "ショートカット「" + shown + "」のリンク先「" + named +
                                           "」が見つかりません。";
        return target;
    }
    target.program = found;
    if (!working.empty()) {
        const std::string mappedWorking = mapWindowsPath(working, prefix);
        if (!mappedWorking.empty() && pathExists(mappedWorking))
            target.workingFolder = mappedWorking;
    }
    return target;
}

}  // namespace hinagiku::tools
