#pragma once

#include <string_view>

#include "mail/smtp_client.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::mail {

// The reminder mail of a presented popup window: [smtp] settings, the date
// panel text as the first body line, then the window's text (UTF-8, lines
// split at CR LF, LF or CR).
OutgoingMail makeReminderMail(const platform::Settings& settings, const platform::Clock& clock,
                              std::string_view dateText, std::string_view text);

}  // namespace hinagiku::mail
