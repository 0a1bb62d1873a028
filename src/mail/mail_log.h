#pragma once

#include <string>

#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "platform/settings.h"

namespace hinagiku::mail {

// The last outcome of each conversation, so that a silent failure can still
// be found: kept for the settings window and written to standard error.
// Only steps and server replies are kept: never what was sent.
struct LastOutcome {
    std::string state;  // "ok", "sent" or the failed step; empty: none yet
    std::string reply;
    std::string detail;
};

void logPop3Outcome(const platform::Settings& settings, int number, const Pop3Result& result);
void logSmtpOutcome(const SmtpResult& result);
LastOutcome lastPop3Outcome(int number);
LastOutcome lastSmtpOutcome();
// One line for a person: "state: reply (detail)".
std::string describeOutcome(const LastOutcome& outcome);
// Whether outcomes also go to standard error (the program: yes; tests may
// turn it off).
void setOutcomeEcho(bool on);

}  // namespace hinagiku::mail
