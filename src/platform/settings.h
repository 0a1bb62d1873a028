#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

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
