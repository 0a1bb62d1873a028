#include "phonebook/cell_text.h"

#include "platform/cp932.h"

namespace hinagiku::phonebook {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendHex(std::string& out, unsigned char b) {
    out.append("\\x");
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string escapeCell(std::string_view s) {
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            switch (b) {
                case '\\':
                    out.append("\\\\");
                    break;
                case '\t':
                    out.append("\\t");
                    break;
                case '\n':
                    out.append("\\n");
                    break;
                case '\r':
                    out.append("\\r");
                    break;
                default:
                    if (b < 0x20 || b == 0x7F)
                        appendHex(out, b);
                    else
                        out.push_back(static_cast<char>(b));
            }
            ++i;
            continue;
        }
        const std::size_t length = platform::isCp932LeadByte(b) && i + 1 < s.size() ? 2 : 1;
        const std::string_view character = s.substr(i, length);
        const std::string utf8 = platform::fromCp932(character);
        if (utf8.find("\xEF\xBF\xBD") == std::string::npos && platform::fitsCp932(utf8) &&
            platform::toCp932(utf8) == character) {
            out.append(utf8);
        } else {
            appendHex(out, b);  // the next byte gets its own turn
            ++i;
            continue;
        }
        i += length;
    }
    return out;
}

std::optional<std::string> unescapeCell(std::string_view text, std::string* problem) {
    std::string out;
    std::string run;  // plain text waiting for conversion
    auto flush = [&]() -> bool {
        if (run.empty())
            return true;
        if (!platform::fitsCp932(run)) {
            if (problem)
                *problem = "a character CP932 lacks: " + run;
            return false;
        }
        out.append(platform::toCp932(run));
        run.clear();
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            run.push_back(text[i]);
            continue;
        }
        if (!flush())
            return std::nullopt;
        if (i + 1 >= text.size()) {
            if (problem)
                *problem = "a backslash at the end";
            return std::nullopt;
        }
        const char e = text[++i];
        if (e == '\\')
            out.push_back('\\');
        else if (e == 't')
            out.push_back('\t');
        else if (e == 'n')
            out.push_back('\n');
        else if (e == 'r')
            out.push_back('\r');
        else if (e == 'x' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                 hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            if (problem)
                *problem = std::string("a bad escape \\") + e;
            return std::nullopt;
        }
    }
    if (!flush())
        return std::nullopt;
    return out;
}

std::string displayCell(std::string_view cp932) {
    return platform::fromCp932(cp932);
}

std::optional<std::string> encodeTypedCell(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            text.push_back(' ');
            ++i;
        } else if (c == '\r' || c == '\n' || c == '\t') {
            text.push_back(' ');
        } else if (c == '\xE2' && i + 2 < utf8.size() && utf8[i + 1] == '\x80' &&
                   (utf8[i + 2] == '\xA8' || utf8[i + 2] == '\xA9')) {
            text.push_back(' ');  // U+2028, U+2029
            i += 2;
        } else {
            text.push_back(c);
        }
    }
    if (!platform::fitsCp932(text))
        return std::nullopt;
    return platform::toCp932(text);
}

}  // namespace hinagiku::phonebook
