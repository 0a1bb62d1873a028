#pragma once

#include <string>
#include <string_view>

#include "richtext/rich_text.h"

namespace hinagiku::richtext {

// The font for text whose format names none (plain text, editor defaults).
struct DefaultFont {
    std::string family = "ＭＳ Ｐゴシック";
    int halfPoints = 18;  // 9 pt
};

// RTF as a Japanese rich-edit control writes it: \ansicpg932, a font table
// with \fcharset128 for the fonts that carry Japanese text, a colour table,
// CP932 text as \'xx escapes and \uN for characters CP932 cannot hold (with a
// CP932 fallback), so no character is lost. Every paragraph ends with \par.
// Deterministic: the same document always gives the same bytes.
std::string writeRtf(const RichText& text, const DefaultFont& defaults = {});

// RTF for unformatted UTF-8 text (LF, CR LF or CR line ends) in `defaults`.
std::string plainTextToRtf(std::string_view utf8, const DefaultFont& defaults = {});

}  // namespace hinagiku::richtext
