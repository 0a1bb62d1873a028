// hinagikuctl mail check|send-reminder|set-password: the mail check and the
// reminder mail with the program's own clients, for scripts and tests. No
// windows, sounds or countdown.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "calendar/format_date.h"
#include "command_registry.h"
#include "core/home_folder.h"
#include "mail/mail_check.h"
#include "mail/mail_log.h"
#include "mail/reminder_mail.h"
#include "mail/replies.h"
#include "mail/smtp_client.h"
#include "mail/stored_password.h"
#include "platform/clock.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "schedule/entry_files.h"

namespace hinagiku::ctl {
namespace {

using namespace hinagiku::mail;

constexpr std::string_view kUsage =
    "mail check [--wait SECONDS]\n"
    "      mail send-reminder [--wait SECONDS] YYYY-MM-DDTHH:MM NAME...\n"
    "      mail set-password 1|2|3|smtp   (the password as one line on standard input)";

// The event loop these commands run in: the program's own when there is
// one, else one made here.
class EventLoopScope {
  public:
    EventLoopScope() {
        if (QCoreApplication::instance() == nullptr)
            app_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }

  private:
    int argc_ = 1;
    char name_[12] = "hinagikuctl";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

std::optional<int> seconds(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1 || value > 3600)
        return std::nullopt;
    return value;
}

// Takes "--wait SECONDS" off the front of the arguments.
bool takeWait(std::vector<std::string>& args, std::optional<int>& wait) {
    if (args.empty() || args[0] != "--wait")
        return true;
    if (args.size() < 2)
        return false;
    wait = seconds(args[1]);
    if (!wait)
        return false;
    args.erase(args.begin(), args.begin() + 2);
    return true;
}

int checkCommand(CommandContext& context, std::vector<std::string> args) {
    std::optional<int> wait;
    if (!takeWait(args, wait) || !args.empty())
        return usageError(context, kUsage);
    EventLoopScope scope;
    setOutcomeEcho(false);
    platform::ProfileFile settings(core::settingsFilePath());
    MailCheck::Options options;
    options.flashMilliseconds = 0;
    if (wait)
        options.waitMilliseconds = {*wait * 1000, *wait * 1000, *wait * 1000};
    MailCheck check(settings, options);
    QEventLoop loop;
    std::vector<AccountOutcome> outcomes;
    QObject::connect(
        &check, &MailCheck::checked,
        [&](const std::vector<AccountOutcome>& o, const std::array<std::string, 3>&, int) {
            outcomes = o;
            loop.quit();
        });
    check.run(CheckOrigin::Menu);
    loop.exec();
    int status = kExitOk;
    for (const AccountOutcome& o : outcomes) {
        context.out << o.number << '\t' << pop3StateName(o.state) << '\t' << o.stat.count << '\t'
                    << o.stat.size << '\t' << o.text << '\n';
        if (o.state != Pop3State::Ok)
            status = kExitIoError;
    }
    return status;
}

// The popup window's text box: each entry's text without the line ends it
// ends with, entries joined by LF.
std::string entryLines(const std::string& plainText) {
    std::string text;
    for (std::size_t i = 0; i < plainText.size(); ++i) {
        if (plainText[i] == '\r') {
            text.push_back('\n');
            if (i + 1 < plainText.size() && plainText[i + 1] == '\n')
                ++i;
        } else {
            text.push_back(plainText[i]);
        }
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::optional<DateTime> parseWhen(std::string_view text) {
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto num = [&](std::size_t pos, std::size_t len) -> std::optional<int> {
        int v = 0;
        const char* b = text.data() + pos;
        const auto [end, ec] = std::from_chars(b, b + len, v);
        if (ec != std::errc() || end != b + len)
            return std::nullopt;
        return v;
    };
    const auto y = num(0, 4), mo = num(5, 2), d = num(8, 2), h = num(11, 2), mi = num(14, 2);
    if (!y || !mo || !d || !h || !mi)
        return std::nullopt;
    const auto date = encodeDate(*y, *mo, *d);
    const auto time = encodeTime(*h, *mi);
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}

int sendReminderCommand(CommandContext& context, std::vector<std::string> args) {
    std::optional<int> wait;
    if (!takeWait(args, wait) || args.size() < 2)
        return usageError(context, kUsage);
    const auto when = parseWhen(args[0]);
    if (!when)
        return usageError(context, kUsage, "WHEN is YYYY-MM-DDTHH:MM");
    platform::ProfileFile settings(core::settingsFilePath());
    if (!settings.readBool("smtp", "smtp_check", false)) {
        context.out << "disabled\t\n";
        return kExitIoError;
    }
    const std::string folder = schedule::scheduleFolder(settings);
    if (folder.empty() || !platform::folderExists(folder)) {
        context.err << "hinagikuctl: no data folder is set or it does not exist\n";
        return kExitIoError;
    }
    std::string text;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::optional<schedule::EntryContent> entry;
        try {
            entry = schedule::LoadEntry(std::filesystem::path(folder) / args[i]);
        } catch (const std::exception& e) {
            context.err << "hinagikuctl: " << e.what() << '\n';
            return kExitIoError;
        }
        if (!entry) {
            context.err << "hinagikuctl: no entry " << args[i] << " in " << folder << '\n';
            return kExitIoError;
        }
        if (i > 1)
            text += '\n';
        text += entryLines(entry->plainText());
    }

    EventLoopScope scope;
    setOutcomeEcho(false);
    platform::SystemClock clock;
    OutgoingMail mail =
        makeReminderMail(settings, clock, FormatDate("yy/mm/dd (ddd) hh:nn", *when), text);
    SmtpClient client;
    MailConnection::Options options;
    options.timeoutMilliseconds = (wait ? *wait : 30) * 1000;
    client.connection().setOptions(options);
    QEventLoop loop;
    SmtpResult result;
    QObject::connect(&client, &SmtpClient::finished, [&](const SmtpResult& r) {
        result = r;
        loop.quit();
    });
    client.send(std::move(mail));
    loop.exec();
    context.out << smtpStateName(result.state) << '\t' << printableReply(result.lastReply) << '\n';
    return result.state == SmtpState::Sent ? kExitOk : kExitIoError;
}

int setPasswordCommand(CommandContext& context, std::vector<std::string> args) {
    if (args.size() != 1)
        return usageError(context, kUsage);
    std::string section = "pop";
    std::string key;
    if (args[0] == "1" || args[0] == "2" || args[0] == "3") {
        key = "pop" + args[0] + "_password";
    } else if (args[0] == "smtp") {
        section = "smtp";
        key = "smtp_password";
    } else {
        return usageError(context, kUsage);
    }
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (!isPrintableAscii(line)) {
        context.err << "hinagikuctl: a password is printable ASCII only; nothing was written\n";
        return kExitIoError;
    }
    platform::ProfileFile settings(core::settingsFilePath());
    writePassword(settings, section, key, line);
    return kExitOk;
}

int mailCommand(CommandContext& context) {
    if (context.args.empty())
        return usageError(context, kUsage);
    std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
    const std::string& sub = context.args[0];
    try {
        if (sub == "check")
            return checkCommand(context, std::move(rest));
        if (sub == "send-reminder")
            return sendReminderCommand(context, std::move(rest));
        if (sub == "set-password")
            return setPasswordCommand(context, std::move(rest));
    } catch (const std::exception& e) {
        context.err << "hinagikuctl: " << e.what() << '\n';
        return kExitIoError;
    }
    return usageError(context, kUsage);
}

const CommandRegistration kMail("mail", kUsage, mailCommand);

}  // namespace
}  // namespace hinagiku::ctl
