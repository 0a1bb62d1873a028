// RTF files written by other programs, each with the plain text a user sees
// in it (UTF-8, LF) beside it as NAME.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

std::vector<std::string> corpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testing::dataPath("corpus"))) {
        if (entry.path().extension() == ".rtf")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Corpus : public ::testing::TestWithParam<std::string> {};

TEST_P(Corpus, GivesTheExpectedPlainText) {
    const std::string base = testing::dataPath("corpus/" + GetParam());
    const std::string rtf = testing::readFile(base + ".rtf");
    ASSERT_TRUE(isRtf(rtf));
    EXPECT_EQ(entryPlainText(rtf), testing::readFile(base + ".txt"));
}

TEST_P(Corpus, OurRtfOfItKeepsTheText) {
    const std::string rtf = testing::readFile(testing::dataPath("corpus/" + GetParam() + ".rtf"));
    const RichText text = readRtf(rtf);
    const std::string ours = writeRtf(text);
    EXPECT_EQ(plainText(readRtf(ours)), plainText(text));
    EXPECT_EQ(writeRtf(readRtf(ours)), ours);
}

TEST(CorpusFormats, LibreOfficeWriterFile) {
    const RichText text =
        readRtf(testing::readFile(testing::dataPath("corpus/libreoffice_writer_japanese.rtf")));
    ASSERT_EQ(text.paragraphs.size(), 5u);
    const auto& p = text.paragraphs;
    EXPECT_EQ(p[0].format.alignment, Alignment::Center);
    EXPECT_TRUE(p[0].runs.at(0).format.bold);
    EXPECT_EQ(p[1].format.list, ListStyle::Bullet);
    EXPECT_EQ(p[2].format.list, ListStyle::Bullet);
    EXPECT_TRUE(p[1].runs.at(1).format.italic);
    EXPECT_TRUE(p[2].runs.at(1).format.underline);
    EXPECT_EQ(p[3].format.alignment, Alignment::Right);
    EXPECT_EQ(p[3].runs.at(0).format.color, 0xFF0000u);
    EXPECT_TRUE(p[4].runs.at(0).format.strikeOut);
}

TEST(CorpusFormats, RichEditFile) {
    const RichText text =
        readRtf(testing::readFile(testing::dataPath("corpus/richedit1_delphi_japanese.rtf")));
    ASSERT_EQ(text.paragraphs.size(), 3u);
    EXPECT_EQ(text.paragraphs[0].runs.at(0).format.family, "ＭＳ ゴシック");
    EXPECT_EQ(text.paragraphs[0].runs.at(0).format.halfPoints, 18);
    EXPECT_EQ(text.paragraphs[1].runs.at(0).format.color, 0xFF0000u);
    EXPECT_EQ(text.paragraphs[2].format.alignment, Alignment::Center);
    EXPECT_TRUE(text.paragraphs[2].runs.at(0).format.bold);
    EXPECT_EQ(text.paragraphs[2].runs.at(0).format.family, "ＭＳ Ｐゴシック");
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(corpusFiles()), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
});

}  // namespace
}  // namespace hinagiku::richtext
