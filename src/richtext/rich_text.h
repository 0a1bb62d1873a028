#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::richtext {

// A rich-text document as the editors know it, without Qt: paragraphs of
// runs of UTF-8 text sharing one character format. The RTF reader fills it,
// the RTF writer and the QTextDocument conversion consume it.

struct CharFormat {
    std::string family;  // font face, UTF-8; empty: the editor's default font
    int halfPoints = 0;  // font size in half points; 0: the editor's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::optional<std::uint32_t> color;  // 0xRRGGBB; none: the editor's default text colour

    bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

enum class ListStyle { None, Bullet, Decimal, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman };

struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int firstIndent = 0;  // twips, relative to the left indent (may be negative)
    int leftIndent = 0;   // twips
    int rightIndent = 0;  // twips
    ListStyle list = ListStyle::None;

    bool operator==(const ParagraphFormat&) const = default;
};

struct Run {
    CharFormat format;
    std::string text;  // UTF-8; U+2028 is a line break inside the paragraph, '\t' a tab

    bool operator==(const Run&) const = default;
};

struct Paragraph {
    ParagraphFormat format;
    std::vector<Run> runs;

    bool operator==(const Paragraph&) const = default;
};

struct RichText {
    std::vector<Paragraph> paragraphs;  // a document has at least one paragraph once read

    bool operator==(const RichText&) const = default;
};

// Line break inside a paragraph (RTF \line).
inline constexpr std::string_view kLineSeparator = "\u2028";

// The text as the user sees it: paragraphs joined by LF, line breaks as LF,
// no-break spaces as spaces, non-breaking hyphens as '-', soft hyphens dropped.
std::string plainText(const RichText& text);

// A document of unformatted paragraphs from UTF-8 text with LF, CR LF or CR
// line ends (or U+2029); control characters other than tabs are dropped.
RichText richTextFromPlainText(std::string_view utf8);

// Merges neighbouring runs with the same format and drops empty runs, so that
// equal documents compare equal.
void normalize(RichText& text);

}  // namespace hinagiku::richtext
