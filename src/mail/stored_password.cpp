#include "mail/stored_password.h"

#include "platform/cp932.h"
#include "platform/profile_text.h"

namespace hinagiku::mail {

std::string scrambleBytes(std::string_view bytes) {
    std::string out(bytes);
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kPasswordKey);
    return out;
}

std::string scramblePassword(std::string_view password) {
    return '"' + scrambleBytes(platform::toCp932(password)) + '"';
}

std::string unscramblePassword(std::string_view stored) {
    std::string bytes = platform::toCp932(stored);
    if (bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"')
        bytes = bytes.substr(1, bytes.size() - 2);
    return platform::fromCp932(scrambleBytes(bytes));
}

std::string readPassword(const platform::Settings& settings, std::string_view section,
                         std::string_view key) {
    // The value as stored, so that quotes that belong to the scrambled text
    // are not taken for the profile's own pair.
    for (const platform::SettingsEntry& entry : settings.listEntries(section)) {
        if (!platform::profile_text::sameName(entry.key, key))
            continue;
        std::string_view value = entry.value;
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
            value.remove_suffix(1);
        return unscramblePassword(value);
    }
    return {};
}

void writePassword(platform::Settings& settings, std::string_view section, std::string_view key,
                   std::string_view password) {
    settings.writeText(section, key, password.empty() ? std::string() : scramblePassword(password));
}

bool isPrintableAscii(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

}  // namespace hinagiku::mail
