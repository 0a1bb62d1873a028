#pragma once

#include <memory>
#include <string>

#include "platform/settings.h"

namespace hinagiku::core {

// The settings file read once, answering reads by the file's own rules:
// the dialog loads its hundred and more controls from one reading instead
// of one per control. Writes are not its business and throw.
class SettingsSnapshot final : public platform::Settings {
  public:
    // A snapshot of `settings` when it is the settings file; nothing for
    // other stores, which are read directly.
    static std::unique_ptr<SettingsSnapshot> of(const platform::Settings& settings);

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
    void writeText(std::string_view section, std::string_view key, std::string_view value) override;
    std::vector<std::string> listKeys(std::string_view section) const override;
    void eraseSection(std::string_view section) override;
    std::vector<platform::SettingsEntry> listEntries(std::string_view section) const override;
    void edit(const std::function<void(platform::SettingsEdit&)>& change) override;

  private:
    std::string text_;  // the file's CP932 bytes
};

}  // namespace hinagiku::core
