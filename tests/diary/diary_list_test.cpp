#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "calendar/date_time.h"
#include "diary/diary_list.h"
#include "diary/diary_store.h"
#include "platform/cp932.h"
#include "support/temp_home.h"

namespace hinagiku::diary {
namespace {

namespace fs = std::filesystem;

class DiaryList : public ::testing::Test {
  protected:
    testing::TempHome home;
    fs::path folder = home.path() / "Diary";
    void SetUp() override { fs::create_directory(folder); }
    void write(const std::string& name, const std::string& utf8) const {
        std::ofstream(folder / name, std::ios::binary) << platform::toCp932(utf8);
    }
};

TEST_F(DiaryList, OneLinePerDayWithWhatTheFilesHold) {
    write("20240301.JNL", "WEATHER:晴\r\ntitle:一日目\r\n:END\r\n{\\rtf1 body}");
    write("20240302.jnl", "WEATHER:雨\r\n:END\r\n");
    write("20240303.JNL", "TITLE:切れた\r\nWEATHER:x\r\n");
    write("NI240304.DAY", "昔の題\r\n【天気】晴\r\n");
    write("20240305.JNL", "");
    const MonthList list = buildMonthList(folder, 2024, 3);
    ASSERT_EQ(list.lines.size(), 31u);
    const std::pair<DayKind, const char*> expected[] = {
        {DayKind::Titled, "2024/03/01 (金) : 一日目"},
        {DayKind::Untitled, "2024/03/02 (土) : "},
        {DayKind::Damaged, "2024/03/03 (日) : ファイル内容不正!!"},
        {DayKind::Legacy, "2024/03/04 (月) : 【昔の題】"},
        {DayKind::Damaged, "2024/03/05 (火) : ファイル内容不正!!"},
        {DayKind::None, "2024/03/06 (水)"},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(list.lines[i].kind, expected[i].first) << i;
        EXPECT_EQ(list.lines[i].text, expected[i].second) << i;
        EXPECT_EQ(list.lines[i].day, *encodeDate(2024, 3, static_cast<int>(i) + 1));
    }
    EXPECT_EQ(list.written, 2);
    EXPECT_EQ(list.percent, 6);
    EXPECT_EQ(writtenHint(list), "月あたり\r日記の記入状況 2件(6%)");
}

TEST_F(DiaryList, MonthLengthsAndTheHintFigures) {
    EXPECT_EQ(buildMonthList(folder, 2024, 2).lines.size(), 29u);
    EXPECT_EQ(buildMonthList(folder, 2023, 2).lines.size(), 28u);
    EXPECT_EQ(buildMonthList(folder, 9999, 12).lines.size(), 31u);
    for (const char* name : {"20240401.JNL", "20240415.JNL", "20240430.JNL"})
        write(name, "TITLE:t\r\n:END\r\n");
    const MonthList april = buildMonthList(folder, 2024, 4);
    EXPECT_EQ(april.written, 3);
    EXPECT_EQ(writtenHint(april), "月あたり\r日記の記入状況 3件(10%)");
}

TEST_F(DiaryList, HeaderIsReadOnlyToTheEndLine) {
    const std::string head = "TITLE:t\r\n:END\r\n";
    std::ofstream(folder / "big.JNL", std::ios::binary) << head << std::string(5000000, 'x');
    EXPECT_EQ(readHeaderBytes(folder / "big.JNL"), head);
    // A huge header line is read once, up to the end line.
    const std::string longHead = "TITLE:" + std::string(3000000, 'y') + "\r\n:end\n";
    std::ofstream(folder / "long.JNL", std::ios::binary) << longHead << "body";
    EXPECT_EQ(readHeaderBytes(folder / "long.JNL"), longHead);
    // CR LF split across the block boundary.
    const std::string split = std::string(4095 - 6, 'z') + "\r\n:END\r\nbody";
    std::ofstream(folder / "split.JNL", std::ios::binary) << split;
    EXPECT_EQ(readHeaderBytes(folder / "split.JNL"), split.substr(0, split.size() - 4));
}

TEST_F(DiaryList, SearchKindsAndOrder) {
    write("20240310.JNL", "TITLE:海へ行く\r\nWEATHER:晴\r\n:END\r\n海の話");
    write("20240311.JNL", "TITLE:海\r\nWEATHER:海霧\r\n:END\r\n");
    write("20240312.JNL", "TITLE:山\r\nWEATHER:曇\r\n:END\r\n{\\rtf1\\ansi 海\\par}");
    write("20240313.JNL", "TITLE:山\r\nWEATHER:曇\r\n:END\r\n山だけ");
    write("20240314.JNL", "TITLE:壊\r\nWEATHER:曇\r\n");  // no end line: header only
    const auto hits = searchDiary(folder, 2024, 3, 2024, 3, "海");
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].line, "2024/03/10 (日) : 【題名】海へ行く");
    EXPECT_EQ(hits[1].line, "2024/03/11 (月) : 【天気】海霧");
    EXPECT_EQ(hits[2].line, "2024/03/12 (火) : 【本文】山");
    EXPECT_EQ(hits[2].kind, MatchKind::Body);
    EXPECT_TRUE(searchDiary(folder, 2024, 3, 2024, 3, "").empty());
}

TEST_F(DiaryList, SearchRangeIsExchangedAndBounded) {
    write("20240301.JNL", "TITLE:x\r\n:END\r\n");
    write("20241231.JNL", "TITLE:x\r\n:END\r\n");
    write("20250101.JNL", "TITLE:x\r\n:END\r\n");
    write("20240229.JNL", "TITLE:x\r\n:END\r\n");
    write("20241340.JNL", "TITLE:x\r\n:END\r\n");  // no such date
    const auto hits = searchDiary(folder, 2024, 12, 2024, 3, "x");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].day, *encodeDate(2024, 3, 1));
    EXPECT_EQ(hits[1].day, *encodeDate(2024, 12, 31));
    EXPECT_EQ(searchDiary(folder, 1, 1, 9999, 12, "x").size(), 4u);
}

TEST_F(DiaryList, SearchComparesCharactersNotBytes) {
    // "ア" is 0x83 0x41 in CP932: its second byte is "A".
    write("20240301.JNL", "TITLE:アイ\r\nWEATHER:ア\r\n:END\r\nアイウ");
    EXPECT_TRUE(searchDiary(folder, 2024, 3, 2024, 3, "A").empty());
    write("20240302.JNL", "TITLE:ABC\r\n:END\r\n");
    EXPECT_EQ(searchDiary(folder, 2024, 3, 2024, 3, "A").size(), 1u);
    // Case-sensitive.
    EXPECT_TRUE(searchDiary(folder, 2024, 3, 2024, 3, "abc").empty());
}

TEST_F(DiaryList, SearchStopsWhenAsked) {
    write("20240301.JNL", "TITLE:x\r\n:END\r\n");
    write("20240302.JNL", "TITLE:x\r\n:END\r\n");
    int seen = 0;
    const auto hits = searchDiary(folder, 2024, 3, 2024, 3, "x", [&](int) { return ++seen < 2; });
    EXPECT_EQ(hits.size(), 1u);
}

}  // namespace
}  // namespace hinagiku::diary
