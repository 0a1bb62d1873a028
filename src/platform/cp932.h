#pragma once

#include <string>
#include <string_view>

namespace hinagiku::platform {

// Conversion between the program's UTF-8 text and the CP932 (Shift-JIS)
// bytes of files, sockets and the settings file. Neither direction fails:
// a character CP932 cannot hold becomes '?', a byte sequence that is not
// CP932 becomes U+FFFD, so nothing vanishes without a trace.
std::string toCp932(std::string_view utf8);
std::string fromCp932(std::string_view bytes);

// Whether `byte` starts a double-byte CP932 character.
constexpr bool isCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length of the longest prefix of `bytes` with at most `maxBytes` bytes that
// does not end in the middle of a double-byte character.
std::size_t cp932PrefixLength(std::string_view bytes, std::size_t maxBytes);

// Number of CP932 bytes `utf8` takes.
std::size_t cp932Length(std::string_view utf8);

// Whether every character of `utf8` has a CP932 form.
bool fitsCp932(std::string_view utf8);

// Whether every byte is 7-bit: such text reads the same in every code page.
constexpr bool isAscii(std::string_view bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

}  // namespace hinagiku::platform
