#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/mail_settings.h"
#include "mail/replies.h"
#include "mail/reply_line_reader.h"
#include "mail/stored_password.h"
#include "platform/profile_file.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::mail {
namespace {

std::vector<std::string> feedAll(const std::vector<std::string>& pieces) {
    ReplyLineReader reader;
    std::vector<std::string> lines;
    for (const auto& p : pieces)
        reader.feed(p, lines);
    return lines;
}

TEST(ReplyLineReader, AssemblesLinesFromAnySplit) {
    const std::string stream = "+OK ready\r\n+OK 3 120\r\nbare lf\n\r\n";
    const std::vector<std::string> expected = {"+OK ready", "+OK 3 120", "bare lf", ""};
    for (std::size_t step = 1; step <= stream.size(); ++step) {
        std::vector<std::string> pieces;
        for (std::size_t i = 0; i < stream.size(); i += step)
            pieces.push_back(stream.substr(i, step));
        EXPECT_EQ(feedAll(pieces), expected) << "step " << step;
    }
}

TEST(ReplyLineReader, CutsLongLinesAndKeepsMemoryBounded) {
    ReplyLineReader reader;
    std::vector<std::string> lines;
    const std::string chunk(100000, 'x');
    for (int i = 0; i < 50; ++i) {
        reader.feed(chunk, lines);
        ASSERT_LE(reader.pendingBytes(), ReplyLineReader::kMaxLineBytes);
    }
    EXPECT_TRUE(lines.empty());
    reader.feed("yy\r\n+OK next\r\n", lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(4096, 'x'));
    EXPECT_EQ(lines[1], "+OK next");

    // Exactly 4096 bytes and a CR: the line is whole, the CR goes.
    lines.clear();
    reader.feed(std::string(4096, 'a') + "\r\n", lines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(4096, 'a'));
}

TEST(Pop3Replies, PositiveAndStat) {
    EXPECT_TRUE(isPositivePop3("+OK"));
    EXPECT_TRUE(isPositivePop3("+"));
    EXPECT_FALSE(isPositivePop3(""));
    EXPECT_FALSE(isPositivePop3("-ERR no"));
    EXPECT_FALSE(isPositivePop3(" +OK"));

    struct Case {
        const char* reply;
        long long count;
        long long size;
    };
    const Case cases[] = {
        {"+OK 12 345 octets", 12, 345},
        {"+OK 3 120", 3, 120},
        {"+OK 3", 0, 0},  // nothing follows the first number
        {"+OK", 0, 0},
        {"+OK no digits here", 0, 0},
        {"+OK   7    99", 7, 99},
        {"+OK count=5 x", 5, 0},
        {"+OK 0 0", 0, 0},
        {"+OK 99999999999999999999999 1", 9223372036854775807LL, 1},
    };
    for (const auto& c : cases) {
        const StatValues v = parseStat(c.reply);
        EXPECT_EQ(v.count, c.count) << c.reply;
        EXPECT_EQ(v.size, c.size) << c.reply;
    }
}

TEST(SmtpReplies, CodesAndContinuations) {
    struct Case {
        const char* line;
        int code;
        bool continues;
    };
    const Case cases[] = {
        {"220 mail.example.jp ESMTP", 220, false},
        {"220-first line", 220, true},
        {"250", 250, false},
        {"251 forwarded", 251, false},
        {"25", -1, false},
        {"abc def", -1, false},
        {"", -1, false},
        {"354-", 354, true},
    };
    for (const auto& c : cases) {
        const SmtpReplyLine r = parseSmtpLine(c.line);
        EXPECT_EQ(r.code, c.code) << c.line;
        EXPECT_EQ(r.continues, c.continues) << c.line;
    }
}

TEST(Replies, PrintableAndTrimmed) {
    EXPECT_EQ(printableReply("a\tb\x1B"
                             "c\x7F"),
              "a b c ");
    EXPECT_EQ(printableReply(std::string(600, 'z')).size(), 512u);
    // Not cut inside a UTF-8 character: "あ" is three bytes.
    std::string kana;
    for (int i = 0; i < 200; ++i)
        kana += "\xE3\x81\x82";
    EXPECT_EQ(printableReply(kana).size(), 510u);
    EXPECT_EQ(trimControls(" \t user\r\n"), "user");
    EXPECT_TRUE(hasControlCharacter("a\rb"));
    EXPECT_FALSE(hasControlCharacter("a b"));
}

TEST(StoredPassword, ScrambledQuotedAndReadBothWays) {
    struct Case {
        const char* password;
        const char* stored;
    };
    // 'p' 0x70 ^ 0x1D = 0x6D 'm'; ' ' 0x20 ^ 0x1D = 0x3D '='; '?' -> '"'.
    const Case cases[] = {
        {"p", "\"m\""},
        {" p ", "\"=m=\""},
        {"", "\"\""},
        {"pass?", "\"m|nn\"\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scramblePassword(c.password), c.stored) << c.password;
        EXPECT_EQ(unscramblePassword(c.stored), c.password) << c.password;
    }
    EXPECT_EQ(unscramblePassword("m|nn"), "pass");  // without quotes

    testing::MemorySettings settings;
    writePassword(settings, "pop", "pop1_password", "secret pw");
    EXPECT_NE(settings.readText("pop", "pop1_password", ""), "secret pw");
    EXPECT_EQ(readPassword(settings, "pop", "pop1_password"), "secret pw");

    // Through the settings file: blanks and quotes at the ends survive, also
    // when the scrambled text itself begins and ends with a quote ('?').
    testing::TempHome home;
    platform::ProfileFile file(home.iniPath());
    for (const char* password : {"?x?", " pad ", "\"q\"", "plain"}) {
        writePassword(file, "pop", "pop2_password", password);
        EXPECT_EQ(readPassword(file, "pop", "pop2_password"), password) << password;
    }
    // Written by a script without quotes.
    file.writeText("pop", "pop3_password", scrambleBytes("secret"));
    EXPECT_EQ(readPassword(file, "pop", "POP3_PASSWORD"), "secret");
    EXPECT_EQ(readPassword(file, "pop", "pop1_password"), "");

    EXPECT_TRUE(isPrintableAscii("Abc ~!"));
    EXPECT_FALSE(isPrintableAscii("tab\there"));
    EXPECT_FALSE(isPrintableAscii("\xE3\x81\x82"));
}

TEST(MailSettings, PortsPinsAndResultText) {
    EXPECT_EQ(portNumber("110", TlsMode::Plain, 110, 995), 110);
    EXPECT_EQ(portNumber("", TlsMode::Plain, 110, 995), 110);
    EXPECT_EQ(portNumber("", TlsMode::Implicit, 110, 995), 995);
    EXPECT_EQ(portNumber(" 2525 ", TlsMode::StartTls, 25, 465), 2525);
    EXPECT_FALSE(portNumber("0", TlsMode::Plain, 110, 995));
    EXPECT_FALSE(portNumber("65536", TlsMode::Plain, 110, 995));
    EXPECT_FALSE(portNumber("11a", TlsMode::Plain, 110, 995));

    const std::string pin(64, 'a');
    std::string colons;
    for (int i = 0; i < 32; ++i)
        colons += (i ? ":" : "") + std::string("AA");
    EXPECT_EQ(normalizePin(colons), pin);
    EXPECT_EQ(normalizePin(pin), pin);
    EXPECT_EQ(normalizePin(std::string(63, 'a')), "");
    EXPECT_EQ(normalizePin(std::string(64, 'g')), "");

    EXPECT_EQ(resultText("Home", 3),
              "Home\xEF\xBC\x9A"
              "3\xE9\x80\x9A");  // Home：3通
    EXPECT_EQ(resultText("Work", 0), "");
    EXPECT_EQ(resultText("Work", -2), "");

    testing::MemorySettings settings;
    EXPECT_EQ(mailCheckInterval(settings), 60);
    settings.writeText("pop", "min", "0");
    EXPECT_EQ(mailCheckInterval(settings), 1);
    settings.writeText("pop", "min", "999");
    EXPECT_EQ(mailCheckInterval(settings), 300);

    settings.writeText("pop", "pop2_check", "1");
    settings.writeText("pop", "pop2_server", "pop.example.jp");
    settings.writeText("pop", "pop2_tls", "2");
    settings.writeText("pop", "pop2_tls_pin", pin);
    const Pop3Account a = readPop3Account(settings, 2);
    EXPECT_TRUE(a.check);
    EXPECT_EQ(a.server, "pop.example.jp");
    EXPECT_EQ(a.port, "110");
    EXPECT_EQ(a.tls, TlsMode::Implicit);
    EXPECT_EQ(a.pin, pin);
}

}  // namespace
}  // namespace hinagiku::mail
