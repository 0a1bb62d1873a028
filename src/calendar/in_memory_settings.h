#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/settings.h"

namespace hinagiku {

// Settings held in memory: for computing with a table that is not the
// settings file's (the default holidays, a what-if switch). Names compare
// without regard to ASCII case; keys keep the order they were written in.
class InMemorySettings final : public platform::Settings {
  public:
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
    void writeText(std::string_view section, std::string_view key, std::string_view value) override;
    std::vector<std::string> listKeys(std::string_view section) const override;
    void eraseSection(std::string_view section) override;

  private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    Section* find(std::string_view section);
    const Section* find(std::string_view section) const;

    std::vector<Section> sections_;
};

}  // namespace hinagiku
