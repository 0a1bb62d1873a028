#include "phonebook/dial_text.h"

#include "platform/cp932.h"

namespace hinagiku::phonebook {
namespace {

std::size_t utf8Length(unsigned char b) {
    if (b >= 0xF0)
        return 4;
    if (b >= 0xE0)
        return 3;
    if (b >= 0xC0)
        return 2;
    return 1;
}

// U+FF01..U+FF5E are EF BC 81 .. EF BD 9E.
bool foldFullWidth(std::string_view c, char& ascii) {
    if (c.size() != 3 || static_cast<unsigned char>(c[0]) != 0xEF)
        return false;
    const auto b1 = static_cast<unsigned char>(c[1]);
    const auto b2 = static_cast<unsigned char>(c[2]);
    unsigned code = 0;
    if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF)
        code = 0xFF00 + (b2 - 0x80);
    else if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E)
        code = 0xFF40 + (b2 - 0x80);
    else
        return false;
    ascii = static_cast<char>(code - 0xFEE0);
    return true;
}

bool plainUriByte(unsigned char b) {
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
        return true;
    switch (b) {
        case '+':
        case '*':
        case '-':
        case '.':
        case '(':
        case ')':
        case ',':
        case ';':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<std::string> dialCharacters(std::string_view utf8) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t n = utf8Length(static_cast<unsigned char>(utf8[i]));
        n = std::min(n, utf8.size() - i);
        const std::string_view c = utf8.substr(i, n);
        char ascii = 0;
        if (foldFullWidth(c, ascii))
            out.emplace_back(1, ascii);
        else
            out.emplace_back(c);
        i += n;
    }
    return out;
}

std::string dialNumber(std::string_view utf8) {
    std::string folded;
    for (const auto& c : dialCharacters(utf8))
        folded.append(c);
    // Cut on a character boundary of the CP932 form, then map the cut back.
    std::string cp932;
    std::string out;
    for (const auto& c : dialCharacters(folded)) {
        cp932.append(platform::toCp932(c));
        if (cp932.size() > 255)
            break;
        out.append(c);
    }
    return out;
}

std::string telUri(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "tel:";
    for (const char c : dialNumber(utf8)) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ')
            continue;
        if (plainUriByte(b)) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(kHex[b >> 4]);
            uri.push_back(kHex[b & 15]);
        }
    }
    return uri;
}

}  // namespace hinagiku::phonebook
