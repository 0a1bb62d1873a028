#include "schedule/agenda/schedule_list_text.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

DateTime day(int y, int m, int d) {
    return static_cast<DateTime>(*encodeDate(y, m, d));
}

std::string golden(const std::string& name) {
    const std::string path = std::string(AGENDA_GOLDEN_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Writes the text as TODOLIST.TXT and compares the file's bytes with the
// golden file; HINAGIKU_UPDATE_GOLDEN=1 writes the golden file instead.
void expectGolden(const std::string& name, const std::string& text) {
    testing::TempHome out;
    EXPECT_TRUE(writeTodoList(out.path() / kTodoListFileName, text));
    const std::string bytes = out.readFile(kTodoListFileName);
    if (std::getenv("HINAGIKU_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(std::string(AGENDA_GOLDEN_DIR) + "/" + name, std::ios::binary) << bytes;
        return;
    }
    EXPECT_EQ(bytes, golden(name)) << name;
}

// "会議" / "資料準備" as the rich-edit control writes them.
constexpr const char* kMeetingRtf =
    "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
    "\\'82\\'6c\\'82\\'72 \\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
    "\\viewkind4\\uc1\\pard\\lang1041\\f0\\fs18 \\'89\\'ef\\'8b\\'63\\par\r\n"
    "\\b \\'8e\\'91\\'97\\'bf\\'8f\\'80\\'94\\'f5\\b0\\par\r\n}\r\n";

class AgendaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = (home_.path() / "data").string();
        settings_.writeText("Calendar", "Directory", folder_);
    }
    void file(const std::string& name, const std::string& bytes) {
        home_.writeFile("data/" + name, bytes);
    }
    std::string text(DateTime base, ListSpan span, DateTime today, DateTime now) {
        const Agenda agenda = buildAgenda(base, span, today, settings_);
        EXPECT_TRUE(agenda.errors.empty());
        return agendaText(agenda, now);
    }

    testing::TempHome home_;
    testing::MemorySettings settings_;
    std::string folder_;
};

TEST(ListHeader, FillsTo32Bytes) {
    const DateTime today = day(2024, 3, 15);
    struct Case {
        DateTime date;
        const char* expected;
    };
    const Case cases[] = {
        {today, "2024年3月15日(金)       〔本日〕"},
        {day(2024, 3, 14), "2024年3月14日(木)      〔1日前〕"},
        {day(2024, 3, 27), "2024年3月27日(水)     〔12日後〕"},
        {day(2024, 12, 25), "2024年12月25日(水)   〔285日後〕"},
        // Already 32 bytes wide or more: no spaces at all.
        {day(9999, 12, 25), "9999年12月25日(土)〔2913093日後〕"},
        {day(1, 1, 1), "0001年1月1日(月)  〔738959日前〕"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listHeader(c.date, today), c.expected);
}

TEST(ListSpanSettings, ReadsClampsAndWrites) {
    struct Case {
        const char* mae;
        const char* ato;
        int before, after;
    };
    const Case cases[] = {{nullptr, nullptr, 2, 7},
                          {"abc", "x", 2, 7},
                          {"-5", "500", 0, 99},
                          {"0", "0", 0, 0},
                          {"99", "10", 99, 10}};
    for (const auto& c : cases) {
        testing::MemorySettings settings;
        if (c.mae != nullptr)
            settings.writeText("Sch_List", "mae", c.mae);
        if (c.ato != nullptr)
            settings.writeText("Sch_List", "ato", c.ato);
        const ListSpan span = readListSpan(settings);
        EXPECT_EQ(span.before, c.before);
        EXPECT_EQ(span.after, c.after);
    }
    testing::MemorySettings settings;
    const DateTime today = day(2024, 3, 15);
    writeListSettings(settings, today, today + 0.75, {3, 4});
    EXPECT_EQ(settings.readText("Sch_List", "year", ""), "0");
    EXPECT_EQ(settings.readText("Sch_List", "month", ""), "0");
    EXPECT_EQ(settings.readText("Sch_List", "day", ""), "0");
    EXPECT_EQ(settings.readText("Sch_List", "mae", ""), "3");
    EXPECT_EQ(settings.readText("Sch_List", "ato", ""), "4");
    writeListSettings(settings, day(2024, 3, 8), today, {0, 10});
    EXPECT_EQ(settings.readText("Sch_List", "year", ""), "2024");
    EXPECT_EQ(settings.readText("Sch_List", "month", ""), "3");
    EXPECT_EQ(settings.readText("Sch_List", "day", ""), "8");
}

TEST(ListRange, StopsAtTheFirstAndLastYear) {
    EXPECT_EQ(listFirstDay(day(1, 1, 3), 99), day(1, 1, 1));
    EXPECT_EQ(listLastDay(day(9999, 12, 30), 99), day(9999, 12, 31));
    EXPECT_EQ(listFirstDay(day(2024, 3, 15), 2), day(2024, 3, 13));
    EXPECT_EQ(listLastDay(day(2024, 3, 15), 7), day(2024, 3, 22));
}

// Base date a week ago, 0 days before and 10 after: seven past blocks, the
// today block, three future ones. Qreki adds the rokuyo and no solar term
// (20 March 2024 is one); a yearly entry shifted off Sunday 17 March shows on
// Monday 18 only; birthdays, RTF with several lines, CP932 text with "～",
// an entry without text (no line) and every Friday.
TEST_F(AgendaTest, WeekAgoGolden) {
    settings_.writeBool("Form", "Qreki", true);
    file("____0310.24", kMeetingRtf);
    file("BORN0312.1970", platform::toCp932("山田さん\r\n"));
    file("_~__0317.__", platform::toCp932("ゴミ出し"));
    file("________.FRI", platform::toCp932("週末～"));
    file("____0316.24", "");
    file("____0311.__", platform::toCp932("毎年の\r\n二行"));
    const DateTime today = day(2024, 3, 15);
    const std::string out = text(day(2024, 3, 8), {0, 10}, today, today + *encodeTime(9, 5, 7));
    expectGolden("week_ago.TXT", out);
    // The caption covers exactly the range.
    EXPECT_EQ(
        out.rfind(
            "Title:2024/03/08 (金)～2024/03/18 (月)\r\nPrint:2024/03/15 (金) 09:05:07\r\n\r\n", 0),
        0u);
    EXPECT_GT(out.find("ゴミ出し"), out.find("2024年3月18日")) << "shifted entry";
}

TEST_F(AgendaTest, QrekiShowsRokuyoButNoSolarTerm) {
    settings_.writeBool("Form", "Qreki", true);
    const DateTime equinox = day(2024, 3, 20);  // 春分
    const Agenda agenda = buildAgenda(equinox, {0, 0}, day(2024, 3, 15), settings_);
    ASSERT_GE(agenda.future.size(), 3u);
    EXPECT_EQ(agenda.future[1].rfind("【", 0), 0u);
    EXPECT_EQ(std::find(agenda.future.begin(), agenda.future.end(), "【春分】"),
              agenda.future.end());
}

TEST_F(AgendaTest, ShiftedEntryOnItsDisplayDayOnly) {
    file("_~__0317.__", platform::toCp932("ゴミ出し"));
    const DateTime today = day(2024, 3, 15);
    const Agenda agenda = buildAgenda(day(2024, 3, 15), {0, 5}, today, settings_);
    int count = 0;
    std::string before;
    for (const auto& line : agenda.future) {
        if (line == "ゴミ出し") {
            ++count;
            EXPECT_EQ(before.rfind("2024年3月18日", 0), 0u);
        }
        if (line.rfind("2024年", 0) == 0)
            before = line;
    }
    EXPECT_EQ(count, 1);
}

// The 29th to 31st list "~???____." before "_???____." before "~~~~~___.".
TEST_F(AgendaTest, MonthEndOrderGolden) {
    file("~~~~~___.FRI", platform::toCp932("最終金曜"));
    file("_~~~____.FRI", platform::toCp932("第１第５金曜"));
    file("~~~~____.FRI", platform::toCp932("第５金曜"));
    file("________.FRI", platform::toCp932("毎週金曜"));
    const DateTime today = day(2024, 3, 15);
    expectGolden("month_end.TXT", text(day(2024, 3, 29), {0, 0}, today, today));
}

TEST_F(AgendaTest, TodayOutsideTheRangeLeavesTheTodayBoxEmpty) {
    const DateTime today = day(2024, 3, 15);
    const Agenda later = buildAgenda(day(2024, 4, 1), {2, 2}, today, settings_);
    EXPECT_TRUE(later.past.empty());
    EXPECT_TRUE(later.today.empty());
    EXPECT_EQ(later.future.size(), 10u);  // header and separator of five days
    const Agenda one = buildAgenda(today, {0, 0}, today, settings_);
    EXPECT_EQ(one.today,
              (std::vector<std::string>{"2024年3月15日(金)       〔本日〕", kListSeparator}));
}

TEST_F(AgendaTest, UnreadableEntryIsReportedAndTheRestListed) {
    file("____0315.24", "x");
    file("________.FRI", platform::toCp932("毎週"));
    // A file that cannot be read is one message; the other entries are listed.
    const std::string unreadable = folder_ + "/____0315.__";
    home_.writeFile("data/____0315.__", "y");
    ::chmod(unreadable.c_str(), 0);
    const DateTime today = day(2024, 3, 15);
    const Agenda agenda = buildAgenda(today, {0, 0}, today, settings_);
    if (::geteuid() != 0) {
        ASSERT_EQ(agenda.errors.size(), 1u);
        EXPECT_NE(agenda.errors[0].find("____0315.__"), std::string::npos);
    }
    EXPECT_NE(std::find(agenda.today.begin(), agenda.today.end(), "毎週"), agenda.today.end());
    EXPECT_NE(std::find(agenda.today.begin(), agenda.today.end(), "x"), agenda.today.end());
}

TEST_F(AgendaTest, NoDataFolderListsHeadersOnly) {
    settings_.writeText("Calendar", "Directory", ".");
    const DateTime today = day(2024, 3, 15);
    const Agenda agenda = buildAgenda(today, {1, 1}, today, settings_);
    EXPECT_EQ(agenda.past.size() + agenda.today.size() + agenda.future.size(), 6u);
}

TEST(TodoListFile, WritesCp932AndTellsOfLostCharacters) {
    testing::TempHome home;
    const auto path = home.path() / "TODOLIST.TXT";
    EXPECT_TRUE(writeTodoList(path, "Title:a～b\r\n"));
    EXPECT_EQ(home.readFile("TODOLIST.TXT"),
              "Title:a\x81\x60"
              "b\r\n");
    EXPECT_FALSE(writeTodoList(path, "x€y😀\r\n"));
    EXPECT_EQ(home.readFile("TODOLIST.TXT").substr(0, 1), "x");
    EXPECT_NE(home.readFile("TODOLIST.TXT").find('?'), std::string::npos);
}

TEST(TodoListFile, FailedWriteKeepsTheOldFile) {
    testing::TempHome home;
    const auto path = home.path() / "TODOLIST.TXT";
    home.writeFile("TODOLIST.TXT", "old");
    // A file size limit refuses the write whoever runs the test.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string big(4096, 'a');
    EXPECT_THROW(writeTodoList(path, big), platform::IoError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(home.readFile("TODOLIST.TXT"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_THROW(writeTodoList(home.path() / "missing" / "TODOLIST.TXT", "x"), platform::IoError);
}

}  // namespace
}  // namespace hinagiku::schedule
