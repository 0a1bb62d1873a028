// The reader's text: bytes of the current font's code page, \u escapes and
// their fallbacks, runs of equal format and paragraphs.
#include "platform/codepage.h"
#include "platform/cp932.h"
#include "richtext/rtf_reading.h"
#include "richtext/utf8.h"

namespace hinagiku::richtext::rtf_reading {

// Double-byte text takes the associated font (LibreOffice and Word name the
// Japanese font so), unless only the regular one can hold such text.
CharState Reader::resolve(const CharState& chars) {
    bool useAssociated = chars.doubleByte && chars.associatedFont >= 0;
    if (useAssociated && !isDoubleByteCodePage(codePageOf(chars.associatedFont)) &&
        isDoubleByteCodePage(codePageOf(chars.font))) {
        useAssociated = false;
    }
    return chars.resolved(useAssociated);
}

bool Reader::isDoubleByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

int Reader::codePageOf(int font) {
    if (font != cachedFont_) {
        cachedFont_ = font;
        const auto f = fonts_.find(font);
        cachedCodePage_ = f != fonts_.end() && f->second.codePage ? f->second.codePage : 0;
    }
    return cachedCodePage_ ? cachedCodePage_ : documentCodePage_;
}

// After \uN the next uc bytes or characters are the fallback for readers
// without Unicode. A double-byte character counts as one even when the
// count says otherwise, so no half character is left behind; its trail
// byte is written the way its lead byte was (both literal or both
// escapes), so a lead byte given as an escape (\'93) never takes a
// literal character after it along.
bool Reader::skipUnit(bool isByte, unsigned char b, bool literal) {
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

void Reader::endSkip() {
    skipCount_ = 0;
    skipTrail_ = SkipTrail::None;
}

// `literal`: the byte stood in the stream as it is (not as an escape).
void Reader::byte(unsigned char b, bool literal) {
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
void Reader::character(char32_t c, bool countsAsFallback) {
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

void Reader::unicodeEscape(int value) {
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
                const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
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

void Reader::dropHighSurrogate() {
    if (!highSurrogate_)
        return;
    highSurrogate_ = 0;
    character(U'\uFFFD', false);
}

// Text arrives in the current character format: a change of format ends
// the current run.
void Reader::startText() {
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

void Reader::flushBytes() {
    leadPending_ = false;
    if (pendingBytes_.empty())
        return;
    runText_ += platform::fromCodePage(pendingBytes_, runCodePage_);
    pendingBytes_.clear();
}

void Reader::finishRun() {
    if (!hasRun_)
        return;
    flushBytes();
    hasRun_ = false;
    if (runText_.empty())
        return;
    paragraph_.runs.push_back(Run{formatOf(runState_), std::move(runText_)});
    runText_.clear();
}

CharFormat Reader::formatOf(const CharState& chars) const {
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

void Reader::paragraphEnd() {
    dropHighSurrogate();
    cellPending_ = false;
    finishRun();
    paragraph_.format = state().para;
    result_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph{};
}

// The text after the last \par is a paragraph of its own only when there
// is some: "text\par}" is one paragraph, as in every rich-text program.
void Reader::finishDocument(const ParagraphFormat& para) {
    dropHighSurrogate();
    finishRun();
    if (!paragraph_.runs.empty() || result_.paragraphs.empty()) {
        paragraph_.format = para;
        result_.paragraphs.push_back(std::move(paragraph_));
    }
}

}  // namespace hinagiku::richtext::rtf_reading
