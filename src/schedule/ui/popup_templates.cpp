#include "schedule/ui/popup_templates.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "core/data_folders.h"
#include "platform/atomic_file.h"
#include "schedule/entry_files.h"

namespace hinagiku::schedule {
namespace {
constexpr std::string_view kSection = "Popup_Teikei";
constexpr std::string_view kFolder = "Teikei";
}  // namespace

PopupTemplates::PopupTemplates(platform::Settings& settings, std::string dataFolder)
    : settings_(settings), dataFolder_(std::move(dataFolder)) {}

std::string PopupTemplates::defaultTitle(int index) {
    return "定型文" + std::to_string(index + 1);
}

std::string PopupTemplates::title(int index) const {
    return settings_.readText(kSection, std::to_string(index), defaultTitle(index));
}

void PopupTemplates::setTitle(int index, std::string_view title) {
    settings_.writeText(kSection, std::to_string(index), title);
}

std::string PopupTemplates::folder() const {
    return core::joinPath(dataFolder_, kFolder);
}

std::string PopupTemplates::path(int index) const {
    return core::joinPath(folder(), std::to_string(index) + ".rtf");
}

bool PopupTemplates::ensureFolder() const {
    return core::EnsureSubfolder(dataFolder_, kFolder);
}

std::optional<std::string> PopupTemplates::load(int index) const {
    if (auto content = LoadEntry(path(index)))
        return std::move(content->bytes);
    return std::nullopt;
}

void PopupTemplates::save(int index, std::string_view richText) {
    platform::writeFileAtomically(path(index), richText);
}

bool PopupTemplates::remove(int index) {
    const std::string file = path(index);
    bool existed = true;
    if (::unlink(file.c_str()) != 0) {
        if (errno != ENOENT) {
            throw platform::IoError("\"" + file +
                                    "\": cannot delete the template: " + std::strerror(errno));
        }
        existed = false;
    }
    setTitle(index, defaultTitle(index));
    return existed;
}

}  // namespace hinagiku::schedule
