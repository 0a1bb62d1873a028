#include "mail/reminder_message.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "mail/iso2022jp.h"
#include "platform/cp932.h"

namespace hinagiku::mail {
namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string envelopeAddress(std::string_view value) {
    const std::size_t open = value.find('<');
    const std::size_t close = value.find('>', open == std::string_view::npos ? 0 : open);
    if (open != std::string_view::npos && close != std::string_view::npos)
        return std::string(trimBlanks(value.substr(open + 1, close - open - 1)));
    return std::string(trimBlanks(value));
}

bool isSendableAddress(std::string_view address, bool emptyAllowed) {
    if (address.empty())
        return emptyAllowed;
    for (const char c : address) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F || c == '<' || c == '>')
            return false;
    }
    return true;
}

std::string formatDateHeader(DateTime local, int biasMinutes) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // Whole seconds, rounded, so that 59.9996 s does not print as 60.
    const double seconds = std::round(local * 86400.0);
    const DateTime rounded = seconds / 86400.0;
    const CivilDate d = decodeDate(rounded);
    const ClockTime t = decodeTime(rounded + 0.5 / 86400000.0);
    const int weekday = DayOfWeek(rounded);
    const int offset = -biasMinutes;
    const int magnitude = std::abs(offset);
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d",
                  kDays[(weekday + 6) % 7], d.day, kMonths[(d.month + 11) % 12], d.year, t.hour,
                  t.minute, t.second, offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

std::string headerValue(std::string_view value) {
    if (platform::isAscii(value))
        return std::string(value);
    const std::size_t open = value.find('<');
    if (open == std::string_view::npos)
        return encodedWord(trimBlanks(value));
    std::string name(trimBlanks(value.substr(0, open)));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
    std::string out = platform::isAscii(name) ? name : encodedWord(name);
    out += ' ';
    out += value.substr(open);
    return out;
}

std::string buildReminderMessage(std::string_view from, std::string_view to,
                                 std::string_view dateText, std::string_view text, DateTime now,
                                 int biasMinutes) {
    const std::string sender = headerValue(trimBlanks(from).empty() ? to : from);
    std::string out;
    out.reserve(text.size() * 2 + 512);
    out += "From: " + sender + "\r\n";
    out += "To: " + headerValue(to) + "\r\n";
    out += "Subject: Hinagiku Reminder\r\n";
    out += "Sender: " + sender + "\r\n";
    out += "Mime-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n";
    out += "Date: " + formatDateHeader(now, biasMinutes) + "\r\n";
    out += "\r\n";
    appendIso2022JpText(dateText, out);
    if (!text.empty())
        appendIso2022JpText(text, out);
    return out;
}

}  // namespace hinagiku::mail
