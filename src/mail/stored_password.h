#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::mail {

// Passwords in the settings file: each CP932 byte XOR kPasswordKey, written
// between double quotes so that the profile rules keep blanks and quotes at
// its ends. Scripts may write it themselves with this key.
inline constexpr unsigned char kPasswordKey = 0x1D;

std::string scrambleBytes(std::string_view bytes);

// The stored text for a password (UTF-8 in, the quoted scrambled text out).
std::string scramblePassword(std::string_view password);
// The password (UTF-8) of a stored text, with or without its quotes.
std::string unscramblePassword(std::string_view stored);

std::string readPassword(const platform::Settings& settings, std::string_view section,
                         std::string_view key);
void writePassword(platform::Settings& settings, std::string_view section, std::string_view key,
                   std::string_view password);

// What the password boxes accept: printable ASCII (0x20 to 0x7E) only.
bool isPrintableAscii(std::string_view text);

}  // namespace hinagiku::mail
