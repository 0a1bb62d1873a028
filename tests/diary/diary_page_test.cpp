#include <gtest/gtest.h>

#include <string>

#include "diary/diary_page.h"
#include "platform/cp932.h"

namespace hinagiku::diary {
namespace {

using platform::toCp932;

TEST(DiaryPage, KeysInAnyCaseAndOrderValuesKeepTheirCase) {
    const std::string bytes =
        "kiv_width:400\r\nTiTlE:Mixed Case\r\nweather:Fine\r\nkiv_readonly:true\r\n"
        "Kiv_FontColor:-2147483640\r\nkiv_backcolor:255\r\nkiv_top:10\r\nkiv_left:-20\r\n"
        "KIV_HEIGHT:300\r\nbmp:C:\\Pic\\A.bmp\r\n:end\r\nbody";
    const ParsedPage page = parsePage(bytes);
    ASSERT_EQ(page.refusal, Refusal::None);
    EXPECT_EQ(page.header.title, "Mixed Case");
    EXPECT_EQ(page.header.weather, "Fine");
    EXPECT_TRUE(page.header.readOnly);
    EXPECT_EQ(page.header.fontColor, -2147483640);
    EXPECT_EQ(page.header.backColor, 255);
    EXPECT_EQ(page.header.top, 10);
    EXPECT_EQ(page.header.left, -20);
    EXPECT_EQ(page.header.height, 300);
    EXPECT_EQ(page.header.width, 400);
    EXPECT_EQ(page.header.picture, "C:\\Pic\\A.bmp");
    EXPECT_EQ(page.body, "body");
    EXPECT_TRUE(page.problems.empty());
}

TEST(DiaryPage, EndLineIsAnyLineStartingWithEndInAnyCase) {
    struct Case {
        const char* bytes;
        Refusal refusal;
        const char* body;
    };
    const Case cases[] = {
        {"TITLE:a\r\n:END\r\nx", Refusal::None, "x"},
        {"TITLE:a\n:end\nx\n", Refusal::None, "x\n"},
        {"TITLE:a\r:EnDing\rx", Refusal::None, "x"},
        {":END", Refusal::None, ""},
        {"TITLE:a\r\n END\r\nx", Refusal::Damaged, ""},
        {"", Refusal::Damaged, ""},
        {"TITLE:a\r\n", Refusal::Damaged, ""},
        {"CIPHER:Blowfish\r\n:END\r\n", Refusal::Cipher, ""},
        {"code:html\r\n:END\r\n", Refusal::Html, ""},
        {"CIPHER:x\r\n", Refusal::Cipher, ""},
    };
    for (const Case& c : cases) {
        const ParsedPage page = parsePage(c.bytes);
        EXPECT_EQ(page.refusal, c.refusal) << c.bytes;
        EXPECT_EQ(page.body, c.body) << c.bytes;
    }
    EXPECT_EQ(parsePage("Cipher:Blowfish 448\r\n:END\r\n").cipherName, "Blowfish 448");
}

TEST(DiaryPage, ValuesAreCutAt256CharactersNotBytes) {
    std::string title;
    for (int i = 0; i < 300; ++i)
        title += "あ";
    const ParsedPage page = parsePage(toCp932("TITLE:" + title) + "\r\n:END\r\n");
    std::string expected;
    for (int i = 0; i < 256; ++i)
        expected += "あ";
    EXPECT_EQ(page.header.title, expected);
    const ParsedPage ascii = parsePage("WEATHER:" + std::string(1000, 'w') + "\r\n:END\r\n");
    EXPECT_EQ(ascii.header.weather, std::string(256, 'w'));
}

TEST(DiaryPage, ReadOnlyNeedsTrueInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"KIV_READONLY:TRUE", true},   {"KIV_READONLY:true", true}, {"kiv_readonly:TrUeish", true},
        {"KIV_READONLY:FALSE", false}, {"KIV_READONLY:1", false},   {"KIV_READONLY:", false},
    };
    for (const auto& [line, readOnly] : cases)
        EXPECT_EQ(parsePage(std::string(line) + "\r\n:END\r\n").header.readOnly, readOnly) << line;
}

TEST(DiaryPage, UnrecognisedLinesAreKeptAsBytesEmptyOnesDropped) {
    // NEC row 13 and an NEC-selected IBM extension (both have twins in
    // CP932), a lone lead byte and a byte that is no CP932 at all.
    const std::string nec = "X-NEC:\x87\x40\x87\x90\xED\x40";
    const std::string invalid = std::string("X-BAD:\x81\xFF\x80\xA0") + '\0' + "z";
    const std::string bytes = "TITLE:t\r\n" + nec + "\r\n\r\n" + invalid + "\r\n:END\r\nbody";
    const ParsedPage page = parsePage(bytes);
    ASSERT_EQ(page.header.kept.size(), 2u);
    EXPECT_EQ(page.header.kept[0], nec);
    EXPECT_EQ(page.header.kept[1], invalid);
    const std::string written = composePage(page.header, page.body, SaveStyle::Ordinary);
    EXPECT_NE(written.find("KIV_READONLY:FALSE\r\n" + nec + "\r\n" + invalid + "\r\n:END\r\nbody"),
              std::string::npos);
}

TEST(DiaryPage, WritesInTheTableOrder) {
    PageHeader header;
    header.title = "題";
    header.weather = "晴";
    header.picture = "/pics/a.Jpg";
    header.fontColor = static_cast<std::int32_t>(0x80000008u);
    header.backColor = static_cast<std::int32_t>(0x80000005u);
    header.top = 1;
    header.left = 2;
    header.height = 3;
    header.width = 4;
    header.kept = {"X:1", "", "Y:2"};
    EXPECT_EQ(
        composePage(header, "{\\rtf1}", SaveStyle::Ordinary),
        toCp932("TITLE:題\r\nWEATHER:晴\r\nCODE:RTF\r\nJPG:/pics/a.Jpg\r\n") +
            "KIV_FONTCOLOR:-2147483640\r\nKIV_BACKCOLOR:-2147483643\r\nKIV_TOP:1\r\n"
            "KIV_LEFT:2\r\nKIV_HEIGHT:3\r\nKIV_WIDTH:4\r\nKIV_READONLY:FALSE\r\nX:1\r\nY:2\r\n"
            ":END\r\n{\\rtf1}");
    EXPECT_EQ(
        composePage(header, "text", SaveStyle::PlainExport),
        toCp932("TITLE:題\r\nWEATHER:晴\r\nBMP:/pics/a.Jpg\r\n") +
            "KIV_FONTCOLOR:-2147483640\r\nKIV_BACKCOLOR:-2147483643\r\nKIV_TOP:1\r\n"
            "KIV_LEFT:2\r\nKIV_HEIGHT:3\r\nKIV_WIDTH:4\r\nKIV_READONLY:FALSE\r\nX:1\r\nY:2\r\n"
            ":END\r\ntext");
}

TEST(DiaryPage, PictureLineByUpperCasedExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.bmp", "BMP:"}, {"a.BMP", "BMP:"}, {"a.jpg", "JPG:"}, {"C:\\x\\b.JpG", "JPG:"},
        {"a.jpeg", ""},    {"a.gif", ""},     {"dir.bmp/x", ""}, {"noext", ""},
    };
    for (const auto& [path, key] : cases)
        EXPECT_EQ(pictureKey(path), key) << path;
    PageHeader header;
    header.picture = "a.gif";
    EXPECT_EQ(composePage(header, "", SaveStyle::Ordinary).find("a.gif"), std::string::npos);
}

TEST(DiaryPage, NumbersAreWholeSignedThirtyTwoBitValues) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-2147483643", static_cast<std::int32_t>(0x80000005u)},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"$80000008", static_cast<std::int32_t>(0x80000008u)},
        {"0xFF", 255},
        {"12abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {" 42", 42},
        {"42 ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseHeaderNumber(c.text), c.value) << c.text;
}

TEST(DiaryPage, BadNumbersAreReportedWithTheirLineAndIgnored) {
    const ParsedPage page = parsePage(
        "TITLE:t\r\nKIV_TOP:abc\r\nKIV_WIDTH:0\r\nKIV_HEIGHT:-5\r\nKIV_FONTCOLOR:1e3\r\n"
        "KIV_LEFT:7\r\n:END\r\nbody");
    ASSERT_EQ(page.refusal, Refusal::None);
    ASSERT_EQ(page.problems.size(), 4u);
    EXPECT_EQ(page.problems[0].line, 2);
    EXPECT_EQ(page.problems[1].line, 3);
    EXPECT_EQ(page.problems[2].line, 4);
    EXPECT_EQ(page.problems[3].line, 5);
    EXPECT_NE(page.problems[0].text.find("abc"), std::string::npos);
    EXPECT_FALSE(page.header.top);
    EXPECT_FALSE(page.header.width);
    EXPECT_FALSE(page.header.height);
    EXPECT_FALSE(page.header.fontColor);
    EXPECT_EQ(page.header.left, 7);
    EXPECT_EQ(page.body, "body");
}

TEST(DiaryPage, ReadAndWriteAgainGivesTheSameBytes) {
    const std::string original =
        toCp932("TITLE:日記\r\nWEATHER:雨\r\nCODE:RTF\r\nBMP:/p/x.BMP\r\n") +
        "KIV_FONTCOLOR:-2147483640\r\nKIV_BACKCOLOR:16777215\r\nKIV_TOP:5\r\nKIV_LEFT:6\r\n"
        "KIV_HEIGHT:438\r\nKIV_WIDTH:497\r\nKIV_READONLY:TRUE\r\nX-OWN:\x87\x40\r\n:END\r\n{\\rtf1 "
        "x}";
    const ParsedPage page = parsePage(original);
    EXPECT_EQ(composePage(page.header, page.body, SaveStyle::Ordinary), original);
}

TEST(DiaryPage, HugeHeaderLineCostsOnlyItsCut) {
    const std::string bytes = "TITLE:" + std::string(10 * 1024 * 1024, 'x') + "\r\n:END\r\nb";
    const ParsedPage page = parsePage(bytes);
    EXPECT_EQ(page.header.title.size(), 256u);
    EXPECT_EQ(page.body, "b");
    const ParsedPage number = parsePage("KIV_TOP:" + std::string(1000000, '9') + "\r\n:END\r\n");
    EXPECT_FALSE(number.header.top);
    EXPECT_EQ(number.problems.size(), 1u);
}

TEST(DiaryPage, FindHeaderEndWaitsForACompleteEndLine) {
    EXPECT_EQ(findHeaderEnd("TITLE:a\r\n:END\r\nbody"), 15u);
    EXPECT_EQ(findHeaderEnd("TITLE:a\r\n:END\r"), std::nullopt);
    EXPECT_EQ(findHeaderEnd("TITLE:a\r\n:EN"), std::nullopt);
    EXPECT_EQ(findHeaderEnd(":end\nx"), 5u);
}

TEST(DiaryPage, LegacyPageAndItsConversionBytes) {
    const std::string weatherLine = toCp932("【天気】晴れ");
    const std::string legacy =
        toCp932("古い題") + "\r\n" + weatherLine + "\r\n" + "line \x87\x40\r\n\r\nlast";
    const LegacyPage page = parseLegacyPage(legacy);
    EXPECT_EQ(page.title, toCp932("古い題"));
    EXPECT_EQ(page.weather, toCp932("晴れ"));
    ASSERT_EQ(page.bodyLines.size(), 3u);
    EXPECT_EQ(convertLegacyPage(page), "TITLE:" + toCp932("古い題") +
                                           "\r\nWEATHER:" + toCp932("晴れ") +
                                           "\r\n:END\r\nline \x87\x40\r\n\r\nlast\r\n");

    // A second line that is not the weather line starts the body.
    const LegacyPage plain = parseLegacyPage("t\nnot weather\nmore\n");
    EXPECT_EQ(plain.weather, "");
    ASSERT_EQ(plain.bodyLines.size(), 2u);
    EXPECT_EQ(plain.bodyLines[0], "not weather");

    // The weather is cut at 256 bytes, never inside a character.
    const LegacyPage longWeather =
        parseLegacyPage("t\r\n" + toCp932("【天気】a" + std::string(300, 'b')));
    EXPECT_EQ(longWeather.weather.size(), 256u);
    std::string wide = "t\r\n" + toCp932("【天気】a");
    for (int i = 0; i < 200; ++i)
        wide += toCp932("雪");
    EXPECT_EQ(parseLegacyPage(wide).weather.size(), 255u);
}

TEST(DiaryPage, GarbageNeverThrows) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes.push_back(static_cast<char>((i * 7919) & 0xFF));
    EXPECT_NO_THROW(parsePage(bytes));
    EXPECT_NO_THROW(parseLegacyPage(bytes));
    EXPECT_EQ(parsePage(std::string(100, '\0')).refusal, Refusal::Damaged);
}

}  // namespace
}  // namespace hinagiku::diary
