#include "core/ui/settings/settings_snapshot.h"

#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"

namespace hinagiku::core {

std::unique_ptr<SettingsSnapshot> SettingsSnapshot::of(const platform::Settings& settings) {
    const auto* file = dynamic_cast<const platform::ProfileFile*>(&settings);
    if (file == nullptr)
        return nullptr;
    auto snapshot = std::make_unique<SettingsSnapshot>();
    platform::readWholeFile(file->path(), snapshot->text_);
    return snapshot;
}

std::string SettingsSnapshot::readText(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    const auto value =
        platform::profile_text::findValue(text_, platform::toCp932(section), platform::toCp932(key),
                                          platform::ProfileFile::kMaxValueBytes);
    return value ? platform::fromCp932(*value) : std::string(defaultValue);
}

void SettingsSnapshot::writeText(std::string_view, std::string_view, std::string_view) {
    throw std::logic_error("a settings snapshot is read-only");
}

std::vector<std::string> SettingsSnapshot::listKeys(std::string_view section) const {
    std::vector<std::string> names;
    for (const std::string& name : platform::profile_text::keyNames(
             text_, platform::toCp932(section), platform::ProfileFile::kKeyListBytes)) {
        names.push_back(platform::fromCp932(name));
    }
    return names;
}

void SettingsSnapshot::eraseSection(std::string_view) {
    throw std::logic_error("a settings snapshot is read-only");
}

}  // namespace hinagiku::core

namespace hinagiku::core {

std::vector<platform::SettingsEntry> SettingsSnapshot::listEntries(std::string_view section) const {
    std::vector<platform::SettingsEntry> list;
    for (const auto& [key, value] :
         platform::profile_text::entries(text_, platform::toCp932(section))) {
        list.push_back({platform::fromCp932(key), platform::fromCp932(value)});
    }
    return list;
}

void SettingsSnapshot::edit(const std::function<void(platform::SettingsEdit&)>&) {
    throw std::logic_error("a settings snapshot is read-only");
}

}  // namespace hinagiku::core
