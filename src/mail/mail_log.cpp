#include "mail/mail_log.h"

#include <array>
#include <cstdio>

namespace hinagiku::mail {
namespace {

std::array<LastOutcome, 3>& pop3Outcomes() {
    static std::array<LastOutcome, 3> outcomes;
    return outcomes;
}
LastOutcome& smtpOutcome() {
    static LastOutcome outcome;
    return outcome;
}
bool& echo() {
    static bool on = true;
    return on;
}

}  // namespace

void setOutcomeEcho(bool on) {
    echo() = on;
}

std::string describeOutcome(const LastOutcome& outcome) {
    if (outcome.state.empty())
        return {};
    std::string text = outcome.state;
    if (!outcome.reply.empty())
        text += ": " + outcome.reply;
    if (!outcome.detail.empty())
        text += " (" + outcome.detail + ")";
    return text;
}

void logPop3Outcome(const platform::Settings& settings, int number, const Pop3Result& result) {
    if (number < 1 || number > 3)
        return;
    LastOutcome& o = pop3Outcomes()[static_cast<std::size_t>(number - 1)];
    o = {pop3StateName(result.state), result.lastReply, result.detail};
    if (echo()) {
        const std::string server =
            settings.readText("pop", "pop" + std::to_string(number) + "_server", "");
        std::fprintf(stderr, "hinagiku: pop3 account %d (%s): %s\n", number, server.c_str(),
                     describeOutcome(o).c_str());
    }
}

void logSmtpOutcome(const SmtpResult& result) {
    LastOutcome& o = smtpOutcome();
    o = {smtpStateName(result.state), result.lastReply, result.detail};
    if (echo())
        std::fprintf(stderr, "hinagiku: reminder mail: %s\n", describeOutcome(o).c_str());
}

LastOutcome lastPop3Outcome(int number) {
    if (number < 1 || number > 3)
        return {};
    return pop3Outcomes()[static_cast<std::size_t>(number - 1)];
}

LastOutcome lastSmtpOutcome() {
    return smtpOutcome();
}

}  // namespace hinagiku::mail
