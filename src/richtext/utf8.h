#pragma once

#include <string>
#include <string_view>

namespace hinagiku::richtext {

// Appends the UTF-8 form of `c`; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t c);

// Decodes the code point at `pos` and moves `pos` past it; a byte that does
// not start a valid sequence gives U+FFFD and moves one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

// `text` with every invalid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

}  // namespace hinagiku::richtext
