#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "richtext/entry_text.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

using testing::sjis;

// A document as a Japanese rich-edit control starts it, around `body`.
std::string richEdit(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fnil"
           "\\fcharset128 " +
           sjis("ＭＳ Ｐゴシック") +
           ";}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
           "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 " +
           body + "\r\n}\r\n";
}

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class PlainTextOf : public ::testing::TestWithParam<TextCase> {};

TEST_P(PlainTextOf, MatchesWhatTheUserSees) {
    EXPECT_EQ(entryPlainText(GetParam().input), GetParam().expected);
}

std::string caseName(const ::testing::TestParamInfo<TextCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, PlainTextOf,
    ::testing::Values(
        TextCase{"JapaneseWithNulAfterLastBrace",
                 richEdit(sjis("今日は晴れ") + "\\par") + std::string(1, '\0'), "今日は晴れ"},
        TextCase{"LastParEndsTheLastParagraph", richEdit("a\\par b\\par"), "a\nb"},
        TextCase{"EmptyParagraphAtTheEnd", richEdit("a\\par\\par"), "a\n"},
        TextCase{"TextAfterTheLastPar", "{\\rtf1 a\\par b}", "a\nb"},
        TextCase{"LineAndTab", richEdit("a\\line b\\tab c\\par"), "a\nb\tc"},
        TextCase{"PageBreakIsAParagraph", "{\\rtf1 a\\page b}", "a\nb"},
        TextCase{"CellsAndRows", "{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\nc"},
        TextCase{"EscapedCharacters", "{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
        TextCase{"SpecialSpacesAndHyphens", "{\\rtf1 a\\~b\\-c\\_d}", "a bc-d"},
        TextCase{"NamedCharacters",
                 "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
                 "—–•‘’“”"},
        TextCase{"BackslashNewlineIsPar", "{\\rtf1 a\\\r\nb}", "a\nb"},
        TextCase{"LiteralLineEndsAreNoText", "{\\rtf1 a\r\nb\nc}", "abc"},
        TextCase{"EmptyDocument", "{\\rtf1}", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Unicode, PlainTextOf,
    ::testing::Values(
        TextCase{"SkipsOneFallbackByDefault", "{\\rtf1 \\u12354?x}", "あx"},
        TextCase{"NoFallbackWithUc0", "{\\rtf1\\uc0\\u12354 x}", "あx"},
        TextCase{"DoubleByteFallbackWithUc2", "{\\rtf1\\uc2\\u12354\\'82\\'a0x}", "あx"},
        TextCase{"DoubleByteFallbackUnderUc1", "{\\rtf1\\uc1\\u12354\\'82\\'a0x}", "あx"},
        TextCase{"EscapedLeadByteFallbackKeepsTheNextLetter",
                 "{\\rtf1\\ansi\\ansicpg932 \\u8216\\'93hi\\u8217\\'94}", "\u2018hi\u2019"},
        TextCase{"LiteralDoubleByteFallbackUnderUc1", "{\\rtf1\\uc1\\u12354\x82\xa0x}", "あx"},
        TextCase{"UcIsScopedByGroups", "{\\rtf1{\\uc0\\u12354}\\u12356?}", "あい"},
        TextCase{"NegativeValues", "{\\rtf1 \\u-243?}", "\uFF0D"},
        TextCase{"SurrogatePair", "{\\rtf1 \\u-10179?\\u-8694?}", "😊"},
        TextCase{"LoneSurrogate", "{\\rtf1 \\u-10179?x}", "\uFFFDx"},
        TextCase{"GroupEndsTheFallback", "{\\rtf1\\uc3{\\u12354}x}", "あx"},
        TextCase{"ControlWordEndsTheFallback", "{\\rtf1\\uc2\\u12354\\par x}", "あ\nx"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    CodePages, PlainTextOf,
    ::testing::Values(
        TextCase{"LeadByteWithLiteralTrail", richEdit("\\'83A\\'83C"), "アイ"},
        TextCase{"TrailByteIsABackslash", richEdit("\\'95\\\\\\'8e\\'a6"), "表示"},
        TextCase{"TrailByteIsABrace", richEdit("\\'96\\{"), "本"},
        TextCase{"TrailByteAfterAFormatChange", richEdit("\\'93{\\b \\'fa}"), "日"},
        TextCase{"NoAnsicpgMeansCp932", "{\\rtf1\\ansi \\'82\\'a0}", "あ"},
        TextCase{"FontCharsetBeatsAnsicpg",
                 "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil"
                 "\\fcharset128 MS Gothic;}}\\f0 caf\\'e9 \\f1\\'82\\'a0}",
                 "café あ"},
        TextCase{
            "EastAsianAndEuropeanCharsets",
            "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset134 SimSun;}{\\f1\\fcharset129 "
            "Gulim;}{\\f2\\fcharset136 MingLiU;}{\\f3\\fcharset161 Greek;}{\\f4\\fcharset204 "
            "Cyr;}{\\f5\\fcharset238 CE;}{\\f6\\fcharset222 Thai;}{\\f7\\fcharset162 Tur;}}"
            "\\f0\\'d6\\'d0\\'ce\\'c4 \\f1\\'c7\\'d1\\'b1\\'b9 \\f2\\'a4\\'a4\\'a4\\'e5 \\f3\\'e1"
            "\\'e2 \\f4\\'c6\\'e6 \\f5\\'a3\\'b3 \\f6\\'a1 \\f7\\'fe}",
            "中文 한국 中文 αβ Жж Łł ก ş"},
        TextCase{"CpgOverridesCharset", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 X;}}\\f0\\'c6}",
                 "Ж"},
        TextCase{"MacCharset", "{\\rtf1\\mac \\'8e}", "é"},
        TextCase{"InvalidBytesBecomeReplacementCharacters", richEdit("\\'85\\'40\\'ff"),
                 "\uFFFD@\uFFFD"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Destinations, PlainTextOf,
    ::testing::Values(
        TextCase{"IgnorableDestinations",
                 "{\\rtf1{\\*\\generator Riched20 10.0;}{\\*\\unknown junk{\\x more}}a}", "a"},
        TextCase{"DocumentInfoAndStyles",
                 "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}a}", "a"},
        TextCase{"PictureHexData", "{\\rtf1 a{\\pict\\wmetafile8\\picw10 0102abcdef}b}", "ab"},
        TextCase{"BinaryDataWithBraces", "{\\rtf1 a{\\pict\\bin5 }{\\}x}b}", "ab"},
        TextCase{"FieldShowsItsResult",
                 "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}}", "link"},
        TextCase{
            "BulletTextIsNotText",
            "{\\rtf1\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}a\\par}",
            "a"},
        TextCase{"ListTextIsNotText", "{\\rtf1{\\listtext\\pard\\plain \\u8226?\\tab}a\\par}", "a"},
        TextCase{"UnicodeHalfOfUpr", "{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "uni"},
        TextCase{"HiddenText", "{\\rtf1 a{\\v hidden}b\\v0 c}", "abc"},
        TextCase{"UnknownControlWordsAreIgnored", "{\\rtf1\\foo123 a\\bar-5b\\qux c}", "abc"},
        TextCase{"TextAfterTheDocumentIsIgnored", "{\\rtf1 a}b{\\rtf1 c}", "a"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    PlainFiles, PlainTextOf,
    ::testing::Values(
        TextCase{"Cp932WithCrLf", "\x88\xea\x8d\x73\x96\xda\r\n\x93\xf1\x8d\x73\x96\xda",
                 "一行目\n二行目"},
        TextCase{"LfLineEnds", "a\nb\n", "a\nb\n"}, TextCase{"CrLineEnds", "a\rb", "a\nb"},
        TextCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF\xE3\x81\x82\r\n", "あ\n"},
        TextCase{"ParagraphSeparatorInUtf8",
                 "\xEF\xBB\xBF"
                 "a\u2029b\u2028c",
                 "a\nb\nc"},
        TextCase{"NotQuiteRtf", "{\\rtx1 a}", "{\\rtx1 a}"}, TextCase{"Empty", "", ""}),
    caseName);

TEST(IsRtf, NeedsTheRtfGroupAtTheStartAfterWhiteSpace) {
    EXPECT_TRUE(isRtf("{\\rtf1 x}"));
    EXPECT_TRUE(isRtf("\r\n {\\rtf1 x}"));
    EXPECT_TRUE(isRtf("{\\rtf"));
    EXPECT_FALSE(isRtf("x{\\rtf1 x}"));
    EXPECT_FALSE(isRtf("{\\RTF1 x}"));
    EXPECT_FALSE(isRtf(""));
}

// ---- formatting ------------------------------------------------------------

const Run& onlyRun(const RichText& text, std::size_t paragraph = 0) {
    static const Run none;
    if (paragraph >= text.paragraphs.size() || text.paragraphs[paragraph].runs.size() != 1) {
        ADD_FAILURE() << "paragraph " << paragraph << " has not exactly one run";
        return none;
    }
    return text.paragraphs[paragraph].runs.front();
}

TEST(ReadRtf, CharacterFormats) {
    const RichText text = readRtf(richEdit(
        "a\\b b\\b0\\i i\\i0\\ul u\\ulnone\\strike s\\strike0\\cf1 r\\cf0\\fs21 h\\plain p\\par"));
    ASSERT_EQ(text.paragraphs.size(), 1u);
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 8u);
    const CharFormat base{"ＭＳ Ｐゴシック", 18, false, false, false, false, std::nullopt};
    EXPECT_EQ(runs[0].format, base);
    CharFormat f = base;
    f.bold = true;
    EXPECT_EQ(runs[1].format, f) << runs[1].text;
    f = base;
    f.italic = true;
    EXPECT_EQ(runs[2].format, f);
    f = base;
    f.underline = true;
    EXPECT_EQ(runs[3].format, f);
    f = base;
    f.strikeOut = true;
    EXPECT_EQ(runs[4].format, f);
    f = base;
    f.color = 0xFF0000;
    EXPECT_EQ(runs[5].format, f);
    f = base;
    f.halfPoints = 21;
    EXPECT_EQ(runs[6].format, f);
    // \plain: the default font at RTF's default 12 pt.
    f = base;
    f.halfPoints = 24;
    EXPECT_EQ(runs[7].format, f);
    EXPECT_EQ(runs[7].text, "p");
}

TEST(ReadRtf, FormatsAreScopedByGroups) {
    const RichText text = readRtf(richEdit("{\\b\\i\\fs40 x}y\\par"));
    ASSERT_EQ(text.paragraphs[0].runs.size(), 2u);
    EXPECT_TRUE(text.paragraphs[0].runs[0].format.bold);
    EXPECT_EQ(text.paragraphs[0].runs[0].format.halfPoints, 40);
    EXPECT_FALSE(text.paragraphs[0].runs[1].format.bold);
    EXPECT_EQ(text.paragraphs[0].runs[1].format.halfPoints, 18);
}

TEST(ReadRtf, UnderlineVariantsAndToggleParameters) {
    const RichText text = readRtf("{\\rtf1\\uldb a\\ul0 b\\ulwave c\\b1 d\\b0 e}");
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_TRUE(runs[0].format.underline);
    EXPECT_FALSE(runs[1].format.underline);
    EXPECT_TRUE(runs[2].format.underline);
    EXPECT_TRUE(runs[3].format.bold);
    EXPECT_FALSE(runs[4].format.bold);
}

TEST(ReadRtf, ColourZeroIsTheDefaultColourEvenWhenTheTableNamesOne) {
    // Rich-edit controls write their default text colour this way.
    const RichText text = readRtf(
        "{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}a\\cf1 b\\cf0 c\\cf9 d}");
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].format.color, std::nullopt);
    EXPECT_EQ(runs[1].format.color, 0x0000FFu);
    EXPECT_EQ(runs[2].format.color, std::nullopt);  // "c" and the unknown colour 9
    EXPECT_EQ(runs[2].text, "cd");
}

TEST(ReadRtf, FontNamesInTheirCharsetsCodePage) {
    const RichText text = readRtf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset128 " +
                                  sjis("ＭＳ 明朝") +
                                  ";}{\\f1\\fswiss Arial{\\*\\falt "
                                  "Helvetica};}{\\f2\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                                  "\\f0 a\\f1 b\\f2 c\\f7 d}");
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].format.family, "ＭＳ 明朝");
    EXPECT_EQ(runs[1].format.family, "Arial");
    EXPECT_EQ(runs[2].format.family, "宋体");
    EXPECT_EQ(runs[3].format.family, "");  // not in the table: the editor's font
}

TEST(ReadRtf, FontTableWithoutGroupsAndDefaultFont) {
    const RichText text =
        readRtf("{\\rtf1\\deff1{\\fonttbl\\f0 Times;\\f1 Courier;}x\\f0 y\\plain z}");
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].format.family, "Courier");
    EXPECT_EQ(runs[1].format.family, "Times");
    EXPECT_EQ(runs[2].format.family, "Courier");
}

TEST(ReadRtf, ParagraphFormats) {
    const RichText text =
        readRtf(richEdit("\\pard\\qc c\\par\\pard\\qr r\\par\\pard\\qj j\\par"
                         "\\pard\\fi-360\\li720\\ri100 i\\par\\pard l\\par"));
    ASSERT_EQ(text.paragraphs.size(), 5u);
    EXPECT_EQ(text.paragraphs[0].format.alignment, Alignment::Center);
    EXPECT_EQ(text.paragraphs[1].format.alignment, Alignment::Right);
    EXPECT_EQ(text.paragraphs[2].format.alignment, Alignment::Justify);
    EXPECT_EQ(text.paragraphs[3].format, (ParagraphFormat{Alignment::Left, -360, 720, 100}));
    EXPECT_EQ(text.paragraphs[4].format, ParagraphFormat{});
}

TEST(ReadRtf, ParagraphFormatPersistsUntilPard) {
    const RichText text = readRtf("{\\rtf1\\qc a\\par b\\par\\pard c\\par}");
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[1].format.alignment, Alignment::Center);
    EXPECT_EQ(text.paragraphs[2].format.alignment, Alignment::Left);
}

TEST(ReadRtf, RichEditBullets) {
    const RichText text = readRtf(
        richEdit("\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
                 "\\fi-200\\li200 one\\par{\\pntext\\f1\\'b7\\tab}two\\par\\pard three\\par"));
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[0].format.list, ListStyle::Bullet);
    EXPECT_EQ(text.paragraphs[0].format.firstIndent, -200);
    EXPECT_EQ(text.paragraphs[1].format.list, ListStyle::Bullet);
    EXPECT_EQ(text.paragraphs[2].format.list, ListStyle::None);
    EXPECT_EQ(plainText(text), "one\ntwo\nthree");
}

TEST(ReadRtf, NumberedParagraphs) {
    const RichText text = readRtf(
        "{\\rtf1\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnucrm"
        "{\\pntxta.}}a\\par}");
    EXPECT_EQ(text.paragraphs[0].format.list, ListStyle::UpperRoman);
}

TEST(ReadRtf, WordAndLibreOfficeLists) {
    const RichText text = readRtf(
        "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext "
        "\\'01\\u8226 ?;}{\\levelnumbers;}}{\\listlevel\\levelnfc0}\\listid7}{\\list{\\listlevel"
        "\\levelnfc4}\\listid8}}{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0"
        "\\ls1}{\\listoverride\\listid8\\ls2}}{\\listtext \\u8226 ?\\tab}\\ls1 a\\par\\pard\\ls2 b"
        "\\par\\pard\\ls5 c\\par}");
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[0].format.list, ListStyle::Bullet);
    EXPECT_EQ(text.paragraphs[1].format.list, ListStyle::LowerAlpha);
    EXPECT_EQ(text.paragraphs[2].format.list, ListStyle::Bullet);  // unknown list
    EXPECT_EQ(plainText(text), "a\nb\nc");
}

TEST(ReadRtf, AssociatedPropertiesFormatDoubleByteText) {
    // LibreOffice gives the size and bold of Japanese text as \afs and \ab.
    const RichText text = readRtf(
        "{\\rtf1{\\fonttbl{\\f0\\fcharset0 Liberation Serif;}{\\f5\\fcharset128 " +
        sjis("ＭＳ ゴシック") +
        ";}}\\pard\\plain\\f0\\fs24{\\hich\\af5\\loch\\f5\\dbch\\afs20\\ab\\dbch \\u26085\\'3f}"
        "{\\hich\\af5\\loch\\f0\\fs24\\dbch\\afs20\\ab\\loch x}\\par}");
    const auto& runs = text.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "日");
    EXPECT_EQ(runs[0].format.family, "ＭＳ ゴシック");
    EXPECT_EQ(runs[0].format.halfPoints, 20);
    EXPECT_TRUE(runs[0].format.bold);
    EXPECT_EQ(runs[1].format.family, "Liberation Serif");
    EXPECT_EQ(runs[1].format.halfPoints, 24);
    EXPECT_FALSE(runs[1].format.bold);
}

TEST(ReadRtf, LineBreakIsALineSeparatorInsideTheParagraph) {
    const RichText text = readRtf("{\\rtf1 a\\line b}");
    ASSERT_EQ(text.paragraphs.size(), 1u);
    EXPECT_EQ(onlyRun(text).text, "a\u2028b");
}

TEST(ReadPlainText, HasNoFormats) {
    const RichText text = readRichText("a\r\nb");
    ASSERT_EQ(text.paragraphs.size(), 2u);
    EXPECT_EQ(onlyRun(text, 1).format, CharFormat{});
    EXPECT_EQ(text.paragraphs[1].format, ParagraphFormat{});
}

}  // namespace
}  // namespace hinagiku::richtext
