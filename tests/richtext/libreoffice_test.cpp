// Word processors must read what we write: LibreOffice converts our RTF to
// UTF-8 text and to its own RTF, and the Japanese text and every format the
// editors offer must have survived.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/test_util.h"

namespace hinagiku::richtext {
namespace {

namespace fs = std::filesystem;

std::string findSoffice() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / "soffice";
        if (!candidate.parent_path().empty() && fs::exists(candidate))
            return candidate.string();
        start = end + 1;
    }
    return {};
}

// LibreOffice's text export starts list items with "    • ".
std::string withoutListMarks(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        const std::size_t mark = line.find_first_not_of(' ');
        if (mark != std::string::npos && line.compare(mark, 4, "\u2022 ") == 0) {
            line.erase(0, mark + 4);
        }
        if (start > 0)
            out.push_back('\n');
        out += line;
        start = end + 1;
    }
    return out;
}

CharFormat format(std::string family, int halfPoints) {
    CharFormat f;
    f.family = std::move(family);
    f.halfPoints = halfPoints;
    return f;
}

RichText page() {
    CharFormat bold = format("ＭＳ ゴシック", 24);
    bold.bold = true;
    CharFormat italicRed = format("ＭＳ 明朝", 21);
    italicRed.italic = true;
    italicRed.color = 0xFF0000;
    CharFormat underline = format("ＭＳ Ｐゴシック", 18);
    underline.underline = true;
    CharFormat strike = format("ＭＳ Ｐゴシック", 18);
    strike.strikeOut = true;
    strike.color = 0x008000;
    RichText text;
    text.paragraphs = {
        {{Alignment::Center, 0, 0, 0, ListStyle::None},
         {{format("ＭＳ Ｐゴシック", 18), "今日の予定："}, {bold, "会議"}}},
        {{Alignment::Right, 0, 720, 360, ListStyle::None}, {{italicRed, "斜体の赤い字"}}},
        {{Alignment::Left, -360, 360, 0, ListStyle::Bullet}, {{underline, "下線付きの項目"}}},
        {{Alignment::Left, -360, 360, 0, ListStyle::Bullet}, {{strike, "取り消した項目"}}},
        {{Alignment::Left, 200, 0, 0, ListStyle::None},
         {{format("ＭＳ Ｐゴシック", 18), "記号：～ ① ｱｲｳ 〜 ¥ 表示 ソ"}}},
    };
    return text;
}

class LibreOffice : public ::testing::Test {
  protected:
    void SetUp() override {
        soffice_ = findSoffice();
        if (soffice_.empty()) {
            GTEST_SKIP()
                << "soffice (LibreOffice) is not installed; install libreoffice-writer-nogui "
                   "to check that word processors read our RTF";
        }
        char pattern[] = "/tmp/hinagiku-richtext-lo-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Converts `input` with the private profile; returns the output's path.
    std::string convert(const std::string& input, const std::string& filter,
                        const std::string& extension, const std::string& outDir) {
        const std::string command = "timeout 300 '" + soffice_ + "' -env:UserInstallation=file://" +
                                    dir_ + "/profile --headless --convert-to '" + filter +
                                    "' --outdir '" + outDir + "' '" + input + "' >'" + dir_ +
                                    "/soffice.log' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << testing::readFile(dir_ + "/soffice.log");
        return outDir + "/" + fs::path(input).stem().string() + "." + extension;
    }

    std::string soffice_;
    std::string dir_;
};

TEST_F(LibreOffice, ReadsOurJapaneseTextAndFormats) {
    const RichText original = page();
    const std::string input = dir_ + "/page.rtf";
    {
        std::ofstream out(input, std::ios::binary);
        out << writeRtf(original);
    }

    std::string text =
        testing::readFile(convert(input, "txt:Text (encoded):UTF8", "txt", dir_ + "/text"));
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    EXPECT_EQ(withoutListMarks(text), plainText(original));

    const std::string theirs = testing::readFile(convert(input, "rtf", "rtf", dir_ + "/rtf"));
    ASSERT_FALSE(theirs.empty());
    RichText back = readRtf(theirs);
    ASSERT_EQ(back.paragraphs.size(), original.paragraphs.size()) << theirs;
    for (std::size_t i = 0; i < original.paragraphs.size(); ++i) {
        const Paragraph& want = original.paragraphs[i];
        const Paragraph& got = back.paragraphs[i];
        SCOPED_TRACE("paragraph " + std::to_string(i));
        EXPECT_EQ(got.format.alignment, want.format.alignment);
        EXPECT_EQ(got.format.firstIndent, want.format.firstIndent);
        EXPECT_EQ(got.format.leftIndent, want.format.leftIndent);
        EXPECT_EQ(got.format.rightIndent, want.format.rightIndent);
        EXPECT_EQ(got.format.list, want.format.list);
        ASSERT_EQ(got.runs.size(), want.runs.size()) << theirs;
        for (std::size_t r = 0; r < want.runs.size(); ++r) {
            SCOPED_TRACE(want.runs[r].text);
            EXPECT_EQ(got.runs[r].text, want.runs[r].text);
            EXPECT_EQ(got.runs[r].format, want.runs[r].format);
        }
    }
}

}  // namespace
}  // namespace hinagiku::richtext
