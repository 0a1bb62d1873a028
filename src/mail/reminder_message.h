#pragma once

#include <string>
#include <string_view>

#include "calendar/date_time.h"
#include "mail/mail_settings.h"

namespace hinagiku::mail {

// The address of a setting for the SMTP envelope: the text between "<" and
// ">" when both are there, else the trimmed value.
std::string envelopeAddress(std::string_view value);

// Whether an envelope address may be sent: ASCII without blanks or control
// characters; empty only where `emptyAllowed` (the sender).
bool isSendableAddress(std::string_view address, bool emptyAllowed);

// "Thu, 10 Dec 2026 09:05:03 +0900": English names whatever the locale; the
// offset is the sign, then the absolute hours and minutes of local time
// minus universal time (`biasMinutes` is universal minus local).
std::string formatDateHeader(DateTime local, int biasMinutes);

// A header value as written: unchanged when ASCII; otherwise the display
// name before "<" as an RFC 2047 word and the address as it is.
std::string headerValue(std::string_view value);

// The message of a reminder mail, ready for DATA: the seven header lines,
// an empty line, the date line and the text's lines, in ISO-2022-JP, each
// line ending in CR LF, dots doubled, without the final ".".
std::string buildReminderMessage(std::string_view from, std::string_view to,
                                 std::string_view dateText, std::string_view text, DateTime now,
                                 int biasMinutes);

}  // namespace hinagiku::mail
