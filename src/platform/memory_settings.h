#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::platform {

// Settings held in memory: the test double of the settings file, and a
// store for runs that must not touch the file (hinagikuctl holidays --defaults).
// Names compare without regard to ASCII case; key order is insertion order.
class MemorySettings final : public Settings {
  public:
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
    void writeText(std::string_view section, std::string_view key, std::string_view value) override;
    std::vector<std::string> listKeys(std::string_view section) const override;
    void eraseSection(std::string_view section) override;
    std::vector<SettingsEntry> listEntries(std::string_view section) const override;
    void edit(const std::function<void(SettingsEdit&)>& change) override;

    int writeCount() const { return writes_; }

  private:
    class Edit;
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    const Section* find(std::string_view section) const;
    void store(std::string_view section, std::string_view key, std::string_view value);
    std::vector<Section> sections_;
    int writes_ = 0;
};

}  // namespace hinagiku::platform
