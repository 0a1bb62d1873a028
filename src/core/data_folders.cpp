#include "core/data_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/file_search.h"

namespace hinagiku::core {
namespace {

FolderHooks& hooks() {
    static FolderHooks h;
    return h;
}

}  // namespace

std::string DataFolder(const platform::Settings& settings) {
    return settings.readText("Calendar", "Directory", ".");
}

std::string PrivateFolder(const platform::Settings& settings) {
    std::string folder = settings.readText("Privacy", "Directory", "");
    if (folder.empty())
        return DataFolder(settings);
    return folder;
}

void setFolderHooks(FolderHooks h) {
    hooks() = std::move(h);
}

bool RequireDataFolder(const platform::Settings& settings) {
    if (DataFolder(settings) != ".")
        return true;
    if (hooks().openSettingsDialog)
        hooks().openSettingsDialog();
    return false;
}

bool EnsureSubfolder(std::string_view base, std::string_view name) {
    const std::string folder = joinPath(base, name);
    if (!platform::folderExists(folder)) {
        if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
            throw platform::IoError("\"" + folder +
                                    "\": cannot create the folder: " + std::strerror(errno));
        }
    }
    if (!platform::folderExists(folder)) {
        if (hooks().showError)
            hooks().showError(kMissingFolderMessage);
        return false;
    }
    return true;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

}  // namespace hinagiku::core
