#include "todo/todo_folder.h"

#include <sys/stat.h>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/file_search.h"

namespace hinagiku::todo {

std::filesystem::path findTodoFolder(std::string_view dataFolder) {
    const std::filesystem::path base{std::string(dataFolder)};
    if (platform::folderExists(base / "Todo"))
        return base / "Todo";
    std::error_code error;
    for (std::filesystem::directory_iterator it(base, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (platform::foldAsciiCase(name) == "todo" && it->is_directory(typeError))
            return it->path();
    }
    return base / "Todo";
}

std::filesystem::path ensureTodoFolder(std::string_view dataFolder) {
    const std::filesystem::path folder = findTodoFolder(dataFolder);
    if (!platform::folderExists(folder) && ::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        throw platform::IoError("\"" + folder.string() +
                                "\": cannot create the folder: " + std::strerror(errno));
    if (!platform::folderExists(folder))
        throw platform::IoError("\"" + folder.string() + "\": not a folder");
    return folder;
}

}  // namespace hinagiku::todo
