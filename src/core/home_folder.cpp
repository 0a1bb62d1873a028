#include "core/home_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/atomic_file.h"

namespace hinagiku::core {

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HINAGIKU_HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home);
    }
    const auto exeFolder = executableFolder();
    std::error_code ec;
    if (std::filesystem::is_regular_file(exeFolder / "hinagiku.ini", ec))
        return exeFolder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "hinagiku";
    }
    const char* user = std::getenv("HOME");
    const std::filesystem::path base = user != nullptr && *user != '\0' ? user : "/tmp";
    return base / ".local" / "share" / "hinagiku";
}

std::filesystem::path ensureHomeFolder() {
    const auto folder = homeFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec && !std::filesystem::is_directory(folder)) {
        throw platform::IoError("\"" + folder.string() +
                                "\": cannot create the folder: " + ec.message());
    }
    return folder;
}

std::filesystem::path settingsFilePath() {
    return homeFolder() / "hinagiku.ini";
}

}  // namespace hinagiku::core
