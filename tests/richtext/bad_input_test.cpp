// Broken, hostile and random input: the reader never crashes, hangs or
// grows without bound, and what it reads writes and reads back unchanged.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

// The properties every input must keep; the fuzzer checks the same.
void expectStable(std::string_view bytes) {
    const RichText text = readRichText(bytes);
    EXPECT_EQ(entryPlainText(bytes), plainText(text));
    const std::string first = writeRtf(text);
    EXPECT_EQ(writeRtf(readRtf(first)), first);
    EXPECT_EQ(plainText(readRtf(first)), plainText(text));
}

struct BadCase {
    const char* name;
    std::string input;
    std::string expected;  // plain text
};

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, ReadsWhatCanBeRead) {
    EXPECT_EQ(entryPlainText(GetParam().input), GetParam().expected);
    expectStable(GetParam().input);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        BadCase{"MissingClosingBraces", "{\\rtf1 {{{\\b a", "a"},
        BadCase{"ExtraClosingBraces", "{\\rtf1 a}}}}b", "a"},
        BadCase{"ThirtyDigitNumbers",
                "{\\rtf1\\fs999999999999999999999999999999 a\\li-999999999999999999999999999999 b"
                "\\uc999999999999999999999999999999 c\\u999999999999999999999999999999 d}",
                "abc"},
        BadCase{"HugeUnicodeSkipStopsAtTheGroupEnd", "{\\rtf1{\\uc9999\\u12354 abc}d}", "あd"},
        BadCase{"TruncatedHexEscape", "{\\rtf1 a\\'", "a"},
        BadCase{"HalfAHexEscape", "{\\rtf1 a\\'4x}", "ax"},
        BadCase{"BackslashAtTheEnd", "{\\rtf1 a\\", "a"},
        BadCase{"ControlWordAtTheEnd", "{\\rtf1 a\\par", "a"},
        BadCase{"LeadByteAtTheEnd", "{\\rtf1 a\\'82}", "a\uFFFD"},
        BadCase{"BinLengthPastTheEnd", "{\\rtf1 a\\bin999999999 bcd}", "a"},
        BadCase{"NegativeBinLength", "{\\rtf1 a\\bin-5 b}", "ab"},
        BadCase{"ColourTableAbuse",
                "{\\rtf1{\\colortbl\\red999\\green-5\\blue;;;}\\cf-1 a\\cf2147483647 b}", "ab"},
        BadCase{"FontTableAbuse",
                "{\\rtf1{\\fonttbl{\\f-1\\fcharset-9 x}{\\f99999999999\\cpg99999 y;}\\f}\\f-1 a}",
                "a"},
        BadCase{"UnterminatedDestinations", "{\\rtf1 a{\\*\\pn{\\pntxtb{\\pict 00ff", "a"},
        BadCase{"NulBytesInside", std::string("{\\rtf1 a\0b\\'00c}", 17), "abc"},
        BadCase{"OnlyTheHeader", "{\\rtf", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadInput, HundredThousandNestedGroups) {
    const std::string deep =
        "{\\rtf1" + std::string(100000, '{') + "\\b x" + std::string(100000, '}') + "y}";
    EXPECT_EQ(entryPlainText(deep), "xy");
    expectStable(deep);
}

TEST(BadInput, LargeHostileInputsReadInLinearTime) {
    const std::vector<std::string> inputs = {
        "{\\rtf1" + std::string(1 << 20, '{'),
        "{\\rtf1" + std::string(1 << 20, '}'),
        [] {
            std::string s = "{\\rtf1";
            for (int i = 0; i < 100000; ++i)
                s += "\\u12354\\'82";
            return s;
        }(),
        [] {
            std::string s = "{\\rtf1{\\fonttbl";
            for (int i = 0; i < 50000; ++i)
                s += "{\\f" + std::to_string(i) + " F;}";
            return s + "}x}";
        }(),
        "{\\rtf1\\" + std::string(1 << 20, 'a') + " x}",
    };
    for (const auto& input : inputs) {
        const auto start = std::chrono::steady_clock::now();
        entryPlainText(input);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(2)) << input.substr(0, 40);
    }
}

TEST(BadInput, RandomBytes) {
    std::mt19937 random(20240601);
    const std::string alphabet = "{}\\\\\\'*;0123456789-abfilpru \r\n\x82\xa0\x00\xff";
    const char* const words[] = {"\\par",       "\\u-10179",   "\\uc2",        "\\bin3 ",
                                 "{\\fonttbl",  "{\\colortbl", "\\f1",         "\\'8",
                                 "{\\*\\pn",    "\\pnlvlblt",  "{\\listtable", "\\ls1",
                                 "\\dbch\\af1", "\\plain",     "\\pard"};
    for (int i = 0; i < 3000; ++i) {
        std::string input = i % 2 ? "{\\rtf1" : "";
        const std::size_t length = random() % 600;
        while (input.size() < length) {
            if (random() % 4 == 0) {
                input += words[random() % std::size(words)];
            } else if (random() % 8 == 0) {
                input.push_back(static_cast<char>(random()));
            } else {
                input.push_back(alphabet[random() % alphabet.size()]);
            }
        }
        SCOPED_TRACE(input);
        expectStable(input);
        if (HasFailure())
            break;
    }
}

// Inputs the fuzzer found once; each must stay harmless.
TEST(BadInput, FuzzerRegressions) {
    const std::filesystem::path folder = testing::dataPath("regressions");
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        expectStable(testing::readFile(entry.path().string()));
        ++count;
    }
    EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace hinagiku::richtext
