#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// One key line of a section exactly as stored: the value is not trimmed,
// unquoted or cut.
struct SettingsEntry {
    std::string key;
    std::string value;

    bool operator==(const SettingsEntry&) const = default;
};

// The settings as they are during one edit (Settings::edit). Reads see the
// changes made so far in the same edit; all changes reach the store
// together.
class SettingsEdit {
  public:
    virtual ~SettingsEdit() = default;

    virtual std::string readText(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const = 0;
    // Every key line of the section in file order (duplicates too), with no
    // limit on the count.
    virtual std::vector<SettingsEntry> entries(std::string_view section) const = 0;
    // The names of every section, in file order.
    virtual std::vector<std::string> sectionNames() const = 0;
    virtual void writeText(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
    // Removes the key (its first line, as writes change the first).
    virtual void eraseKey(std::string_view section, std::string_view key) = 0;
    virtual void eraseSection(std::string_view section) = 0;
    // Replaces every key line of the section by `entries`, in that order, at
    // the place of its first key; other lines of the section stay. A missing
    // section is added at the end.
    virtual void replaceSection(std::string_view section,
                                const std::vector<SettingsEntry>& entries) = 0;
};

// The settings store as every window and every piece of logic sees it:
// sections of keys with text values. The desktop program uses ProfileFile
// (the INI file on disk); tests use MemorySettings. Names compare without
// regard to case. Texts are UTF-8.
class Settings {
  public:
    virtual ~Settings() = default;

    virtual std::string readText(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const = 0;
    virtual void writeText(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
    // Key names of a section in file order.
    virtual std::vector<std::string> listKeys(std::string_view section) const = 0;
    virtual void eraseSection(std::string_view section) = 0;

    // Every key line of the section as stored, in file order, with no limit
    // on the count (listKeys stops where the Windows key list would).
    virtual std::vector<SettingsEntry> listEntries(std::string_view section) const = 0;
    // One read-modify-write of the store, serialised with other writers of
    // the same file, and one replacement of it: `change` sees the settings
    // as they are now, and a crash leaves either all of its changes or none.
    // When `change` throws, nothing is written.
    virtual void edit(const std::function<void(SettingsEdit&)>& change) = 0;

    // Integer: decimal, or hexadecimal after "0x"/"0X" or "$"; absent, empty
    // or unparsable gives the default.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    void writeInt(std::string_view section, std::string_view key, int value);
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    void writeBool(std::string_view section, std::string_view key, bool value);
};

// The integer rule of the settings file, for values read elsewhere too.
int parseProfileInt(std::string_view text, int defaultValue);

}  // namespace hinagiku::platform
