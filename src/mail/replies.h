#pragma once

#include <string>
#include <string_view>

namespace hinagiku::mail {

// POP3: a reply is positive when it is not empty and begins with "+".
bool isPositivePop3(std::string_view line);

// The two numbers of a STAT reply: skip to the first decimal digit, read the
// message count, skip blanks, read the mailbox size. No digit at all, or
// nothing after the first number: both 0. Numbers past the range saturate.
struct StatValues {
    long long count = 0;
    long long size = 0;
    friend bool operator==(const StatValues&, const StatValues&) = default;
};
StatValues parseStat(std::string_view line);

// SMTP: one reply line, "nnn text", "nnn-text" (a continuation) or "nnn".
struct SmtpReplyLine {
    int code = -1;           // -1: the line does not begin with three digits
    bool continues = false;  // "nnn-": more lines of the same reply follow
};
SmtpReplyLine parseSmtpLine(std::string_view line);

// The text of a server reply as it may be shown or logged: control
// characters blanked, at most `maxBytes` bytes (not ending inside a UTF-8
// character).
std::string printableReply(std::string_view line, std::size_t maxBytes = 512);

// Trimmed of blanks and control characters at both ends (the POP3 USER and
// PASS arguments).
std::string_view trimControls(std::string_view text);
// Whether `text` holds a byte below 0x20 or 0x7F.
bool hasControlCharacter(std::string_view text);

}  // namespace hinagiku::mail
