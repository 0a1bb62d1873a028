#include "richtext/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/codepage.h"
#include "platform/cp932.h"
#include "richtext/rtf_keywords.h"
#include "richtext/utf8.h"

namespace hinagiku::richtext {
namespace {

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

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c) {
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

    RichText read() {
        while (pos_ < in_.size() && !done_)
            step();
        // Truncated input: what was read so far is the document.
        const GroupState last = stack_.empty() ? rootAtEnd_ : stack_.back();
        finishDocument(last.para);
        normalize(result_);
        return std::move(result_);
    }

  private:
    // ---- input ---------------------------------------------------------

    void step() {
        const auto c = static_cast<unsigned char>(in_[pos_]);
        switch (c) {
            case '{':
                ++pos_;
                openGroup();
                break;
            case '}':
                ++pos_;
                closeGroup();
                break;
            case '\\':
                ++pos_;
                controlSequence();
                break;
            case '\r':
            case '\n':
            case '\0':
                ++pos_;
                break;
            default:
                if (stack_.empty()) {
                    ++pos_;  // text before the first group
                } else if (isSkipping()) {
                    skipPlainText();
                } else {
                    ++pos_;
                    if (c == '\t') {
                        character(U'\t', true);
                    } else {
                        byte(c);
                    }
                }
        }
    }

    bool isSkipping() const {
        const Dest d = state().dest;
        return d == Dest::Skip || d == Dest::UprSkip || d == Dest::ListTable ||
               d == Dest::ListOverrideTable || d == Dest::Numbering;
    }

    // Picture data and the like: run to the next brace or backslash at once.
    void skipPlainText() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{' || c == '}' || c == '\\')
                break;
            ++pos_;
        }
    }

    void controlSequence() {
        if (pos_ >= in_.size())
            return;
        const auto c = static_cast<unsigned char>(in_[pos_]);
        if (isLetter(c)) {
            const std::size_t start = pos_;
            while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_])))
                ++pos_;
            const std::string_view name = in_.substr(start, pos_ - start);
            bool hasValue = false;
            int value = 0;
            bool negative = false;
            if (pos_ + 1 < in_.size() && in_[pos_] == '-' &&
                isDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
                negative = true;
                ++pos_;
            }
            // Saturates: a number of thirty digits is just large.
            std::int64_t number = 0;
            while (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
                hasValue = true;
                number =
                    std::min<std::int64_t>(number * 10 + (in_[pos_] - '0'), std::int64_t{1} << 32);
                ++pos_;
            }
            if (hasValue) {
                number = negative ? -number : number;
                value = static_cast<int>(std::clamp<std::int64_t>(
                    number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            }
            if (pos_ < in_.size() && in_[pos_] == ' ')
                ++pos_;
            controlWord(name, hasValue, value);
            return;
        }
        ++pos_;
        if (c == '\'') {
            int hi = pos_ < in_.size() ? hexValue(static_cast<unsigned char>(in_[pos_])) : -1;
            if (hi < 0)
                return;  // a truncated escape says nothing
            ++pos_;
            int lo = pos_ < in_.size() ? hexValue(static_cast<unsigned char>(in_[pos_])) : -1;
            if (lo < 0)
                return;
            ++pos_;
            if (!stack_.empty() && !isSkipping())
                byte(static_cast<unsigned char>(hi * 16 + lo), false);
            return;
        }
        controlSymbol(c);
    }

    void controlSymbol(unsigned char c) {
        if (stack_.empty())
            return;
        if (c == '*') {
            state().ignorable = true;
            return;
        }
        if (isSkipping())
            return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                byte(c, false);
                break;
            case '~':
                character(U'\u00A0', true);
                break;
            case '-':
                character(U'\u00AD', true);
                break;
            case '_':
                character(U'\u2011', true);
                break;
            case '\r':
            case '\n':
                endSkip();
                paragraphEnd();
                break;
            default:
                endSkip();
                break;  // \: \| and unknown symbols
        }
    }

    void controlWord(std::string_view name, bool hasValue, int value) {
        if (stack_.empty())
            return;
        GroupState& s = state();
        const bool ignorable = s.ignorable;
        s.ignorable = false;
        const auto& table = keywords();
        const auto found = table.find(name);
        if (found == table.end()) {
            if (ignorable)
                s.dest = Dest::Skip;
            else if (!isSkipping())
                endSkip();
            return;
        }
        const Keyword kw = found->second;
        if (kw.kind == Kw::Bin) {
            binary(hasValue ? value : 0);
            return;
        }
        switch (s.dest) {
            case Dest::Skip:
                return;
            case Dest::UprSkip:
                if (kw.kind == Kw::DestUd)
                    s.dest = Dest::Text;
                return;
            case Dest::ListTable:
                listTableWord(kw.kind, hasValue, value);
                return;
            case Dest::ListOverrideTable:
                listOverrideWord(kw.kind, hasValue, value);
                return;
            case Dest::Numbering:
                numberingWord(kw.kind);
                return;
            default:
                break;
        }
        textWord(kw, hasValue, value);
    }

    void textWord(const Keyword& kw, bool hasValue, int value) {
        GroupState& s = state();
        const bool on = !hasValue || value != 0;
        // Only bytes and characters are fallback text of \u; any other
        // control word ends it.
        if (kw.kind != Kw::Char && kw.kind != Kw::Tab)
            endSkip();
        switch (kw.kind) {
            case Kw::Bold:
                setFlag(kBold, on);
                break;
            case Kw::Italic:
                setFlag(kItalic, on);
                break;
            case Kw::Underline:
                setFlag(kUnderline, on);
                break;
            case Kw::UnderlineNone:
                setFlag(kUnderline, false);
                break;
            case Kw::StrikeOut:
                setFlag(kStrikeOut, on);
                break;
            case Kw::Hidden:
                setFlag(kHidden, on);
                break;
            case Kw::Color:
                s.chars.color = hasValue ? value : 0;
                break;
            case Kw::FontSize:
                s.chars.halfPoints =
                    hasValue && value > 0 ? std::min(value, kMaxHalfPoints) : kDefaultHalfPoints;
                break;
            case Kw::Font:
                if (!hasValue)
                    break;
                if (s.dest == Dest::FontTable) {
                    beginFont(value);
                } else {
                    s.chars.font = value;
                }
                break;
            case Kw::Plain:
                s.chars = CharState{defaultFont_, kDefaultHalfPoints, 0, 0};
                break;
            case Kw::SingleByteText:
                s.chars.doubleByte = false;
                break;
            case Kw::DoubleByteText:
                s.chars.doubleByte = true;
                break;
            case Kw::AssociatedFont:
                if (hasValue && s.dest != Dest::FontTable)
                    s.chars.associatedFont = value;
                break;
            case Kw::AssociatedFontSize:
                s.chars.associatedHalfPoints =
                    hasValue && value > 0 ? std::min(value, kMaxHalfPoints) : 0;
                break;
            case Kw::AssociatedBold:
                s.chars.associatedBold = on ? 1 : 0;
                break;
            case Kw::AssociatedItalic:
                s.chars.associatedItalic = on ? 1 : 0;
                break;
            case Kw::Pard:
                s.para = ParagraphFormat{};
                break;
            case Kw::FirstIndent:
                s.para.firstIndent = indent(value);
                break;
            case Kw::LeftIndent:
                s.para.leftIndent = indent(value);
                break;
            case Kw::RightIndent:
                s.para.rightIndent = indent(value);
                break;
            case Kw::AlignLeft:
                s.para.alignment = Alignment::Left;
                break;
            case Kw::AlignCenter:
                s.para.alignment = Alignment::Center;
                break;
            case Kw::AlignRight:
                s.para.alignment = Alignment::Right;
                break;
            case Kw::AlignJustify:
                s.para.alignment = Alignment::Justify;
                break;
            case Kw::ListOverride:
                s.para.list = listStyleForOverride(value);
                break;
            case Kw::Par:
                if (s.dest == Dest::Text)
                    paragraphEnd();
                break;
            case Kw::Row:
                if (s.dest == Dest::Text) {
                    cellPending_ = false;
                    paragraphEnd();
                }
                break;
            case Kw::Cell:
                if (s.dest == Dest::Text)
                    cellPending_ = true;
                break;
            case Kw::Line:
                character(U'\u2028', false);
                break;
            case Kw::Tab:
                character(U'\t', true);
                break;
            case Kw::Char:
                character(kw.character, true);
                break;
            case Kw::Unicode:
                unicodeEscape(value);
                break;
            case Kw::UnicodeSkip:
                s.uc = std::clamp(value, 0, kMaxUnicodeSkip);
                break;
            case Kw::Ansi:
                break;  // says nothing about the code page: \ansicpg does
            case Kw::AnsiCodePage:
                if (platform::isSupportedCodePage(value))
                    documentCodePage_ = value;
                break;
            case Kw::Mac:
                documentCodePage_ = 10000;
                break;
            case Kw::Pc:
                documentCodePage_ = 437;
                break;
            case Kw::Pca:
                documentCodePage_ = 850;
                break;
            case Kw::DefaultFont:
                if (hasValue) {
                    defaultFont_ = value;
                    if (s.chars.font < 0)
                        s.chars.font = value;
                }
                break;
            case Kw::FontCharset:
                if (s.dest == Dest::FontTable && fontOpen_) {
                    if (fontCodePage_ == 0)
                        fontCodePage_ = codePageForCharset(value);
                }
                break;
            case Kw::FontCodePage:
                if (s.dest == Dest::FontTable && fontOpen_ && platform::isSupportedCodePage(value))
                    fontCodePage_ = value;
                break;
            case Kw::Red:
                colorPart(16, value);
                break;
            case Kw::Green:
                colorPart(8, value);
                break;
            case Kw::Blue:
                colorPart(0, value);
                break;
            case Kw::DestFontTable:
                s.dest = Dest::FontTable;
                break;
            case Kw::DestColorTable:
                s.dest = Dest::ColorTable;
                break;
            case Kw::DestNumbering:
                s.dest = Dest::Numbering;
                s.numbered = false;
                s.numberStyle = ListStyle::Decimal;
                break;
            case Kw::DestListTable:
                s.dest = Dest::ListTable;
                break;
            case Kw::DestListOverrideTable:
                s.dest = Dest::ListOverrideTable;
                break;
            case Kw::DestSkip:
                s.dest = Dest::Skip;
                break;
            case Kw::DestUpr:
                s.dest = Dest::UprSkip;
                break;
            default:
                break;
        }
    }

    static int indent(int twips) { return std::clamp(twips, -kMaxIndent, kMaxIndent); }

    void setFlag(std::uint8_t flag, bool on) {
        auto& flags = state().chars.flags;
        flags = on ? (flags | flag) : (flags & ~flag);
    }

    // ---- \pn -----------------------------------------------------------

    void numberingWord(Kw kind) {
        GroupState& s = state();
        switch (kind) {
            case Kw::ListLevelBullet:
                s.numbered = false;
                s.para.list = ListStyle::Bullet;
                break;
            case Kw::ListLevelBody:
            case Kw::ListLevelNumber:
                s.numbered = true;
                s.para.list = s.numberStyle;
                break;
            case Kw::ListLevelContinue:
                s.para.list = ListStyle::None;
                break;
            case Kw::NumDecimal:
                numberStyle(ListStyle::Decimal);
                break;
            case Kw::NumUpperAlpha:
                numberStyle(ListStyle::UpperAlpha);
                break;
            case Kw::NumLowerAlpha:
                numberStyle(ListStyle::LowerAlpha);
                break;
            case Kw::NumUpperRoman:
                numberStyle(ListStyle::UpperRoman);
                break;
            case Kw::NumLowerRoman:
                numberStyle(ListStyle::LowerRoman);
                break;
            case Kw::DestSkip:
                s.dest = Dest::Skip;
                break;
            default:
                break;
        }
    }

    void numberStyle(ListStyle style) {
        GroupState& s = state();
        s.numberStyle = style;
        if (s.numbered)
            s.para.list = style;
    }

    // ---- \listtable and \listoverridetable -----------------------------

    void listTableWord(Kw kind, bool hasValue, int value) {
        switch (kind) {
            case Kw::List:
                listEntry_ = {-1, -1};
                break;
            case Kw::LevelNumberFormat:
                if (hasValue && listEntry_.second < 0)
                    listEntry_.second = value;
                break;
            case Kw::ListId:
                listEntry_.first = value;
                break;
            case Kw::DestSkip:
                state().dest = Dest::Skip;
                return;
            default:
                return;
        }
        if (listEntry_.first >= 0 && listEntry_.second >= 0 && listFormats_.size() < 4096) {
            listFormats_[listEntry_.first] = listEntry_.second;
        }
    }

    void listOverrideWord(Kw kind, bool hasValue, int value) {
        switch (kind) {
            case Kw::ListOverrideEntry:
                overrideEntry_ = {-1, -1};
                break;
            case Kw::ListId:
                overrideEntry_.first = value;
                break;
            case Kw::ListOverride:
                if (hasValue)
                    overrideEntry_.second = value;
                break;
            case Kw::DestSkip:
                state().dest = Dest::Skip;
                return;
            default:
                return;
        }
        if (overrideEntry_.first >= 0 && overrideEntry_.second >= 0 && overrides_.size() < 4096) {
            overrides_[overrideEntry_.second] = overrideEntry_.first;
        }
    }

    ListStyle listStyleForOverride(int ls) const {
        if (ls <= 0)
            return ListStyle::None;
        const auto o = overrides_.find(ls);
        if (o == overrides_.end())
            return ListStyle::Bullet;
        const auto f = listFormats_.find(o->second);
        return f == listFormats_.end() ? ListStyle::Bullet : listStyleForNumberFormat(f->second);
    }

    // ---- groups --------------------------------------------------------

    GroupState& state() { return stack_.back(); }
    const GroupState& state() const { return stack_.back(); }

    void openGroup() {
        endSkip();
        if (stack_.empty()) {
            if (started_) {
                done_ = true;  // a second document after the first one ended
                return;
            }
            started_ = true;
            stack_.emplace_back();
            return;
        }
        if (stack_.size() >= kMaxStoredDepth) {
            ++unstoredDepth_;
            state().ignorable = false;
            return;
        }
        GroupState copy = state();
        copy.ignorable = false;
        stack_.push_back(copy);
    }

    void closeGroup() {
        endSkip();
        if (stack_.empty()) {
            done_ = true;
            return;
        }
        if (unstoredDepth_ > 0) {
            --unstoredDepth_;
            return;
        }
        const GroupState closed = stack_.back();
        // A font entry ends with its ';' or with the group it began in.
        if (closed.dest == Dest::FontTable && stack_.size() <= fontDepth_)
            endFont();
        if (closed.dest == Dest::ColorTable && colorHasParts_)
            endColor();
        stack_.pop_back();
        if (stack_.empty()) {
            rootAtEnd_ = closed;
            done_ = true;
            return;
        }
        // A \pn group sets the numbering of the paragraph around it.
        if (closed.dest == Dest::Numbering && state().dest != Dest::Numbering) {
            state().para.list = closed.para.list;
        }
    }

    void binary(int length) {
        endSkip();
        const std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
        pos_ += std::min(n, in_.size() - pos_);
    }

    // ---- fonts and colours ---------------------------------------------

    void beginFont(int number) {
        endFont();
        fontOpen_ = true;
        fontDepth_ = stack_.size();
        fontNumber_ = number;
        fontCodePage_ = 0;
        fontBytes_.clear();
        fontName_.clear();
    }

    void endFont() {
        if (!fontOpen_)
            return;
        fontOpen_ = false;
        flushFontBytes();
        std::string name = std::move(fontName_);
        std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (name.size() > kMaxFontName) {
            std::size_t cut = kMaxFontName;
            while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
                --cut;
            name.resize(cut);
        }
        const auto first = name.find_first_not_of(' ');
        const auto last = name.find_last_not_of(' ');
        name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
        if (fonts_.size() < 65536 || fonts_.count(fontNumber_)) {
            fonts_[fontNumber_] = Font{std::move(name), fontCodePage_};
        }
        cachedFont_ = std::numeric_limits<int>::min();
    }

    void flushFontBytes() {
        if (fontBytes_.empty())
            return;
        fontName_ +=
            platform::fromCodePage(fontBytes_, fontCodePage_ ? fontCodePage_ : documentCodePage_);
        fontBytes_.clear();
    }

    void colorPart(int shift, int value) {
        if (state().dest != Dest::ColorTable)
            return;
        const auto part = static_cast<std::uint32_t>(std::clamp(value, 0, 255));
        color_ = (color_ & ~(0xFFu << shift)) | (part << shift);
        colorHasParts_ = true;
    }

    void endColor() {
        if (colors_.size() < 65536) {
            colors_.push_back(colorHasParts_ ? std::optional<std::uint32_t>(color_) : std::nullopt);
        }
        color_ = 0;
        colorHasParts_ = false;
    }

    // Double-byte text takes the associated font (LibreOffice and Word name the
    // Japanese font so), unless only the regular one can hold such text.
    CharState resolve(const CharState& chars) {
        bool useAssociated = chars.doubleByte && chars.associatedFont >= 0;
        if (useAssociated && !isDoubleByteCodePage(codePageOf(chars.associatedFont)) &&
            isDoubleByteCodePage(codePageOf(chars.font))) {
            useAssociated = false;
        }
        return chars.resolved(useAssociated);
    }

    static bool isDoubleByteCodePage(int codePage) {
        return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
               codePage == 1361;
    }

    int codePageOf(int font) {
        if (font != cachedFont_) {
            cachedFont_ = font;
            const auto f = fonts_.find(font);
            cachedCodePage_ = f != fonts_.end() && f->second.codePage ? f->second.codePage : 0;
        }
        return cachedCodePage_ ? cachedCodePage_ : documentCodePage_;
    }

    // ---- text ----------------------------------------------------------

    // After \uN the next uc bytes or characters are the fallback for readers
    // without Unicode. A double-byte character counts as one even when the
    // count says otherwise, so no half character is left behind; its trail
    // byte is written the way its lead byte was (both literal or both
    // escapes), so a lead byte given as an escape (\'93) never takes a
    // literal character after it along.
    bool skipUnit(bool isByte, unsigned char b, bool literal = false) {
        const SkipTrail pending = skipTrail_;
        skipTrail_ = SkipTrail::None;
        if (isByte && pending != SkipTrail::None && (pending == SkipTrail::Literal) == literal) {
            if (skipCount_ > 0)
                --skipCount_;
            return true;
        }
        if (skipCount_ <= 0)
            return false;
        --skipCount_;
        if (isByte && platform::isCodePageLeadByte(codePageOf(resolve(state().chars).font), b))
            skipTrail_ = literal ? SkipTrail::Literal : SkipTrail::Escaped;
        return true;
    }

    void endSkip() {
        skipCount_ = 0;
        skipTrail_ = SkipTrail::None;
    }

    // `literal`: the byte stood in the stream as it is (not as an escape).
    void byte(unsigned char b, bool literal = true) {
        if (skipUnit(true, b, literal))
            return;
        switch (state().dest) {
            case Dest::Text: {
                // Control characters are no text; trail bytes are never below 0x20.
                if ((state().chars.flags & kHidden) || b < 0x20)
                    return;
                dropHighSurrogate();
                // The trail byte of a double-byte character stays with its
                // lead byte, whatever happened to the format between them.
                if (leadPending_) {
                    leadPending_ = false;
                } else {
                    startText();
                    leadPending_ = platform::isCodePageLeadByte(runCodePage_, b);
                }
                pendingBytes_.push_back(static_cast<char>(b));
                break;
            }
            case Dest::FontTable:
                if (b == ';') {
                    endFont();
                } else if (fontOpen_ && fontBytes_.size() + fontName_.size() < kMaxFontName * 4) {
                    fontBytes_.push_back(static_cast<char>(b));
                }
                break;
            case Dest::ColorTable:
                if (b == ';')
                    endColor();
                break;
            default:
                break;
        }
    }

    // A character that the RTF gives by name or as \u.
    void character(char32_t c, bool countsAsFallback) {
        if (stack_.empty())
            return;  // a half surrogate pair at the very end
        if (countsAsFallback && skipUnit(false, 0))
            return;
        if (c < 0x20 && c != U'\t')
            return;
        switch (state().dest) {
            case Dest::Text:
                if (c == U'\u2029') {
                    paragraphEnd();
                    return;
                }
                if (state().chars.flags & kHidden)
                    return;
                dropHighSurrogate();
                startText();
                flushBytes();
                appendUtf8(runText_, c);
                break;
            case Dest::FontTable:
                if (fontOpen_ && fontName_.size() + fontBytes_.size() < kMaxFontName * 4) {
                    flushFontBytes();
                    appendUtf8(fontName_, c);
                }
                break;
            default:
                break;
        }
    }

    void unicodeEscape(int value) {
        const int uc = state().uc;
        if (value < 0)
            value += 65536;
        if (value >= 0 && value <= 0xFFFF) {
            const auto unit = static_cast<char32_t>(value);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                dropHighSurrogate();
                highSurrogate_ = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                if (highSurrogate_) {
                    const char32_t c =
                        0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                    highSurrogate_ = 0;
                    character(c, false);
                } else {
                    character(U'\uFFFD', false);
                }
            } else {
                character(unit, false);
            }
        }
        skipCount_ = uc;
        skipTrail_ = SkipTrail::None;
    }

    void dropHighSurrogate() {
        if (!highSurrogate_)
            return;
        highSurrogate_ = 0;
        character(U'\uFFFD', false);
    }

    // Text arrives in the current character format: a change of format ends
    // the current run.
    void startText() {
        if (cellPending_) {
            cellPending_ = false;
            character(U'\t', false);
        }
        const CharState chars = resolve(state().chars);
        if (hasRun_ && chars == runState_)
            return;
        finishRun();
        hasRun_ = true;
        runState_ = chars;
        runCodePage_ = codePageOf(chars.font);
    }

    void flushBytes() {
        leadPending_ = false;
        if (pendingBytes_.empty())
            return;
        runText_ += platform::fromCodePage(pendingBytes_, runCodePage_);
        pendingBytes_.clear();
    }

    void finishRun() {
        if (!hasRun_)
            return;
        flushBytes();
        hasRun_ = false;
        if (runText_.empty())
            return;
        paragraph_.runs.push_back(Run{formatOf(runState_), std::move(runText_)});
        runText_.clear();
    }

    CharFormat formatOf(const CharState& chars) const {
        CharFormat format;
        if (const auto f = fonts_.find(chars.font); f != fonts_.end())
            format.family = f->second.name;
        format.halfPoints = chars.halfPoints;
        format.bold = chars.flags & kBold;
        format.italic = chars.flags & kItalic;
        format.underline = chars.flags & kUnderline;
        format.strikeOut = chars.flags & kStrikeOut;
        // Colour 0 is the default text colour, whatever the table says there:
        // rich-edit controls write their default colour as an explicit
        // black first entry.
        if (chars.color > 0 && static_cast<std::size_t>(chars.color) < colors_.size()) {
            format.color = colors_[static_cast<std::size_t>(chars.color)];
        }
        return format;
    }

    void paragraphEnd() {
        dropHighSurrogate();
        cellPending_ = false;
        finishRun();
        paragraph_.format = state().para;
        result_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = Paragraph{};
    }

    // The text after the last \par is a paragraph of its own only when there
    // is some: "text\par}" is one paragraph, as in every rich-text program.
    void finishDocument(const ParagraphFormat& para) {
        dropHighSurrogate();
        finishRun();
        if (!paragraph_.runs.empty() || result_.paragraphs.empty()) {
            paragraph_.format = para;
            result_.paragraphs.push_back(std::move(paragraph_));
        }
    }

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

std::string_view withoutLeadingSpace(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) {
        ++i;
    }
    return bytes.substr(i);
}

}  // namespace

bool isRtf(std::string_view bytes) {
    return withoutLeadingSpace(bytes).substr(0, 5) == "{\\rtf";
}

RichText readRtf(std::string_view bytes) {
    return Reader(withoutLeadingSpace(bytes)).read();
}

RichText readPlainText(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.substr(0, 3) == kUtf8Bom) {
        return richTextFromPlainText(validUtf8(bytes.substr(3)));
    }
    return richTextFromPlainText(platform::fromCp932(bytes));
}

RichText readRichText(std::string_view bytes) {
    return isRtf(bytes) ? readRtf(bytes) : readPlainText(bytes);
}

}  // namespace hinagiku::richtext
