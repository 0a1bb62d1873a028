#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <fstream>
#include <string>
#include <vector>

#include "mail/mail_check.h"
#include "mail/mail_log.h"
#include "mail/pop3_client.h"
#include "mail/smtp_client.h"
#include "mail/stored_password.h"
#include "platform/memory_settings.h"
#include "scripted_server.h"

namespace hinagiku::mail {
namespace {

using testing::ScriptedServer;

// Runs the event loop until `done` or the guard time passes.
template <typename Done>
bool runUntil(Done done, int guardMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < guardMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done();
}

Pop3Account account(quint16 port) {
    Pop3Account a;
    a.check = true;
    a.name = "Home";
    a.server = "127.0.0.1";
    a.port = std::to_string(port);
    a.user = " taro ";
    a.password = "pw";
    return a;
}

struct Pop3Run {
    Pop3Result result;
    bool finished = false;
};

Pop3Run runPop3(const Pop3Account& a, int timeoutMs = 20000) {
    Pop3Client client;
    MailConnection::Options options;
    options.timeoutMilliseconds = timeoutMs;
    client.connection().setOptions(options);
    Pop3Run run;
    QObject::connect(&client, &Pop3Client::finished, [&](const Pop3Result& r) {
        run.result = r;
        run.finished = true;
    });
    client.start(a);
    EXPECT_TRUE(client.busy());
    runUntil([&] { return run.finished; });
    EXPECT_FALSE(client.busy());
    return run;
}

TEST(Pop3Client, ScriptedConversations) {
    const std::vector<std::string> good = {"+OK ready\r\n", "+OK\r\n", "+OK\r\n", "+OK 3 120\r\n",
                                           "+OK bye\r\n"};
    struct Case {
        const char* name;
        ScriptedServer::Script script;
        Pop3State state;
        long long count;
        long long size;
        std::vector<std::string> sent;
    };
    const std::vector<std::string> all = {"USER taro", "PASS pw", "STAT", "QUIT"};
    const Case cases[] = {
        {"plain", {good}, Pop3State::Ok, 3, 120, all},
        {"a byte per segment", {good, true}, Pop3State::Ok, 3, 120, all},
        {"stat with one number",
         {{"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 3\r\n", "+OK\r\n"}},
         Pop3State::Ok,
         0,
         0,
         all},
        {"stat bare",
         {{"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK\r\n"}},
         Pop3State::Ok,
         0,
         0,
         all},
        {"stat with words",
         {{"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 12 345 octets\r\n", "+OK\r\n"}},
         Pop3State::Ok,
         12,
         345,
         all},
        {"greeting refused", {{"-ERR busy\r\n", "+OK\r\n"}}, Pop3State::Greeting, 0, 0, {"QUIT"}},
        {"user refused",
         {{"+OK\r\n", "-ERR who\r\n", "+OK\r\n"}},
         Pop3State::User,
         0,
         0,
         {"USER taro", "QUIT"}},
        {"pass refused",
         {{"+OK\r\n", "+OK\r\n", "-ERR no\r\n", "+OK\r\n"}},
         Pop3State::Pass,
         0,
         0,
         {"USER taro", "PASS pw", "QUIT"}},
        {"stat refused",
         {{"+OK\r\n", "+OK\r\n", "+OK\r\n", "-ERR locked\r\n", "+OK\r\n"}},
         Pop3State::Stat,
         0,
         0,
         all},
        {"closed after user", {{"+OK\r\n"}}, Pop3State::User, 0, 0, {"USER taro"}},
    };
    for (const auto& c : cases) {
        ScriptedServer::Script script = c.script;
        ScriptedServer server(script);
        const Pop3Run run =
            runPop3(account(server.port()),
                    c.state == Pop3State::User && c.sent.size() == 1 && c.script.replies.size() == 1
                        ? 1500
                        : 20000);
        ASSERT_TRUE(run.finished) << c.name;
        if (std::string(c.name) == "closed after user") {
            // The script has no answer to USER: the conversation times out.
            EXPECT_EQ(run.result.state, Pop3State::Timeout) << c.name;
        } else {
            EXPECT_EQ(run.result.state, c.state)
                << c.name << ": " << pop3StateName(run.result.state);
        }
        EXPECT_EQ(run.result.stat.count, c.count) << c.name;
        EXPECT_EQ(run.result.stat.size, c.size) << c.name;
        EXPECT_EQ(server.lines(), c.sent) << c.name;
    }
}

TEST(Pop3Client, SilentServerTimesOut) {
    ScriptedServer server({{}, false, true});
    const Pop3Run run = runPop3(account(server.port()), 300);
    EXPECT_EQ(run.result.state, Pop3State::Timeout);
    EXPECT_EQ(server.connections(), 1);
}

TEST(Pop3Client, RefusedConnectionAndBadSettings) {
    quint16 port = 0;
    {
        ScriptedServer gone(ScriptedServer::Script{});
        port = gone.port();
    }
    EXPECT_EQ(runPop3(account(port)).result.state, Pop3State::Connect);

    ScriptedServer server({{"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 1\r\n", "+OK\r\n"}});
    struct Case {
        const char* name;
        std::string user;
        std::string password;
        std::string port;
        std::string host;
    };
    const std::string good = std::to_string(server.port());
    // The stored password "\x10\x17" unscrambles to CR LF.
    const Case cases[] = {
        {"password unscrambling to CR LF inside", "taro",
         unscramblePassword("\"a\x10\x17"
                            "a\""),
         good, "127.0.0.1"},
        {"user with LF inside", "ta\nro", "pw", good, "127.0.0.1"},
        {"bad port", "taro", "pw", "pop3", "127.0.0.1"},
        {"no server", "taro", "pw", good, ""},
    };
    for (const auto& c : cases) {
        Pop3Account a = account(server.port());
        a.user = c.user;
        a.password = c.password;
        a.port = c.port;
        a.server = c.host;
        EXPECT_EQ(runPop3(a).result.state, Pop3State::Settings) << c.name;
    }
    EXPECT_EQ(server.connections(), 0);
    EXPECT_EQ(unscramblePassword("\"a\x10\x17"
                                 "a\""),
              "|\r\n|");
}

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory in a quarantine (256 MB by default),
// which the endless-line test would count as growth: keep it small here.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=8";
}
#endif

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

TEST(Pop3Client, EndlessLineKeepsMemoryBounded) {
    ScriptedServer::Script script;
    script.flood = 256LL * 1024 * 1024;
    ScriptedServer server(script);
    const long before = residentKiB();
    const Pop3Run run = runPop3(account(server.port()), 120000);
    const long after = residentKiB();
    EXPECT_EQ(run.result.state, Pop3State::Greeting);
    EXPECT_LT(after - before, 64 * 1024)
        << "resident memory grew by " << (after - before) << " KiB";
}

struct SmtpRun {
    std::vector<SmtpResult> results;
};

OutgoingMail mail(quint16 port) {
    OutgoingMail m;
    m.config.enabled = true;
    m.config.server = "127.0.0.1";
    m.config.port = std::to_string(port);
    m.config.from = "Taro <t@example.jp>";
    m.config.to = "u@example.jp";
    m.message = "Subject: x\r\n\r\n..dot\r\nbody\r\n";
    return m;
}

std::vector<SmtpResult> runSmtp(std::vector<OutgoingMail> mails, int timeoutMs = 20000) {
    SmtpClient client;
    client.setHeloName("client.test");
    MailConnection::Options options;
    options.timeoutMilliseconds = timeoutMs;
    client.connection().setOptions(options);
    std::vector<SmtpResult> results;
    QObject::connect(&client, &SmtpClient::finished,
                     [&](const SmtpResult& r) { results.push_back(r); });
    const std::size_t n = mails.size();
    for (auto& m : mails)
        client.send(std::move(m));
    runUntil([&] { return results.size() == n; });
    EXPECT_FALSE(client.busy());
    return results;
}

TEST(SmtpClient, ScriptedConversations) {
    const std::vector<std::string> good = {"220-mail.test first\r\n220-second\r\n220 ready\r\n",
                                           "250 hello\r\n",
                                           "250 ok\r\n",
                                           "251 will forward\r\n",
                                           "354 go\r\n",
                                           "250 queued\r\n",
                                           "221 bye\r\n"};
    const std::vector<std::string> all = {"HELO client.test", "MAIL FROM:<t@example.jp>",
                                          "RCPT TO:<u@example.jp>", "DATA", "QUIT"};
    struct Case {
        const char* name;
        ScriptedServer::Script script;
        SmtpState state;
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {"plain", {good}, SmtpState::Sent, all},
        {"a byte per segment", {good, true}, SmtpState::Sent, all},
        {"greeting refused", {{"554 no\r\n", "221\r\n"}}, SmtpState::Greeting, {"QUIT"}},
        {"helo refused",
         {{"220 hi\r\n", "501 who\r\n", "221\r\n"}},
         SmtpState::Helo,
         {"HELO client.test", "QUIT"}},
        {"mail refused",
         {{"220 hi\r\n", "250 ok\r\n", "550 no\r\n", "221\r\n"}},
         SmtpState::Mail,
         {"HELO client.test", "MAIL FROM:<t@example.jp>", "QUIT"}},
        {"rcpt refused",
         {{"220 hi\r\n", "250 ok\r\n", "250 ok\r\n", "550 unknown\r\n", "221\r\n"}},
         SmtpState::Rcpt,
         {"HELO client.test", "MAIL FROM:<t@example.jp>", "RCPT TO:<u@example.jp>", "QUIT"}},
        {"data refused",
         {{"220 hi\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n", "503 no\r\n", "221\r\n"}},
         SmtpState::Data,
         {"HELO client.test", "MAIL FROM:<t@example.jp>", "RCPT TO:<u@example.jp>", "DATA",
          "QUIT"}},
        {"message refused",
         {{"220 hi\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "554 spam\r\n",
           "221\r\n"}},
         SmtpState::Message,
         all},
    };
    for (const auto& c : cases) {
        ScriptedServer server(c.script);
        const auto results = runSmtp({mail(server.port())});
        ASSERT_EQ(results.size(), 1u) << c.name;
        EXPECT_EQ(results[0].state, c.state) << c.name << ": " << smtpStateName(results[0].state);
        EXPECT_EQ(server.lines(), c.sent) << c.name;
        if (c.state == SmtpState::Sent) {
            ASSERT_EQ(server.messages().size(), 1u);
            EXPECT_EQ(server.messages()[0], "Subject: x\r\n\r\n..dot\r\nbody\r\n");
            EXPECT_EQ(results[0].lastReply, "250 queued");
        }
    }
}

TEST(SmtpClient, RefusedSettingsSendNothing) {
    ScriptedServer server(ScriptedServer::Script{{"220 hi\r\n"}});
    struct Case {
        const char* name;
        std::string from;
        std::string to;
        std::string user;
    };
    const Case cases[] = {
        {"empty recipient", "t@example.jp", "", ""},
        {"blank recipient", "t@example.jp", "  ", ""},
        {"control character", "t@example.jp", "u@example.jp\r\nRCPT TO:<x@y>", ""},
        {"non-ascii address", "t@example.jp", "\xE5\xB1\xB1@example.jp", ""},
        {"user without tls", "t@example.jp", "u@example.jp", "taro"},
    };
    for (const auto& c : cases) {
        OutgoingMail m = mail(server.port());
        m.config.from = c.from;
        m.config.to = c.to;
        m.config.user = c.user;
        const auto results = runSmtp({m});
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].state, SmtpState::Settings) << c.name;
    }
    EXPECT_EQ(server.connections(), 0);
}

TEST(SmtpClient, SecondMailWaitsItsTurnAndEmptySenderIsSent) {
    const std::vector<std::string> good = {"220 hi\r\n", "250 ok\r\n", "250 ok\r\n",
                                           "250 ok\r\n", "354 go\r\n", "250 queued\r\n",
                                           "221 bye\r\n"};
    ScriptedServer first({good});
    ScriptedServer second({good});
    OutgoingMail a = mail(first.port());
    a.config.from = "";
    OutgoingMail b = mail(second.port());
    const auto results = runSmtp({a, b});
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].state, SmtpState::Sent);
    EXPECT_EQ(results[1].state, SmtpState::Sent);
    EXPECT_TRUE(first.sawLine("MAIL FROM:<>"));
    EXPECT_TRUE(second.sawLine("MAIL FROM:<t@example.jp>"));
}

TEST(SmtpClient, SilentServerTimesOut) {
    ScriptedServer server({{}, false, true});
    const auto results = runSmtp({mail(server.port())}, 300);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].state, SmtpState::Timeout);
}

TEST(MailCheck, OutcomePerCheckedAccount) {
    // STAT answered, QUIT never: the count stands though the connection is
    // still open when the wait ends.
    ScriptedServer slowQuit({{"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 3 300\r\n"}});
    ScriptedServer::Script silent;
    silent.silent = true;
    ScriptedServer hung(silent);
    ScriptedServer refusing({{"+OK\r\n", "+OK\r\n", "-ERR bad password\r\n", "+OK\r\n"}});
    platform::MemorySettings settings;
    const auto add = [&](int n, const char* name, quint16 port) {
        const std::string p = "pop" + std::to_string(n) + "_";
        settings.writeText("pop", p + "check", "1");
        settings.writeText("pop", p + "name", name);
        settings.writeText("pop", p + "server", "127.0.0.1");
        settings.writeText("pop", p + "user", "taro");
        settings.writeText("pop", p + "port", std::to_string(port));
    };
    add(1, "Home", slowQuit.port());
    add(2, "Work", hung.port());
    add(3, "Old", refusing.port());
    settings.writeText("pop", "min", "500");
    MailCheck::Options options;
    options.waitMilliseconds = {400, 400, 3000};
    options.flashMilliseconds = 10;
    MailCheck check(settings, options);
    std::vector<AccountOutcome> outcomes;
    std::array<std::string, 3> texts;
    int countdown = 0;
    bool done = false;
    QObject::connect(&check, &MailCheck::checked,
                     [&](const std::vector<AccountOutcome>& o, const std::array<std::string, 3>& t,
                         int minutes) {
                         outcomes = o;
                         texts = t;
                         countdown = minutes;
                         done = true;
                     });
    check.run(CheckOrigin::Menu);
    ASSERT_TRUE(runUntil([&] { return done; }));
    ASSERT_EQ(outcomes.size(), 3u);
    struct Expected {
        Pop3State state;
        long long count;
        long long size;
    };
    const Expected expected[] = {
        {Pop3State::Ok, 3, 300}, {Pop3State::Timeout, 0, 0}, {Pop3State::Pass, 0, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outcomes[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(outcomes[i].state, expected[i].state) << i << pop3StateName(outcomes[i].state);
        EXPECT_EQ(outcomes[i].stat.count, expected[i].count) << i;
        EXPECT_EQ(outcomes[i].stat.size, expected[i].size) << i;
    }
    EXPECT_EQ(texts[0], resultText("Home", 3));
    EXPECT_EQ(texts[1], "");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(countdown, 300);  // [pop] min clamped
    EXPECT_TRUE(refusing.sawLine("QUIT"));
    // Conversations still open: the next check only flashes.
    EXPECT_TRUE(check.anyConversationOpen());
    int flashed = -2;
    QObject::connect(&check, &MailCheck::flashed, [&](int retry) { flashed = retry; });
    check.run(CheckOrigin::Tick);
    ASSERT_TRUE(runUntil([&] { return flashed != -2; }));
    EXPECT_EQ(flashed, 0);
}

}  // namespace
}  // namespace hinagiku::mail

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    hinagiku::mail::setOutcomeEcho(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
