#include "mail/reminder_mail.h"

#include "mail/reminder_message.h"

namespace hinagiku::mail {

OutgoingMail makeReminderMail(const platform::Settings& settings, const platform::Clock& clock,
                              std::string_view dateText, std::string_view text) {
    OutgoingMail mail;
    mail.config = readSmtpConfig(settings);
    mail.message = buildReminderMessage(mail.config.from, mail.config.to, dateText, text,
                                        clock.now(), clock.timeZoneBiasMinutes());
    return mail;
}

}  // namespace hinagiku::mail
