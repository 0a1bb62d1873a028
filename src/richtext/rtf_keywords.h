#pragma once

// The RTF vocabulary the reader knows: its control words with what each
// does, the list styles of Word's number formats, and the code pages of the
// font character sets.
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "richtext/rich_text.h"

namespace hinagiku::richtext::rtf_keywords {

enum class Kw : std::uint8_t {
    // character formatting
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    Hidden,
    Color,
    FontSize,
    Font,
    Plain,
    SingleByteText,
    DoubleByteText,
    AssociatedFont,
    AssociatedFontSize,
    AssociatedBold,
    AssociatedItalic,
    // paragraph formatting
    Pard,
    FirstIndent,
    LeftIndent,
    RightIndent,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    ListOverride,
    ListLevelBullet,
    ListLevelBody,
    ListLevelNumber,
    ListLevelContinue,
    NumDecimal,
    NumUpperAlpha,
    NumLowerAlpha,
    NumUpperRoman,
    NumLowerRoman,
    // text
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Unicode,
    UnicodeSkip,
    Char,
    // document
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    // tables
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    List,
    ListId,
    LevelNumberFormat,
    ListOverrideEntry,
    // destinations
    DestFontTable,
    DestColorTable,
    DestNumbering,
    DestListTable,
    DestListOverrideTable,
    DestSkip,
    DestUpr,
    DestUd,
    DestText,
    Bin,
};

struct Keyword {
    Kw kind;
    char32_t character = 0;  // for Kw::Char
};

// Every control word the reader acts on, by name.
const std::unordered_map<std::string_view, Keyword>& keywords();

// The list style of a \levelnfc or \pnlvl number format.
ListStyle listStyleForNumberFormat(int nfc);

// The Windows code page of a \fcharset; 0 for the document's own.
int codePageForCharset(int charset);

}  // namespace hinagiku::richtext::rtf_keywords
