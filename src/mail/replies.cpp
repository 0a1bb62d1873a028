#include "mail/replies.h"

#include <limits>

namespace hinagiku::mail {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at `pos`, saturating; advances `pos`.
long long readNumber(std::string_view s, std::size_t& pos) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long value = 0;
    while (pos < s.size() && isDigit(s[pos])) {
        const int digit = s[pos] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
        ++pos;
    }
    return value;
}

}  // namespace

bool isPositivePop3(std::string_view line) {
    return !line.empty() && line.front() == '+';
}

StatValues parseStat(std::string_view line) {
    std::size_t pos = 0;
    while (pos < line.size() && !isDigit(line[pos]))
        ++pos;
    if (pos == line.size())
        return {};
    const long long count = readNumber(line, pos);
    if (pos == line.size())
        return {};
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return {count, readNumber(line, pos)};
}

SmtpReplyLine parseSmtpLine(std::string_view line) {
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return {};
    return {(line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0'),
            line.size() > 3 && line[3] == '-'};
}

std::string printableReply(std::string_view line, std::size_t maxBytes) {
    std::string out;
    out.reserve(std::min(line.size(), maxBytes));
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b < 0x20 || b == 0x7F ? ' ' : c);
    }
    if (out.size() > maxBytes) {
        std::size_t end = maxBytes;
        while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80)
            --end;
        out.resize(end);
    }
    return out;
}

std::string_view trimControls(std::string_view text) {
    const auto strip = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
    while (!text.empty() && strip(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && strip(text.back()))
        text.remove_suffix(1);
    return text;
}

bool hasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            return true;
    }
    return false;
}

}  // namespace hinagiku::mail
