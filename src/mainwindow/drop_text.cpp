#include "mainwindow/drop_text.h"

namespace hinagiku::mainwindow {
namespace {

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string droppedNamesText(const std::vector<std::string>& paths, bool namesOnly,
                             bool separateWithSpace) {
    auto item = [&](const std::string& path) { return namesOnly ? fileName(path) : path; };
    if (paths.size() == 1)
        return item(paths.front());
    std::string text;
    for (const auto& path : paths) {
        if (separateWithSpace) {
            if (!text.empty())
                text += ' ';
            text += item(path);
        } else {
            text += item(path);
            text += "\r\n";
        }
    }
    return text;
}

}  // namespace hinagiku::mainwindow
