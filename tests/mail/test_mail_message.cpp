#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "calendar/date_time.h"
#include "mail/iso2022jp.h"
#include "mail/reminder_message.h"
#include "platform/clock.h"

namespace hinagiku::mail {
namespace {

const std::string kToJis = "\x1B$B";
const std::string kToAscii = "\x1B(B";

std::string encodeText(const std::string& text) {
    std::string out;
    appendIso2022JpText(text, out);
    return out;
}

TEST(Iso2022Jp, LinesDotsAndCharacters) {
    struct Case {
        const char* name;
        std::string text;
        std::string encoded;
    };
    const Case cases[] = {
        {"ascii", "Meeting at 10", "Meeting at 10\r\n"},
        {"kanji", "\xE4\xBC\x9A\xE8\xAD\xB0",  // 会議
         kToJis + "\x32\x71\x35\x44" + kToAscii + "\r\n"},
        {"mixed",
         "a\xE3\x81\x82"
         "b",  // aあb
         "a" + kToJis + "\x24\x22" + kToAscii + "b\r\n"},
        {"leading dot doubled", ".hidden", "..hidden\r\n"},
        {"lone dot", ".", "..\r\n"},
        {"dot after kanji kept", "\xE3\x81\x82.", kToJis + "\x24\x22" + kToAscii + ".\r\n"},
        {"half-width voiced joined", "\xEF\xBD\xB6\xEF\xBE\x9E",  // ｶﾞ -> ガ
         kToJis + "\x25\x2C" + kToAscii + "\r\n"},
        {"half-width semi-voiced", "\xEF\xBE\x8A\xEF\xBE\x9F",  // ﾊﾟ -> パ
         kToJis + "\x25\x51" + kToAscii + "\r\n"},
        {"half-width plain and lone mark", "\xEF\xBD\xB1\xEF\xBE\x9E",  // ｱﾞ -> ア゛
         kToJis + "\x25\x22\x21\x2B" + kToAscii + "\r\n"},
        {"nec row 13", "\xE2\x91\xA0\xE3\x88\xB1",  // ①㈱
         kToJis + "\x2D\x21\x2D\x6A" + kToAscii + "\r\n"},
        {"no jis code", "\xF0\x9F\x98\x80\xE9\xAB\x99",  // 😀 and 髙 (IBM extension)
         kToJis + "\x22\x2E\x22\x2E" + kToAscii + "\r\n"},
        {"escape replaced",
         "a\x1B"
         "b",
         "a" + kToJis + "\x22\x2E" + kToAscii + "b\r\n"},
        {"line ends", "a\r\nb\nc\rd\r\r\ne", "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"},
        {"empty", "", "\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encodeText(c.text), c.encoded) << c.name;
}

TEST(Iso2022Jp, LongLinesWrapWithinLimit) {
    // 2000 ASCII bytes: 998 + 998 + 4.
    const std::string ascii(2000, 'a');
    EXPECT_EQ(encodeText(ascii),
              std::string(998, 'a') + "\r\n" + std::string(998, 'a') + "\r\n" + "aaaa\r\n");

    // 2000 bytes of dots: the continuation lines begin with a dot too and
    // stay within the limit after doubling.
    const std::string dots = encodeText(std::string(2000, '.'));
    std::size_t start = 0;
    std::size_t total = 0;
    while (start < dots.size()) {
        const std::size_t end = dots.find("\r\n", start);
        const std::string line = dots.substr(start, end - start);
        EXPECT_LE(line.size(), 998u);
        EXPECT_EQ(line.substr(0, 2), "..");
        total += line.size() - 1;
        start = end + 2;
    }
    EXPECT_EQ(total, 2000u);

    // 1000 kanji: every line returns to ASCII and fits.
    std::string kanji;
    for (int i = 0; i < 1000; ++i)
        kanji += "\xE4\xBC\x9A";
    const std::string out = encodeText(kanji);
    start = 0;
    int lines = 0;
    while (start < out.size()) {
        const std::size_t end = out.find("\r\n", start);
        const std::string line = out.substr(start, end - start);
        EXPECT_LE(line.size(), 998u);
        EXPECT_EQ(line.substr(0, 3), kToJis);
        EXPECT_EQ(line.substr(line.size() - 3), kToAscii);
        ++lines;
        start = end + 2;
    }
    EXPECT_EQ(lines, 3);
    for (const char ch : out)
        EXPECT_LT(static_cast<unsigned char>(ch), 0x80);
}

TEST(Iso2022Jp, EncodedWord) {
    EXPECT_EQ(encodedWord("\xE5\xB1\xB1\xE7\x94\xB0"),  // 山田
              "=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?=");
}

TEST(ReminderMessage, Addresses) {
    struct Case {
        const char* value;
        const char* envelope;
    };
    const Case cases[] = {
        {"t@example.jp", "t@example.jp"},
        {"  t@example.jp ", "t@example.jp"},
        {"Taro <t@example.jp>", "t@example.jp"},
        {"<t@example.jp>", "t@example.jp"},
        {"\xE5\xB1\xB1\xE7\x94\xB0 <t@example.jp>", "t@example.jp"},
        {"", ""},
        {"broken <t@example.jp", "broken <t@example.jp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(envelopeAddress(c.value), c.envelope) << c.value;

    EXPECT_TRUE(isSendableAddress("t@example.jp", false));
    EXPECT_FALSE(isSendableAddress("", false));
    EXPECT_TRUE(isSendableAddress("", true));
    EXPECT_FALSE(isSendableAddress("t@ex\rample.jp", false));
    EXPECT_FALSE(isSendableAddress("\xE5\xB1\xB1@example.jp", false));
    EXPECT_FALSE(isSendableAddress("broken <t@example.jp", false));

    EXPECT_EQ(headerValue("Taro <t@example.jp>"), "Taro <t@example.jp>");
    EXPECT_EQ(headerValue("\xE5\xB1\xB1\xE7\x94\xB0 <t@example.jp>"),
              "=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <t@example.jp>");
}

TEST(ReminderMessage, DateHeaderOffsets) {
    const DateTime t = *encodeDate(2026, 12, 10) + *encodeTime(9, 5, 3);
    struct Case {
        int bias;
        const char* text;
    };
    const Case cases[] = {
        {-540, "Thu, 10 Dec 2026 09:05:03 +0900"}, {0, "Thu, 10 Dec 2026 09:05:03 +0000"},
        {-330, "Thu, 10 Dec 2026 09:05:03 +0530"}, {150, "Thu, 10 Dec 2026 09:05:03 -0230"},
        {210, "Thu, 10 Dec 2026 09:05:03 -0330"},  {-345, "Thu, 10 Dec 2026 09:05:03 +0545"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateHeader(t, c.bias), c.text) << c.bias;
    EXPECT_EQ(formatDateHeader(*encodeDate(2024, 2, 29) + *encodeTime(23, 59, 59), -540),
              "Thu, 29 Feb 2024 23:59:59 +0900");
    EXPECT_EQ(formatDateHeader(*encodeDate(2027, 1, 3), -540), "Sun, 3 Jan 2027 00:00:00 +0900");
}

// The system clock's offset under real zones, with a Japanese locale set:
// the header stays English and the offset follows the zone.
TEST(ReminderMessage, DateHeaderUnderTimeZones) {
    setenv("LANG", "ja_JP.UTF-8", 1);
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    struct Case {
        const char* zone;
        const char* winter;  // offsets on a January and a July day
        const char* summer;
    };
    const Case cases[] = {
        {"UTC", "+0000", "+0000"},
        {"Asia/Kolkata", "+0530", "+0530"},
        {"America/St_Johns", "-0330", "-0230"},
    };
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    for (const auto& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        for (const auto& [month, expected] : {std::pair{1, c.winter}, std::pair{7, c.summer}}) {
            tm when{};
            when.tm_year = 2026 - 1900;
            when.tm_mon = month - 1;
            when.tm_mday = month == 1 ? 15 : 16;
            when.tm_hour = 12;
            when.tm_isdst = -1;
            mktime(&when);
            const int bias = static_cast<int>(-when.tm_gmtoff / 60);
            const std::string header =
                formatDateHeader(*encodeDate(2026, month, month == 1 ? 15 : 16) + 0.5, bias);
            EXPECT_EQ(header.substr(header.size() - 5), expected) << c.zone << " " << month;
            EXPECT_EQ(header.substr(0, 5), "Thu, ") << header;
        }
        // SystemClock agrees with the zone now.
        platform::SystemClock clock;
        const std::string now = formatDateHeader(clock.now(), clock.timeZoneBiasMinutes());
        EXPECT_TRUE(now.ends_with(c.winter) || now.ends_with(c.summer)) << now;
    }
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(ReminderMessage, SevenHeadersInOrderThenBody) {
    const DateTime t = *encodeDate(2026, 12, 10) + *encodeTime(9, 0, 0);
    const std::string m = buildReminderMessage("", "t@example.jp", "26/12/10 (\xE6\x9C\xA8) 09:00",
                                               ".first\nsecond", t, -540);
    const std::string expected =
        "From: t@example.jp\r\n"
        "To: t@example.jp\r\n"
        "Subject: Hinagiku Reminder\r\n"
        "Sender: t@example.jp\r\n"
        "Mime-Version: 1.0\r\n"
        "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
        "Date: Thu, 10 Dec 2026 09:00:00 +0900\r\n"
        "\r\n"
        "26/12/10 (" +
        kToJis + "\x4C\x5A" + kToAscii +
        ") 09:00\r\n"
        "..first\r\n"
        "second\r\n";
    EXPECT_EQ(m, expected);

    const std::string named =
        buildReminderMessage("Taro <t@example.jp>", "u@example.jp", "d", "", t, -540);
    EXPECT_NE(named.find("From: Taro <t@example.jp>\r\nTo: u@example.jp\r\n"), std::string::npos);
    EXPECT_NE(named.find("Sender: Taro <t@example.jp>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace hinagiku::mail
