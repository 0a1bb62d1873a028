#include "schedule/folder_store.h"

#include "platform/file_search.h"

namespace hinagiku::schedule {

FolderStore::FolderStore(std::string folder) : folder_(std::move(folder)) {}

std::optional<std::string> FolderStore::exists(std::string_view name) const {
    if (folder_.empty())
        return std::nullopt;
    std::string onDisk;
    if (!platform::fileExists(folder_, name, &onDisk))
        return std::nullopt;
    return onDisk;
}

std::vector<std::string> FolderStore::find(std::string_view pattern) const {
    if (folder_.empty())
        return {};
    return platform::findFiles(folder_, pattern);
}

}  // namespace hinagiku::schedule
