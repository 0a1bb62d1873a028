#include <gtest/gtest.h>

#include "phonebook/dial_text.h"
#include "phonebook/hand_off.h"
#include "platform/command_line.h"

namespace hinagiku::phonebook {
namespace {

TEST(HandOff, QuotedCellIsOneArgumentWhateverItHolds) {
    const std::string hostile[] = {"a b", "x\"; rm -rf ~", "\\\"", "a\\\\", "\"\"", "tab\there"};
    for (const auto& cell : hostile) {
        const HandOff h = planMail("/usr/bin/mailer?--to ", cell);
        ASSERT_FALSE(h.refused);
        EXPECT_EQ(h.program, "/usr/bin/mailer");
        const auto args = platform::splitCommandLine(h.parameters);
        EXPECT_EQ(args, (std::vector<std::string>{"--to", cell})) << cell;
    }
    // The option immediately followed by the address.
    const HandOff joined = planMail("C:/m.exe?/to:", "a@b.jp");
    EXPECT_EQ(platform::splitCommandLine(joined.parameters),
              (std::vector<std::string>{"/to:a@b.jp"}));
    const HandOff bare = planWeb("firefox", "example.jp");
    EXPECT_EQ(bare.program, "firefox");
    EXPECT_EQ(platform::splitCommandLine(bare.parameters),
              (std::vector<std::string>{"example.jp"}));
}

TEST(HandOff, EmptySettingsOpenOnlyWhatIsSafe) {
    struct Case {
        std::string cell;
        bool refused;
        std::string program;
    };
    const Case web[] = {
        {"example.jp/x", false, "http://example.jp/x"},
        {"https://example.jp", false, "https://example.jp"},
        {"HTTP://a", false, "HTTP://a"},
        {"host:8080/p", false, "http://host:8080/p"},
        {"/usr/bin/xterm", true, ""},
        {"~/bin/x", true, ""},
        {"file:///etc/passwd", true, ""},
        {"javascript:alert(1)", true, ""},
        {"-x", true, ""},
        {"", true, ""},
    };
    for (const auto& c : web) {
        const HandOff h = planWeb("", c.cell);
        EXPECT_EQ(h.refused, c.refused) << c.cell;
        EXPECT_EQ(h.program, c.program) << c.cell;
        EXPECT_TRUE(h.parameters.empty());
        if (h.refused) {
            EXPECT_FALSE(h.message.empty());
        }
    }
    EXPECT_EQ(planMail("", "a@b.jp").program, "mailto:a@b.jp");
    EXPECT_EQ(planMail("", "a@b.jp?attach=/etc/passwd").program,
              "mailto:a@b.jp%3Fattach%3D%2Fetc%2Fpasswd");
    EXPECT_TRUE(planMail("x?y", "-x").refused);
}

TEST(Dial, TelUri) {
    struct Case {
        std::string field;
        std::string uri;
    };
    const Case cases[] = {
        {"03-1234-5678", "tel:03-1234-5678"},
        {"03 1234 5678", "tel:0312345678"},
        {"０３－１２３４＃", "tel:03-1234%23"},
        {"+81(3)1234,5;x", "tel:+81(3)1234,5;x"},
        {"1/2", "tel:1%2F2"},
        {"内線", "tel:%E5%86%85%E7%B7%9A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(telUri(c.field), c.uri) << c.field;
    // Cut to 255 CP932 bytes on a character boundary.
    std::string wide = "1";
    for (int i = 0; i < 130; ++i)
        wide += "内";
    EXPECT_EQ(dialNumber(wide).size(), 1u + 127 * 3);
}

TEST(Dial, DialerCommandLine) {
    const DialPlan open = planDial("", "03-1", "Sato(ACME)");
    EXPECT_TRUE(open.open);
    EXPECT_EQ(open.uri, "tel:03-1");

    const DialPlan placed =
        planDial("\"/opt/my dialer\" --uri=%u -n %n --who \"%c\"", "03 1", "Sato (ACME)");
    EXPECT_FALSE(placed.open);
    EXPECT_EQ(placed.program, "/opt/my dialer");
    EXPECT_EQ(placed.arguments,
              (std::vector<std::string>{"--uri=tel:031", "-n", "03 1", "--who", "Sato (ACME)"}));
    const DialPlan appended = planDial("linphone -c", "1", "");
    EXPECT_EQ(appended.program, "linphone");
    EXPECT_EQ(appended.arguments, (std::vector<std::string>{"-c", "tel:1"}));
}

TEST(CommandLine, QuoteIsTheInverseOfSplit) {
    const std::string cases[] = {"",      "a",     "a b",    "\"", "\\", "a\\",
                                 "a\\\"", "\\\\ ", "x\"\"y", "\t", "-x", "\\\\server\\share"};
    for (const auto& c : cases) {
        EXPECT_EQ(platform::splitCommandLine(platform::quoteCommandLineArgument(c)),
                  std::vector<std::string>{c})
            << c;
    }
    const std::vector<std::string> many{"a b", "", "c\"d", "e\\"};
    EXPECT_EQ(platform::splitCommandLine(platform::joinCommandLine(many)), many);
}

}  // namespace
}  // namespace hinagiku::phonebook
