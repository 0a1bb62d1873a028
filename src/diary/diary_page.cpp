#include "diary/diary_page.h"

#include <array>
#include <charconv>
#include <limits>

#include "platform/cp932.h"

namespace hinagiku::diary {
namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithFolded(std::string_view line, std::string_view key) {
    if (line.size() < key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (upperAscii(line[i]) != key[i])
            return false;
    }
    return true;
}

bool isEndLine(std::string_view line) {
    return startsWithFolded(line, ":END");
}

// One line of `bytes` from `pos`: the line without its end, and the offset
// after the end (CR LF, LF or CR).
struct Line {
    std::string_view text;
    std::size_t next = 0;
    bool terminated = false;
};

Line lineAt(std::string_view bytes, std::size_t pos) {
    std::size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    Line line{bytes.substr(pos, end - pos), end, false};
    if (end < bytes.size()) {
        line.terminated = true;
        line.next = end + 1;
        if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            line.next = end + 2;
    }
    return line;
}

// A header value as the window shows it: decoded and cut. Only the bytes
// that can hold kValueLimit characters are decoded, so a huge line costs
// nothing.
std::string headerValue(std::string_view raw) {
    const std::size_t bytes = platform::cp932PrefixLength(raw, kValueLimit * 2);
    return cutCharacters(platform::fromCp932(raw.substr(0, bytes)), kValueLimit);
}

enum class Key {
    Title,
    Weather,
    Bmp,
    BackColor,
    FontColor,
    Top,
    Left,
    Width,
    Height,
    CodeRtf,
    Cipher,
    CodeHtml,
    ReadOnly,
    Jpg,
};

struct KeyName {
    std::string_view text;
    Key key;
};

// The order in which a line is compared with the keys.
constexpr std::array<KeyName, 14> kKeys{{
    {"TITLE:", Key::Title},
    {"WEATHER:", Key::Weather},
    {"BMP:", Key::Bmp},
    {"KIV_BACKCOLOR:", Key::BackColor},
    {"KIV_FONTCOLOR:", Key::FontColor},
    {"KIV_TOP:", Key::Top},
    {"KIV_LEFT:", Key::Left},
    {"KIV_WIDTH:", Key::Width},
    {"KIV_HEIGHT:", Key::Height},
    {"CODE:RTF", Key::CodeRtf},
    {"CIPHER:", Key::Cipher},
    {"CODE:HTML", Key::CodeHtml},
    {"KIV_READONLY:", Key::ReadOnly},
    {"JPG:", Key::Jpg},
}};

void setNumber(ParsedPage& page, int lineNumber, std::string_view line, std::string_view key,
               std::string_view value, std::optional<std::int32_t>& target, bool size) {
    const std::optional<std::int32_t> number = parseHeaderNumber(value);
    if (!number) {
        page.problems.push_back({lineNumber, headerValue(line.substr(0, key.size())) + "「" +
                                                 cutCharacters(value, 40) +
                                                 "」は数値ではないので無視しました。"});
        return;
    }
    if (size && *number <= 0) {
        page.problems.push_back({lineNumber, headerValue(line.substr(0, key.size())) +
                                                 std::to_string(*number) +
                                                 " は窓の大きさにならないので無視しました。"});
        return;
    }
    target = number;
}

void setPlacement(ParsedPage& page, int lineNumber, std::string_view line, std::string_view key,
                  std::string_view value, std::optional<int>& target, bool size) {
    std::optional<std::int32_t> number;
    setNumber(page, lineNumber, line, key, value, number, size);
    if (number)
        target = *number;
}

}  // namespace

std::string cutCharacters(std::string_view utf8, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (count == limit)
                return std::string(utf8.substr(0, i));
            ++count;
        }
    }
    return std::string(utf8);
}

std::optional<std::int32_t> parseHeaderNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    const std::string_view digits = text.substr(i);
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (base == 16) {
        // Hexadecimal names the 32 bits as they are (system colours).
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
        auto bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    if (value > limit)
        return std::nullopt;
    const std::int64_t signedValue =
        negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(signedValue);
}

std::optional<std::size_t> findHeaderEnd(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const Line line = lineAt(bytes, pos);
        if (!line.terminated)
            return std::nullopt;
        // A CR at the very end may still be followed by its LF.
        if (line.next == bytes.size() && bytes.back() == '\r')
            return std::nullopt;
        if (isEndLine(line.text))
            return line.next;
        pos = line.next;
    }
    return std::nullopt;
}

ParsedPage parseHeader(std::string_view bytes, std::size_t* headerEnd) {
    ParsedPage page;
    std::size_t pos = 0;
    int lineNumber = 0;
    bool ended = false;
    while (pos < bytes.size()) {
        const Line line = lineAt(bytes, pos);
        ++lineNumber;
        pos = line.terminated ? line.next : bytes.size();
        if (isEndLine(line.text)) {
            ended = true;
            break;
        }
        const KeyName* match = nullptr;
        for (const KeyName& key : kKeys) {
            if (startsWithFolded(line.text, key.text)) {
                match = &key;
                break;
            }
        }
        if (match == nullptr) {
            if (!line.text.empty())
                page.header.kept.emplace_back(line.text);
            continue;
        }
        const std::string_view raw = line.text.substr(match->text.size());
        PageHeader& header = page.header;
        switch (match->key) {
            case Key::Title:
                header.title = headerValue(raw);
                header.hasTitle = true;
                break;
            case Key::Weather:
                header.weather = headerValue(raw);
                break;
            case Key::Bmp:
            case Key::Jpg:
                header.picture = headerValue(raw);
                break;
            case Key::BackColor:
                setNumber(page, lineNumber, line.text, match->text, headerValue(raw),
                          header.backColor, false);
                break;
            case Key::FontColor:
                setNumber(page, lineNumber, line.text, match->text, headerValue(raw),
                          header.fontColor, false);
                break;
            case Key::Top:
                setPlacement(page, lineNumber, line.text, match->text, headerValue(raw), header.top,
                             false);
                break;
            case Key::Left:
                setPlacement(page, lineNumber, line.text, match->text, headerValue(raw),
                             header.left, false);
                break;
            case Key::Width:
                setPlacement(page, lineNumber, line.text, match->text, headerValue(raw),
                             header.width, true);
                break;
            case Key::Height:
                setPlacement(page, lineNumber, line.text, match->text, headerValue(raw),
                             header.height, true);
                break;
            case Key::CodeRtf:
                break;
            case Key::Cipher:
                if (page.refusal == Refusal::None) {
                    page.refusal = Refusal::Cipher;
                    page.cipherName = headerValue(raw);
                }
                break;
            case Key::CodeHtml:
                if (page.refusal == Refusal::None)
                    page.refusal = Refusal::Html;
                break;
            case Key::ReadOnly:
                header.readOnly = startsWithFolded(raw, "TRUE");
                break;
        }
    }
    if (!ended && page.refusal == Refusal::None)
        page.refusal = Refusal::Damaged;
    if (headerEnd != nullptr)
        *headerEnd = ended ? pos : bytes.size();
    return page;
}

ParsedPage parsePage(std::string_view bytes) {
    std::size_t headerEnd = 0;
    ParsedPage page = parseHeader(bytes, &headerEnd);
    if (page.refusal == Refusal::None)
        page.body.assign(bytes.substr(headerEnd));
    return page;
}

std::string_view pictureKey(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    const std::string_view extension = path.substr(dot);
    if (extension.size() == 4 && startsWithFolded(extension, ".BMP"))
        return "BMP:";
    if (extension.size() == 4 && startsWithFolded(extension, ".JPG"))
        return "JPG:";
    return {};
}

std::string composePage(const PageHeader& header, std::string_view body, SaveStyle style) {
    std::string out;
    out.reserve(256 + body.size());
    const auto line = [&out](std::string_view key, std::string_view value) {
        out.append(key);
        out.append(value);
        out.append("\r\n");
    };
    const auto number = [](const auto& value) { return std::to_string(value ? *value : 0); };
    line("TITLE:", platform::toCp932(header.title));
    line("WEATHER:", platform::toCp932(header.weather));
    if (style == SaveStyle::Ordinary) {
        line("CODE:RTF", {});
        const std::string_view key = pictureKey(header.picture);
        if (!header.picture.empty() && !key.empty())
            line(key, platform::toCp932(header.picture));
    } else {
        line("BMP:", platform::toCp932(header.picture));
    }
    line("KIV_FONTCOLOR:", number(header.fontColor));
    line("KIV_BACKCOLOR:", number(header.backColor));
    line("KIV_TOP:", number(header.top));
    line("KIV_LEFT:", number(header.left));
    line("KIV_HEIGHT:", number(header.height));
    line("KIV_WIDTH:", number(header.width));
    line(header.readOnly ? "KIV_READONLY:TRUE" : "KIV_READONLY:FALSE", {});
    for (const std::string& kept : header.kept) {
        if (!kept.empty())
            line(kept, {});
    }
    line(":END", {});
    out.append(body);
    return out;
}

LegacyPage parseLegacyPage(std::string_view bytes) {
    static const std::string weatherMark = platform::toCp932("【天気】");
    LegacyPage page;
    std::size_t pos = 0;
    int index = 0;
    while (pos < bytes.size()) {
        const Line line = lineAt(bytes, pos);
        pos = line.terminated ? line.next : bytes.size();
        if (index == 0) {
            page.title.assign(line.text);
        } else if (index == 1 && line.text.substr(0, weatherMark.size()) == weatherMark) {
            const std::string_view rest = line.text.substr(weatherMark.size());
            page.weather.assign(rest.substr(0, platform::cp932PrefixLength(rest, kValueLimit)));
        } else {
            page.bodyLines.emplace_back(line.text);
        }
        ++index;
    }
    return page;
}

std::string convertLegacyPage(const LegacyPage& page) {
    std::string out = "TITLE:" + page.title + "\r\nWEATHER:" + page.weather + "\r\n:END\r\n";
    for (const std::string& line : page.bodyLines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string_view firstLine(std::string_view bytes) {
    return lineAt(bytes, 0).text;
}

}  // namespace hinagiku::diary
