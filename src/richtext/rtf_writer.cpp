#include "richtext/rtf_writer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "richtext/rtf_reader.h"
#include "richtext/utf8.h"

namespace hinagiku::richtext {
namespace {

// How CP932 holds a character: exactly (it reads back as itself), only as
// a look-alike (U+301C WAVE DASH as 0x8160, which reads back as U+FF5E; ¥ as
// 0x5C), or not at all.
struct Cp932Code {
    enum Kind : std::uint8_t { Exact, LookAlike, None } kind = None;
    std::uint8_t length = 0;
    std::array<unsigned char, 2> bytes{};
};

Cp932Code computeCp932Code(char32_t c) {
    std::string utf8;
    appendUtf8(utf8, c);
    Cp932Code code;
    if (!platform::fitsCp932(utf8))
        return code;
    const std::string bytes = platform::toCp932(utf8);
    if (bytes.empty() || bytes.size() > 2)
        return code;
    code.kind = platform::fromCp932(bytes) == utf8 ? Cp932Code::Exact : Cp932Code::LookAlike;
    code.length = static_cast<std::uint8_t>(bytes.size());
    code.bytes[0] = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 2)
        code.bytes[1] = static_cast<unsigned char>(bytes[1]);
    return code;
}

// The BMP's CP932 forms, looked up with iconv once per character and kept:
// a document uses a few hundred distinct characters.
Cp932Code cp932Code(char32_t c) {
    if (c >= 0x10000)
        return {};
    static std::array<std::atomic<std::uint32_t>, 0x10000> cache{};
    std::uint32_t packed = cache[c].load(std::memory_order_relaxed);
    if (packed == 0) {
        const Cp932Code code = computeCp932Code(c);
        packed = 0x80000000u | (std::uint32_t{code.kind} << 24) |
                 (std::uint32_t{code.length} << 16) | (std::uint32_t{code.bytes[0]} << 8) |
                 code.bytes[1];
        cache[c].store(packed, std::memory_order_relaxed);
    }
    Cp932Code code;
    code.kind = static_cast<Cp932Code::Kind>((packed >> 24) & 0x7F);
    code.length = static_cast<std::uint8_t>((packed >> 16) & 0xFF);
    code.bytes = {static_cast<unsigned char>(packed >> 8), static_cast<unsigned char>(packed)};
    return code;
}

// Characters that a Japanese font must carry: those written as CP932 bytes
// beyond ASCII. The rest are ASCII or \uN and read the same in any font.
bool needsJapaneseCharset(char32_t c) {
    if (c < 0x80 || c == 0xA0 || c == 0xAD || c == 0x2011)
        return false;
    return cp932Code(c).kind != Cp932Code::None;
}

constexpr int kAnsiCharset = 0;
constexpr int kShiftJisCharset = 128;
constexpr int kSymbolCharset = 2;

struct FontKey {
    std::string family;
    int charset = kAnsiCharset;
    auto operator<=>(const FontKey&) const = default;
};

// A stretch of one run that is written in one font of the table.
struct Piece {
    std::string_view text;
    int font = 0;
};

struct Effective {
    CharFormat format;
    int font = 0;
};

class Writer {
  public:
    Writer(const RichText& text, const DefaultFont& defaults) : text_(text), defaults_(defaults) {}

    std::string write() {
        fontIndex(FontKey{defaults_.family, familyCharset(defaults_.family)});
        planPieces();
        out_.reserve(4096 + text_.paragraphs.size() * 16);
        writeHeader();
        writeBody();
        out_ += "}\r\n";
        return std::move(out_);
    }

  private:
    static int familyCharset(const std::string& family) {
        return platform::isAscii(family) ? kAnsiCharset : kShiftJisCharset;
    }

    int fontIndex(const FontKey& key) {
        const auto [it, added] = fontIndices_.emplace(key, static_cast<int>(fonts_.size()));
        if (added)
            fonts_.push_back(key);
        return it->second;
    }

    int colorIndex(std::uint32_t rgb) {
        const auto [it, added] = colorIndices_.emplace(rgb, static_cast<int>(colors_.size()) + 1);
        if (added)
            colors_.push_back(rgb);
        return it->second;
    }

    CharFormat effective(const CharFormat& format) const {
        CharFormat f = format;
        if (f.family.empty())
            f.family = defaults_.family;
        if (f.halfPoints <= 0)
            f.halfPoints = defaults_.halfPoints;
        return f;
    }

    // Splits every run where its text first needs a Japanese charset, and
    // numbers fonts and colours in order of first use.
    void planPieces() {
        bool anyList = false;
        for (const auto& paragraph : text_.paragraphs) {
            if (paragraph.format.list == ListStyle::Bullet)
                anyList = true;
            for (const auto& run : paragraph.runs) {
                const CharFormat f = effective(run.format);
                if (f.color)
                    colorIndex(*f.color);
                const int base = familyCharset(f.family);
                int charset = -1;
                std::size_t start = 0;
                for (std::size_t pos = 0; pos < run.text.size();) {
                    const std::size_t at = pos;
                    const char32_t c = nextCodePoint(run.text, pos);
                    if (charset < 0) {
                        charset = base;
                    }
                    if (charset != kShiftJisCharset && needsJapaneseCharset(c)) {
                        if (at > start) {
                            pieces_.push_back(
                                Piece{std::string_view(run.text).substr(start, at - start),
                                      fontIndex(FontKey{f.family, charset})});
                        }
                        start = at;
                        charset = kShiftJisCharset;
                    }
                }
                if (start < run.text.size()) {
                    pieces_.push_back(
                        Piece{std::string_view(run.text).substr(start),
                              fontIndex(FontKey{f.family, charset < 0 ? base : charset})});
                }
            }
        }
        if (anyList)
            symbolFont_ = fontIndex(FontKey{"Symbol", kSymbolCharset});
    }

    void writeHeader() {
        out_ += "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041\\deflangfe1041{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f";
            out_ += std::to_string(i);
            out_ += "\\fnil\\fcharset";
            out_ += std::to_string(fonts_[i].charset);
            needsSpace_ = true;
            // ';' ends a name in the table; no real font name has one.
            std::string family = fonts_[i].family;
            std::erase(family, ';');
            writeText(family);
            out_ += ";}";
        }
        out_ += "}\r\n{\\colortbl ;";
        for (const std::uint32_t rgb : colors_) {
            out_ += "\\red" + std::to_string((rgb >> 16) & 0xFF);
            out_ += "\\green" + std::to_string((rgb >> 8) & 0xFF);
            out_ += "\\blue" + std::to_string(rgb & 0xFF) + ";";
        }
        out_ += "}\r\n\\viewkind4\\uc1";
        needsSpace_ = true;
    }

    void writeBody() {
        // The state a reader is in after the header.
        current_ = CharFormat{};
        currentFont_ = 0;
        word("\\f0");
        current_.halfPoints = defaults_.halfPoints;
        word("\\fs" + std::to_string(current_.halfPoints));
        std::size_t piece = 0;
        const ParagraphFormat* previous = nullptr;
        int number = 0;
        for (const auto& paragraph : text_.paragraphs) {
            const ParagraphFormat& pf = paragraph.format;
            const bool continuesList = previous && *previous == pf && pf.list != ListStyle::None;
            number = continuesList ? number + 1 : 1;
            if (!previous || *previous != pf) {
                writeParagraphFormat(pf);
            } else if (pf.list != ListStyle::None) {
                writeListText(pf.list, number);
            }
            previous = &pf;
            for (const auto& run : paragraph.runs) {
                const CharFormat f = effective(run.format);
                std::size_t written = 0;
                while (written < run.text.size() && piece < pieces_.size()) {
                    const Piece& p = pieces_[piece++];
                    writeCharFormat(f, p.font);
                    writeText(p.text);
                    written += p.text.size();
                }
            }
            word("\\par");
            out_ += "\r\n";
            needsSpace_ = false;
        }
    }

    void writeParagraphFormat(const ParagraphFormat& pf) {
        word("\\pard");
        if (pf.list != ListStyle::None) {
            writeListText(pf.list, 1);
            out_ += "{\\*\\pn";
            if (pf.list == ListStyle::Bullet) {
                out_ +=
                    "\\pnlvlblt\\pnf" + std::to_string(symbolFont_) + "\\pnindent0{\\pntxtb\\'b7}}";
            } else {
                out_ += "\\pnlvlbody\\pnf0\\pnindent0\\pnstart1";
                switch (pf.list) {
                    case ListStyle::UpperAlpha:
                        out_ += "\\pnucltr";
                        break;
                    case ListStyle::LowerAlpha:
                        out_ += "\\pnlcltr";
                        break;
                    case ListStyle::UpperRoman:
                        out_ += "\\pnucrm";
                        break;
                    case ListStyle::LowerRoman:
                        out_ += "\\pnlcrm";
                        break;
                    default:
                        out_ += "\\pndec";
                        break;
                }
                out_ += "{\\pntxta.}}";
            }
            needsSpace_ = false;
        }
        if (pf.firstIndent != 0)
            word("\\fi" + std::to_string(pf.firstIndent));
        if (pf.leftIndent != 0)
            word("\\li" + std::to_string(pf.leftIndent));
        if (pf.rightIndent != 0)
            word("\\ri" + std::to_string(pf.rightIndent));
        switch (pf.alignment) {
            case Alignment::Center:
                word("\\qc");
                break;
            case Alignment::Right:
                word("\\qr");
                break;
            case Alignment::Justify:
                word("\\qj");
                break;
            case Alignment::Left:
                break;
        }
    }

    // The bullet or number as readers without \pn show it.
    void writeListText(ListStyle style, int number) {
        if (style == ListStyle::Bullet) {
            out_ += "{\\pntext\\f" + std::to_string(symbolFont_) + "\\'b7\\tab}";
        } else {
            out_ += "{\\pntext\\f0 " + listNumber(style, number) + ".\\tab}";
        }
        needsSpace_ = false;
    }

    static std::string listNumber(ListStyle style, int n) {
        switch (style) {
            case ListStyle::UpperAlpha:
            case ListStyle::LowerAlpha: {
                std::string s;
                for (int v = n; v > 0; v = (v - 1) / 26) {
                    s.insert(s.begin(), static_cast<char>('a' + (v - 1) % 26));
                }
                if (style == ListStyle::UpperAlpha) {
                    for (char& c : s)
                        c = static_cast<char>(c - 'a' + 'A');
                }
                return s;
            }
            case ListStyle::UpperRoman:
            case ListStyle::LowerRoman: {
                static const std::pair<int, const char*> table[] = {
                    {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                    {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                    {5, "v"},    {4, "iv"},   {1, "i"}};
                std::string s;
                int v = std::min(n, 3999);
                for (const auto& [value, letters] : table) {
                    while (v >= value) {
                        s += letters;
                        v -= value;
                    }
                }
                if (style == ListStyle::UpperRoman) {
                    for (char& c : s)
                        c = static_cast<char>(c - 'a' + 'A');
                }
                return s;
            }
            default:
                return std::to_string(n);
        }
    }

    void writeCharFormat(const CharFormat& f, int font) {
        if (font != currentFont_)
            word("\\f" + std::to_string(font));
        currentFont_ = font;
        if (f.halfPoints != current_.halfPoints)
            word("\\fs" + std::to_string(f.halfPoints));
        if (f.bold != current_.bold)
            word(f.bold ? "\\b" : "\\b0");
        if (f.italic != current_.italic)
            word(f.italic ? "\\i" : "\\i0");
        if (f.underline != current_.underline)
            word(f.underline ? "\\ul" : "\\ulnone");
        if (f.strikeOut != current_.strikeOut)
            word(f.strikeOut ? "\\strike" : "\\strike0");
        if (f.color != current_.color) {
            word("\\cf" + std::to_string(f.color ? colorIndex(*f.color) : 0));
        }
        current_ = f;
    }

    void word(std::string_view w) {
        out_ += w;
        needsSpace_ = true;
    }

    void hexByte(unsigned char b) {
        static constexpr char kHex[] = "0123456789abcdef";
        out_ += "\\'";
        out_.push_back(kHex[b >> 4]);
        out_.push_back(kHex[b & 0xF]);
        needsSpace_ = false;
    }

    void literal(char c) {
        if (needsSpace_)
            out_.push_back(' ');
        needsSpace_ = false;
        out_.push_back(c);
    }

    void fallbackByte(unsigned char b) {
        // Digits and spaces would join the \uN before them.
        if (b > 0x20 && b < 0x7F && (b < '0' || b > '9') && b != '\\' && b != '{' && b != '}') {
            literal(static_cast<char>(b));
        } else {
            hexByte(b);
        }
    }

    void unicode(char32_t c, const Cp932Code& code) {
        auto unit = [&](std::uint32_t u) {
            word("\\u" +
                 std::to_string(u >= 0x8000 ? static_cast<int>(u) - 0x10000 : static_cast<int>(u)));
            needsSpace_ = false;
        };
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            unit(0xD800 + (v >> 10));
            out_.push_back('?');
            unit(0xDC00 + (v & 0x3FF));
            out_.push_back('?');
            return;
        }
        if (code.kind == Cp932Code::LookAlike && code.length == 2) {
            // Two fallback bytes: \uc2 for this character alone.
            out_ += "\\uc2";
            unit(c);
            hexByte(code.bytes[0]);
            hexByte(code.bytes[1]);
            word("\\uc1");
            return;
        }
        unit(c);
        if (code.kind == Cp932Code::LookAlike) {
            fallbackByte(code.bytes[0]);
        } else {
            out_.push_back('?');
        }
    }

    void writeText(std::string_view text) {
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t c = nextCodePoint(text, pos);
            if (c < 0x80) {
                switch (c) {
                    case '\\':
                    case '{':
                    case '}':
                        out_.push_back('\\');
                        out_.push_back(static_cast<char>(c));
                        needsSpace_ = false;
                        break;
                    case '\t':
                        word("\\tab");
                        break;
                    default:
                        if (c >= 0x20)
                            literal(static_cast<char>(c));
                        break;
                }
                continue;
            }
            switch (c) {
                case 0x2028:
                    word("\\line");
                    continue;
                case 0xA0:
                    out_ += "\\~";
                    needsSpace_ = false;
                    continue;
                case 0xAD:
                    out_ += "\\-";
                    needsSpace_ = false;
                    continue;
                case 0x2011:
                    out_ += "\\_";
                    needsSpace_ = false;
                    continue;
                case 0x2029:
                    continue;  // paragraphs are separate already
                default:
                    break;
            }
            const Cp932Code code = cp932Code(c);
            if (code.kind == Cp932Code::Exact) {
                for (std::size_t i = 0; i < code.length; ++i)
                    hexByte(code.bytes[i]);
            } else {
                unicode(c, code);
            }
        }
    }

    const RichText& text_;
    const DefaultFont& defaults_;
    std::vector<FontKey> fonts_;
    std::map<FontKey, int> fontIndices_;
    std::vector<std::uint32_t> colors_;
    std::map<std::uint32_t, int> colorIndices_;
    std::vector<Piece> pieces_;
    int symbolFont_ = 0;

    std::string out_;
    bool needsSpace_ = false;
    CharFormat current_;
    int currentFont_ = 0;
};

}  // namespace

std::string writeRtf(const RichText& text, const DefaultFont& defaults) {
    return Writer(text, defaults).write();
}

std::string plainTextToRtf(std::string_view utf8, const DefaultFont& defaults) {
    return writeRtf(richTextFromPlainText(utf8), defaults);
}

}  // namespace hinagiku::richtext
