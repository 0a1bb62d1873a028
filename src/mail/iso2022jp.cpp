#include "mail/iso2022jp.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/cp932.h"

namespace hinagiku::mail {
namespace {

constexpr unsigned kGeta = 0x222E;  // 〓

// Half-width katakana U+FF61..U+FF9F as full-width characters.
constexpr std::array<char16_t, 63> kHalfWidthKana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

bool takesVoicedMark(char16_t k) {
    return (k >= 0x30AB && k <= 0x30C1 && (k - 0x30AB) % 2 == 0) ||
           (k >= 0x30C4 && k <= 0x30C8 && (k - 0x30C4) % 2 == 0) ||
           (k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0) || k == 0x30A6;
}
bool takesSemiVoicedMark(char16_t k) {
    return k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0;
}

// Next code point of UTF-8 text; a broken sequence gives U+FFFD.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t c = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + extra >= s.size()) {
        i = s.size();
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            i += k;
            return 0xFFFD;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return c;
}

// One table for the Basic Multilingual Plane: the JIS code of each
// character, or 0. Built once from the CP932 codes of rows 1..84 (JIS X 0208
// and the NEC row 13) in one conversion; where CP932 holds a character
// twice, the lower code wins, as it does when CP932 is written.
const std::vector<std::uint16_t>& jisTable() {
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(0x10000, 0);
        std::string sjis;
        std::vector<std::uint16_t> codes;
        for (unsigned j1 = 0x21; j1 <= 0x74; ++j1) {
            for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
                unsigned s1 = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
                unsigned s2 = (j1 % 2 == 1) ? j2 + (j2 <= 0x5F ? 0x1F : 0x20) : j2 + 0x7E;
                sjis.push_back(static_cast<char>(s1));
                sjis.push_back(static_cast<char>(s2));
                sjis.push_back('\n');
                codes.push_back(static_cast<std::uint16_t>((j1 << 8) | j2));
            }
        }
        const std::string utf8 = platform::fromCp932(sjis);
        std::size_t pos = 0;
        for (const std::uint16_t code : codes) {
            const std::size_t end = utf8.find('\n', pos);
            if (end == std::string::npos)
                break;
            const std::string_view piece(utf8.data() + pos, end - pos);
            pos = end + 1;
            std::size_t i = 0;
            if (piece.empty())
                continue;
            const char32_t c = nextCodePoint(piece, i);
            if (i != piece.size() || c == 0xFFFD || c >= 0x10000 || c < 0x80)
                continue;
            if (t[c] == 0)
                t[c] = code;
        }
        return t;
    }();
    return table;
}

// Builds lines within the byte limit, switching between ASCII and JIS X 0208.
class LineBuilder {
  public:
    LineBuilder(std::string& out, std::size_t limit) : out_(out), limit_(limit) {}

    void ascii(char c) {
        const std::size_t need = (jis_ ? 3 : 0) + (lineBytes_ == 0 && c == '.' ? 2 : 1);
        if (lineBytes_ > 0 && lineBytes_ + need > limit_)
            endLine();
        if (jis_)
            put("\x1B(B", 3), jis_ = false;
        if (lineBytes_ == 0 && c == '.')
            put(".", 1);
        put(&c, 1);
    }
    void kanji(unsigned code) {
        const std::size_t need = (jis_ ? 0 : 3) + 2 + 3;
        if (lineBytes_ > 0 && lineBytes_ + need > limit_)
            endLine();
        if (!jis_)
            put("\x1B$B", 3), jis_ = true;
        const char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        put(pair, 2);
    }
    void endLine() {
        if (jis_)
            put("\x1B(B", 3), jis_ = false;
        out_.append("\r\n", 2);
        lineBytes_ = 0;
    }

  private:
    void put(const char* p, std::size_t n) {
        out_.append(p, n);
        lineBytes_ += n;
    }
    std::string& out_;
    std::size_t limit_;
    std::size_t lineBytes_ = 0;
    bool jis_ = false;
};

void encodeInto(std::string_view s, LineBuilder& b) {
    const auto& table = jisTable();
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t c = nextCodePoint(s, i);
        if (c < 0x80) {
            // Bytes that would switch the character set, and NUL, cannot
            // stand in the text.
            if (c == 0x00 || c == 0x0E || c == 0x0F || c == 0x1B)
                b.kanji(kGeta);
            else
                b.ascii(static_cast<char>(c));
            continue;
        }
        if (c >= 0xFF61 && c <= 0xFF9F) {
            char16_t full = kHalfWidthKana[c - 0xFF61];
            if (i < s.size()) {
                std::size_t j = i;
                const char32_t mark = nextCodePoint(s, j);
                if (mark == 0xFF9E && takesVoicedMark(full)) {
                    full = full == 0x30A6 ? char16_t{0x30F4} : static_cast<char16_t>(full + 1);
                    i = j;
                } else if (mark == 0xFF9F && takesSemiVoicedMark(full)) {
                    full = static_cast<char16_t>(full + 2);
                    i = j;
                }
            }
            c = full;
        }
        const unsigned code = c < 0x10000 ? table[c] : 0;
        b.kanji(code == 0 ? kGeta : code);
    }
}

}  // namespace

unsigned jisCode(char32_t c) {
    if (c >= 0x10000)
        return 0;
    return jisTable()[c];
}

void appendIso2022JpLines(std::string_view utf8Line, std::string& out, std::size_t maxLineBytes) {
    LineBuilder builder(out, std::max<std::size_t>(maxLineBytes, 8));
    encodeInto(utf8Line, builder);
    builder.endLine();
}

void appendIso2022JpText(std::string_view utf8Text, std::string& out, std::size_t maxLineBytes) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = utf8Text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            appendIso2022JpLines(utf8Text.substr(start), out, maxLineBytes);
            return;
        }
        appendIso2022JpLines(utf8Text.substr(start, end - start), out, maxLineBytes);
        start = end + 1;
        if (utf8Text[end] == '\r' && start < utf8Text.size() && utf8Text[start] == '\n')
            ++start;
    }
}

std::string encodedWord(std::string_view utf8) {
    std::string jis;
    LineBuilder builder(jis, std::string::npos / 2);
    encodeInto(utf8, builder);
    builder.endLine();
    jis.resize(jis.size() - 2);  // the CR LF of the one line
    const QByteArray b64 = QByteArray(jis.data(), static_cast<qsizetype>(jis.size())).toBase64();
    return "=?ISO-2022-JP?B?" + b64.toStdString() + "?=";
}

}  // namespace hinagiku::mail
