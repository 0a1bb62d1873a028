#include "platform/settings.h"

#include <cstdint>
#include <limits>

namespace hinagiku::platform {

int parseProfileInt(std::string_view text, int defaultValue) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return defaultValue;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return defaultValue;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return defaultValue;
    }
    if (base == 16) {
        // Hexadecimal covers the whole 32-bit pattern: 0x80000005 is a system
        // colour, stored and read back as a negative number.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = ~bits + 1u;
        return static_cast<int>(static_cast<std::int32_t>(bits));
    }
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    if (signedValue < std::numeric_limits<int>::min() ||
        signedValue > std::numeric_limits<int>::max()) {
        return defaultValue;
    }
    return static_cast<int>(signedValue);
}

int Settings::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    // A marker default tells an absent key from one that holds text.
    static constexpr std::string_view kAbsent = "\x01";
    const std::string text = readText(section, key, kAbsent);
    if (text == kAbsent)
        return defaultValue;
    return parseProfileInt(text, defaultValue);
}

void Settings::writeInt(std::string_view section, std::string_view key, int value) {
    writeText(section, key, std::to_string(value));
}

bool Settings::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void Settings::writeBool(std::string_view section, std::string_view key, bool value) {
    writeText(section, key, value ? "1" : "0");
}

}  // namespace hinagiku::platform
