#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::schedule {

// The popup editor's twenty text templates: slot i is the rich-text file
// data folder/"Teikei"/i".rtf", its title [Popup_Teikei] i.
class PopupTemplates {
  public:
    static constexpr int kCount = 20;

    PopupTemplates(platform::Settings& settings, std::string dataFolder);

    // [Popup_Teikei] i, or "定型文" + (i + 1) when none is stored.
    std::string title(int index) const;
    static std::string defaultTitle(int index);
    void setTitle(int index, std::string_view title);

    std::string folder() const;
    std::string path(int index) const;
    // Creates the template folder when it is missing; false (after the
    // missing-folder message) when it still cannot be had.
    bool ensureFolder() const;

    // The slot's file, or nothing when the slot is empty.
    std::optional<std::string> load(int index) const;
    // Writes the slot's file whole. Throws platform::IoError.
    void save(int index, std::string_view richText);
    // Deletes the slot's file and resets its title; true when a file was there.
    bool remove(int index);

  private:
    platform::Settings& settings_;
    std::string dataFolder_;
};

}  // namespace hinagiku::schedule
