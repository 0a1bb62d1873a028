#pragma once

#include <string>
#include <string_view>

namespace hinagiku::mail {

// Mail body text in 7-bit ISO-2022-JP (RFC 1468), as Japanese mail readers
// expect it.
//
// Each line of `utf8Line` (no line ends inside) is encoded and appended to
// `out` followed by CR LF: ASCII as it is, JIS X 0208 characters after
// ESC $ B, back to ASCII (ESC ( B) before every line end. Half-width
// katakana become full-width with a following voiced or semi-voiced mark
// joined (ｶﾞ → ガ); the NEC special characters of row 13 (①, ㈱) keep their
// row-13 codes; anything else without a JIS code becomes "〓". A line that
// would pass `maxLineBytes` continues on the next line; a line beginning
// with "." gets a second "." (SMTP transparency), counted in the limit.
void appendIso2022JpLines(std::string_view utf8Line, std::string& out,
                          std::size_t maxLineBytes = 998);

// One text (lines split at CR LF, LF or a lone CR) encoded line by line.
void appendIso2022JpText(std::string_view utf8Text, std::string& out,
                         std::size_t maxLineBytes = 998);

// The JIS X 0208 code of one Unicode character (row and cell bytes, each
// 0x21..0x7E, as one number), or 0 when it has none.
unsigned jisCode(char32_t c);

// RFC 2047 encoded word of `utf8` in ISO-2022-JP, base64:
// "=?ISO-2022-JP?B?...?=".
std::string encodedWord(std::string_view utf8);

}  // namespace hinagiku::mail
