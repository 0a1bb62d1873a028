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
#include "richtext/rtf_reading.h"
#include "richtext/utf8.h"

namespace hinagiku::richtext {
namespace rtf_reading {

RichText Reader::read() {
    while (pos_ < in_.size() && !done_)
        step();
    // Truncated input: what was read so far is the document.
    const GroupState last = stack_.empty() ? rootAtEnd_ : stack_.back();
    finishDocument(last.para);
    normalize(result_);
    return std::move(result_);
}

void Reader::step() {
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

bool Reader::isSkipping() const {
    const Dest d = state().dest;
    return d == Dest::Skip || d == Dest::UprSkip || d == Dest::ListTable ||
           d == Dest::ListOverrideTable || d == Dest::Numbering;
}

// Picture data and the like: run to the next brace or backslash at once.
void Reader::skipPlainText() {
    while (pos_ < in_.size()) {
        const char c = in_[pos_];
        if (c == '{' || c == '}' || c == '\\')
            break;
        ++pos_;
    }
}

void Reader::controlSequence() {
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
            number = std::min<std::int64_t>(number * 10 + (in_[pos_] - '0'), std::int64_t{1} << 32);
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

void Reader::controlSymbol(unsigned char c) {
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

void Reader::controlWord(std::string_view name, bool hasValue, int value) {
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

void Reader::textWord(const Keyword& kw, bool hasValue, int value) {
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

void Reader::setFlag(std::uint8_t flag, bool on) {
    auto& flags = state().chars.flags;
    flags = on ? (flags | flag) : (flags & ~flag);
}

void Reader::numberingWord(Kw kind) {
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

void Reader::numberStyle(ListStyle style) {
    GroupState& s = state();
    s.numberStyle = style;
    if (s.numbered)
        s.para.list = style;
}

void Reader::listTableWord(Kw kind, bool hasValue, int value) {
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

void Reader::listOverrideWord(Kw kind, bool hasValue, int value) {
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

ListStyle Reader::listStyleForOverride(int ls) const {
    if (ls <= 0)
        return ListStyle::None;
    const auto o = overrides_.find(ls);
    if (o == overrides_.end())
        return ListStyle::Bullet;
    const auto f = listFormats_.find(o->second);
    return f == listFormats_.end() ? ListStyle::Bullet : listStyleForNumberFormat(f->second);
}

void Reader::openGroup() {
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

void Reader::closeGroup() {
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

void Reader::binary(int length) {
    endSkip();
    const std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    pos_ += std::min(n, in_.size() - pos_);
}

void Reader::beginFont(int number) {
    endFont();
    fontOpen_ = true;
    fontDepth_ = stack_.size();
    fontNumber_ = number;
    fontCodePage_ = 0;
    fontBytes_.clear();
    fontName_.clear();
}

void Reader::endFont() {
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

void Reader::flushFontBytes() {
    if (fontBytes_.empty())
        return;
    fontName_ +=
        platform::fromCodePage(fontBytes_, fontCodePage_ ? fontCodePage_ : documentCodePage_);
    fontBytes_.clear();
}

void Reader::colorPart(int shift, int value) {
    if (state().dest != Dest::ColorTable)
        return;
    const auto part = static_cast<std::uint32_t>(std::clamp(value, 0, 255));
    color_ = (color_ & ~(0xFFu << shift)) | (part << shift);
    colorHasParts_ = true;
}

void Reader::endColor() {
    if (colors_.size() < 65536) {
        colors_.push_back(colorHasParts_ ? std::optional<std::uint32_t>(color_) : std::nullopt);
    }
    color_ = 0;
    colorHasParts_ = false;
}

}  // namespace rtf_reading

namespace {

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
    return rtf_reading::Reader(withoutLeadingSpace(bytes)).read();
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
