#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hinagiku::phonebook {

// Cells as the command-line tool prints them: UTF-8, with \\, \t, \n, \r and
// \xHH (upper-case hex) for other bytes below 0x20, 7F, and each byte of a
// sequence that does not decode or would not encode back to the same bytes,
// so that every cell prints and reads back byte for byte.
std::string escapeCell(std::string_view cp932);

// The inverse; nothing (with the reason) on a bad escape or a character
// CP932 lacks.
std::optional<std::string> unescapeCell(std::string_view text, std::string* problem = nullptr);

// A cell as the window shows it (UTF-8; undecodable bytes as U+FFFD).
std::string displayCell(std::string_view cp932);

// Text typed or pasted into a cell: line breaks and TABs become spaces
// (Windows would read a raw line break as two rows); nothing when a
// character has no CP932 form.
std::optional<std::string> encodeTypedCell(std::string_view utf8);

}  // namespace hinagiku::phonebook
