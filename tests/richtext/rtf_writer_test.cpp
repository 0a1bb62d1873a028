#include "richtext/rtf_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "richtext/rtf_reader.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

using testing::sjis;

Paragraph paragraph(std::vector<Run> runs, ParagraphFormat format = {}) {
    return Paragraph{format, std::move(runs)};
}

CharFormat font(std::string family, int halfPoints = 18) {
    CharFormat f;
    f.family = std::move(family);
    f.halfPoints = halfPoints;
    return f;
}

// Every format the editors offer, on Japanese and ASCII text.
RichText everyFormat() {
    CharFormat bold = font("ＭＳ ゴシック", 24);
    bold.bold = true;
    CharFormat italicRed = font("Arial", 21);
    italicRed.italic = true;
    italicRed.color = 0xFF0000;
    CharFormat underStrike = font("ＭＳ Ｐ明朝", 36);
    underStrike.underline = true;
    underStrike.strikeOut = true;
    underStrike.color = 0x00804F;
    RichText text;
    text.paragraphs = {
        paragraph({{font("ＭＳ Ｐゴシック"), "普通の文字 plain "}, {bold, "太字"}},
                  {Alignment::Center, 0, 0, 0, ListStyle::None}),
        paragraph({{italicRed, "italic 赤"}}, {Alignment::Right, 100, 200, 300, ListStyle::None}),
        paragraph({{underStrike, "下線と取り消し線"}},
                  {Alignment::Left, -360, 360, 0, ListStyle::Bullet}),
        paragraph({{font("ＭＳ Ｐゴシック"), "二つ目の項目"}},
                  {Alignment::Left, -360, 360, 0, ListStyle::Bullet}),
        paragraph({}, {}),
        paragraph({{font("ＭＳ Ｐゴシック"), "記号 \\ { } \t タブ\u2028改行"}},
                  {Alignment::Justify, 0, 0, 0, ListStyle::Decimal}),
    };
    return text;
}

TEST(WriteRtf, HeaderAsAJapaneseRichEditWritesIt) {
    const std::string rtf = writeRtf(everyFormat());
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg932\\deff0", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset128" + sjis("ＭＳ Ｐゴシック") + ";}"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\fcharset128" + sjis("ＭＳ ゴシック") + ";}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue79;}"),
              std::string::npos);
    EXPECT_NE(rtf.find(sjis("太字")), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
    for (const char c : rtf) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit text";
    }
}

TEST(WriteRtf, AsciiTextInAWesternFontKeepsAWesternCharset) {
    RichText text;
    text.paragraphs = {paragraph({{font("Arial"), "abc 日本"}})};
    const std::string rtf = writeRtf(text);
    EXPECT_NE(rtf.find("{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset128 Arial;}"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\f1 abc \\f2" + sjis("日本")), std::string::npos) << rtf;
}

TEST(WriteRtf, EscapesRtfCharacters) {
    const std::string rtf = plainTextToRtf("a\\b{c}d\te");
    EXPECT_NE(rtf.find(" a\\\\b\\{c\\}d\\tab e\\par"), std::string::npos) << rtf;
}

struct CharacterCase {
    const char* name;
    const char* text;
    const char* written;  // how the body writes it
};

class WrittenCharacter : public ::testing::TestWithParam<CharacterCase> {};

// Characters CP932 cannot hold exactly go as \uN with a CP932 fallback, and
// every one of them reads back as itself.
TEST_P(WrittenCharacter, IsWrittenAsExpectedAndReadsBack) {
    const std::string rtf = plainTextToRtf(GetParam().text);
    EXPECT_NE(rtf.find(GetParam().written), std::string::npos) << rtf;
    const RichText read = readRtf(rtf);
    ASSERT_EQ(read.paragraphs.size(), 1u);
    ASSERT_EQ(read.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(read.paragraphs[0].runs[0].text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, WrittenCharacter,
    ::testing::Values(CharacterCase{"Hiragana", "あ", "\\'82\\'a0"},
                      CharacterCase{"HalfWidthKatakana", "ｱ", "\\'b1"},
                      CharacterCase{"NecSpecial", "①", "\\'87\\'40"},
                      CharacterCase{"FullWidthTilde", "～", "\\'81\\'60"},
                      CharacterCase{"WaveDashHasALookAlike", "〜",
                                    "\\uc2\\u12316\\'81\\'60\\uc1\\par"},
                      CharacterCase{"YenSignIsNotABackslash", "¥", "\\u165\\'5c"},
                      CharacterCase{"OverlineIsNotATilde", "‾", "\\u8254~"},
                      CharacterCase{"EmDash", "—", "\\uc2\\u8212\\'81\\'5c\\uc1\\par"},
                      CharacterCase{"LatinAccent", "é", "\\u233?"},
                      CharacterCase{"Hangul", "한", "\\u-10916?"},
                      CharacterCase{"OutsideTheBmp", "😊", "\\u-10179?\\u-8694?"},
                      CharacterCase{"NoBreakSpace", "a\u00A0b", "a\\~b"},
                      CharacterCase{"Digits", "¥1", "\\u165\\'5c1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteRtf, ReadingWhatWeWriteGivesTheSameDocument) {
    const RichText original = everyFormat();
    EXPECT_EQ(readRtf(writeRtf(original)), original);
}

TEST(WriteRtf, WriteReadWriteGivesTheSameBytes) {
    const std::string first = writeRtf(everyFormat());
    EXPECT_EQ(writeRtf(readRtf(first)), first);
    const std::string plain = plainTextToRtf("一行目\n\n三行目 ～ 〜 ¥ 😊\n");
    EXPECT_EQ(writeRtf(readRtf(plain)), plain);
}

TEST(WriteRtf, CharactersWithoutFontTakeTheDefaultFont) {
    const RichText read = readRtf(plainTextToRtf("x", DefaultFont{"ＭＳ ゴシック", 20}));
    ASSERT_EQ(read.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(read.paragraphs[0].runs[0].format, font("ＭＳ ゴシック", 20));
}

TEST(WriteRtf, EveryParagraphEndsWithPar) {
    EXPECT_NE(plainTextToRtf("").find("\\fs18\\pard\\par\r\n}"), std::string::npos);
    EXPECT_EQ(plainText(readRtf(plainTextToRtf(""))), "");
    EXPECT_EQ(plainText(readRtf(plainTextToRtf("a\n"))), "a\n");
    EXPECT_EQ(plainText(readRtf(plainTextToRtf("a\r\nb"))), "a\nb");
}

TEST(WriteRtf, ListsCarryTheirTextForOlderReaders) {
    const std::string rtf = writeRtf(everyFormat());
    EXPECT_NE(rtf.find("{\\pntext\\f5\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf5\\pnindent0{\\pntxtb\\'b7}}"
                       "\\fi-360\\li360"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody"), std::string::npos);
}

}  // namespace
}  // namespace hinagiku::richtext
