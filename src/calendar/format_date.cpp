#include "calendar/format_date.h"

#include <cstdio>

namespace hinagiku {
namespace {

constexpr const char* kShortWeekday[7] = {"日", "月", "火", "水", "木", "金", "土"};
constexpr const char* kLongWeekday[7] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                         "木曜日", "金曜日", "土曜日"};

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool isAsciiLetter(char c) {
    const char l = lowerAscii(c);
    return l >= 'a' && l <= 'z';
}

void appendNumber(std::string& out, int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    out += buffer;
}

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte,
// so that malformed input is still copied byte by byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

}  // namespace

std::string FormatDate(std::string_view pattern, DateTime value) {
    const CivilDate date = decodeDate(value);
    const ClockTime time = decodeTime(value);
    const int weekday = DayOfWeek(value) - 1;

    std::string out;
    out.reserve(pattern.size() + 16);
    // The last letter read outside quotes, lower case; it decides whether
    // "m" is a minute. Letters inside quotes do not count (the letter before
    // the quote stays); a non-ASCII (double-byte) character clears it.
    char lastLetter = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\'') {
            const std::size_t close = pattern.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        if (byte >= 0x80) {
            std::size_t length = sequenceLength(byte);
            if (i + length > pattern.size())
                length = pattern.size() - i;
            out.append(pattern.substr(i, length));
            i += length;
            lastLetter = 0;
            continue;
        }
        if (!isAsciiLetter(c)) {
            out += c;
            ++i;
            continue;
        }
        const char letter = lowerAscii(c);
        std::size_t run = 1;
        while (i + run < pattern.size() && lowerAscii(pattern[i + run]) == letter)
            ++run;
        const int count = static_cast<int>(run);
        switch (letter) {
            case 'y':
                if (count <= 2) {
                    appendNumber(out, date.year % 100, 2);
                } else {
                    appendNumber(out, date.year, 4);
                }
                break;
            case 'm':
                if (lastLetter == 'h') {
                    appendNumber(out, time.minute, count >= 2 ? 2 : 1);
                } else {
                    appendNumber(out, date.month, count >= 2 ? 2 : 1);
                }
                break;
            case 'd':
                if (count <= 2) {
                    appendNumber(out, date.day, count);
                } else {
                    out += count == 3 ? kShortWeekday[weekday] : kLongWeekday[weekday];
                }
                break;
            case 'a':
                if (count == 3) {
                    out += kShortWeekday[weekday];
                } else if (count >= 4) {
                    out += kLongWeekday[weekday];
                } else {
                    // "a" and "aa" are no tokens: copied as written.
                    out.append(pattern.substr(i, run));
                }
                break;
            case 'h':
                appendNumber(out, time.hour, count >= 2 ? 2 : 1);
                break;
            case 'n':
                appendNumber(out, time.minute, count >= 2 ? 2 : 1);
                break;
            case 's':
                appendNumber(out, time.second, count >= 2 ? 2 : 1);
                break;
            default:
                out.append(pattern.substr(i, run));
                break;
        }
        lastLetter = letter;
        i += run;
    }
    return out;
}

}  // namespace hinagiku
