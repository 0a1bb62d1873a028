#pragma once

// The RTF reader's state and its steps, shared by the file that reads the
// group and control-word structure and the one that turns bytes into text.
// Internal to the reader.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "richtext/rich_text.h"
#include "richtext/rtf_keywords.h"

namespace hinagiku::richtext::rtf_reading {

using namespace rtf_keywords;

// Where the text of the current group goes.
enum class Dest : std::uint8_t {
    Text,               // the document
    Skip,               // nowhere: pictures, tables of styles, document info, fields' codes...
    UprSkip,            // the ANSI half of \upr; its \ud half is read
    FontTable,          // font names
    ColorTable,         // colour entries
    Numbering,          // a \pn group: bullet and numbering of the paragraph
    ListTable,          // Word's and LibreOffice's list definitions
    ListOverrideTable,  // their numbers as paragraphs use them (\ls)
};

enum Flag : std::uint8_t {
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
    kStrikeOut = 8,
    kHidden = 16,
};

constexpr int kDefaultHalfPoints = 24;  // RTF's default size, 12 pt
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxIndent = 31680;  // 22 inches in twips, RTF's page width limit
constexpr int kMaxUnicodeSkip = 64;
constexpr std::size_t kMaxFontName = 255;  // UTF-8 bytes; real names have 31 characters at most
// Groups nested deeper than this share the state of the deepest stored one:
// real documents nest a dozen levels, and memory stays bounded.
constexpr std::size_t kMaxStoredDepth = 4096;

struct CharState {
    int font = -1;
    int halfPoints = kDefaultHalfPoints;
    int color = 0;
    std::uint8_t flags = 0;
    // Associated properties (\af \afs \ab \ai) format double-byte text
    // (\dbch); LibreOffice gives the size and bold of Japanese text only so.
    bool doubleByte = false;
    int associatedFont = -1;
    int associatedHalfPoints = 0;
    std::int8_t associatedBold = -1;
    std::int8_t associatedItalic = -1;

    bool operator==(const CharState&) const = default;

    // The format the text in this state has; `useAssociatedFont` says whether
    // double-byte text takes the associated font.
    CharState resolved(bool useAssociatedFont) const {
        CharState r{font, halfPoints, color, flags};
        if (!doubleByte)
            return r;
        if (associatedFont >= 0 && useAssociatedFont)
            r.font = associatedFont;
        if (associatedHalfPoints > 0)
            r.halfPoints = associatedHalfPoints;
        if (associatedBold >= 0)
            r.flags = associatedBold ? (r.flags | 1) : (r.flags & ~1);
        if (associatedItalic >= 0)
            r.flags = associatedItalic ? (r.flags | 2) : (r.flags & ~2);
        return r;
    }
};

struct GroupState {
    CharState chars;
    ParagraphFormat para;
    int uc = 1;
    Dest dest = Dest::Text;
    bool ignorable = false;  // after \*: an unknown destination skips the group
    bool numbered = false;   // inside \pn: \pnlvlbody or \pnlvlN seen
    ListStyle numberStyle = ListStyle::Decimal;
};

struct Font {
    std::string name;
    int codePage = 0;  // 0: the document's code page
};

inline bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

inline int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader {
  public:
    explicit Reader(std::string_view input) : in_(input) {}

    RichText read();

  private:
    // ---- input ---------------------------------------------------------

    void step();
    bool isSkipping() const;
    void skipPlainText();
    void controlSequence();
    void controlSymbol(unsigned char c);
    void controlWord(std::string_view name, bool hasValue, int value);
    void textWord(const Keyword& kw, bool hasValue, int value);

    static int indent(int twips) { return std::clamp(twips, -kMaxIndent, kMaxIndent); }

    void setFlag(std::uint8_t flag, bool on);

    // ---- \pn -----------------------------------------------------------

    void numberingWord(Kw kind);
    void numberStyle(ListStyle style);

    // ---- \listtable and \listoverridetable -----------------------------

    void listTableWord(Kw kind, bool hasValue, int value);
    void listOverrideWord(Kw kind, bool hasValue, int value);
    ListStyle listStyleForOverride(int ls) const;

    // ---- groups --------------------------------------------------------

    GroupState& state() { return stack_.back(); }
    const GroupState& state() const { return stack_.back(); }

    void openGroup();
    void closeGroup();
    void binary(int length);

    // ---- fonts and colours ---------------------------------------------

    void beginFont(int number);
    void endFont();
    void flushFontBytes();
    void colorPart(int shift, int value);
    void endColor();
    CharState resolve(const CharState& chars);
    static bool isDoubleByteCodePage(int codePage);
    int codePageOf(int font);

    // ---- text ----------------------------------------------------------

    bool skipUnit(bool isByte, unsigned char b, bool literal = false);
    void endSkip();
    void byte(unsigned char b, bool literal = true);
    void character(char32_t c, bool countsAsFallback);
    void unicodeEscape(int value);
    void dropHighSurrogate();
    void startText();
    void flushBytes();
    void finishRun();
    CharFormat formatOf(const CharState& chars) const;
    void paragraphEnd();
    void finishDocument(const ParagraphFormat& para);

    std::string_view in_;
    std::size_t pos_ = 0;
    bool started_ = false;
    bool done_ = false;

    std::vector<GroupState> stack_;
    std::size_t unstoredDepth_ = 0;
    GroupState rootAtEnd_;

    int documentCodePage_ = 932;  // the code page of the Japanese Windows the files come from
    int defaultFont_ = -1;

    std::unordered_map<int, Font> fonts_;
    bool fontOpen_ = false;
    std::size_t fontDepth_ = 0;
    int fontNumber_ = 0;
    int fontCodePage_ = 0;
    std::string fontBytes_;
    std::string fontName_;
    int cachedFont_ = std::numeric_limits<int>::min();
    int cachedCodePage_ = 0;

    std::vector<std::optional<std::uint32_t>> colors_;
    std::uint32_t color_ = 0;
    bool colorHasParts_ = false;

    std::unordered_map<int, int> listFormats_;  // \listid -> \levelnfc of its first level
    std::unordered_map<int, int> overrides_;    // \ls -> \listid
    std::pair<int, int> listEntry_{-1, -1};
    std::pair<int, int> overrideEntry_{-1, -1};

    int skipCount_ = 0;
    enum class SkipTrail { None, Literal, Escaped };
    SkipTrail skipTrail_ = SkipTrail::None;
    char32_t highSurrogate_ = 0;
    bool cellPending_ = false;

    bool hasRun_ = false;
    bool leadPending_ = false;
    CharState runState_;
    int runCodePage_ = 932;
    std::string pendingBytes_;
    std::string runText_;
    Paragraph paragraph_;
    RichText result_;
};

}  // namespace hinagiku::richtext::rtf_reading
