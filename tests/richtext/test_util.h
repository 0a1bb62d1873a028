#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/cp932.h"

namespace hinagiku::richtext::testing {

// `utf8` in CP932 with the bytes beyond ASCII as RTF \'xx escapes, for legible fixtures.
inline std::string sjis(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    const std::string bytes = platform::toCp932(utf8);
    auto hex = [&](unsigned char b) {
        out += "\\'";
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 0xF]);
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (platform::isCp932LeadByte(b) && i + 1 < bytes.size()) {
            hex(b);
            hex(static_cast<unsigned char>(bytes[++i]));
        } else if (b >= 0x80) {
            hex(b);
        } else {
            out.push_back(bytes[i]);
        }
    }
    return out;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

inline std::string dataPath(std::string_view relative) {
    return std::string(RICHTEXT_TEST_DATA) + "/" + std::string(relative);
}

}  // namespace hinagiku::richtext::testing
