// Runs the built hinagikuctl on a small fixture home folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/temp_home.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;
};

class HinagikuctlScheduleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* build = std::getenv("HINAGIKU_BUILD_DIR");
        ASSERT_NE(build, nullptr) << "HINAGIKU_BUILD_DIR is not set";
        binary = std::string(build) + "/apps/hinagikuctl/hinagikuctl";
        ASSERT_TRUE(fs::exists(binary)) << binary;
        data = home.path() / "Schedule";
        home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data.string() +
                                           "\r\n[Horiday]\r\n01/01=【元旦】\r\n");
        for (const char* name :
             {"BORN0716.1980", "BORN0716.txt", "____0716.24", "_~~~0713.__", "________.TUE",
              "0900____.__", "09000713.~~", "0900__04.TUE", "0900__08.TUE", "______01.__"}) {
            home.writeFile("Schedule/" + std::string(name), "x");
        }
        fs::create_directories(data / "____0717.24");  // a folder is no entry
    }

    Result run(const std::string& arguments) const {
        const std::string command = binary + " " + arguments + " 2>/dev/null";
        Result result;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        const int status = pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    hinagiku::testing::TempHome home;
    fs::path data;
    std::string binary;
};

TEST_F(HinagikuctlScheduleTest, Day) {
    const Result r = run("day 2024-07-16");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "birthday\tbirthday\tBORN0716.1980\t1980\n"
              "birthday\tbirthday\tBORN0716.txt\t\n"
              "todo\tdated\t____0716.24\t\n"
              "todo\tyearly\t_~~~0713.__\t\n"
              "todo\tweekday\t________.TUE\t\n");
    EXPECT_EQ(run("day 2024-07-17").out, "");
}

TEST_F(HinagikuctlScheduleTest, Due) {
    const Result r = run("due 2024-07-16T09:00");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0900____.__\n09000713.~~\n0900__04.TUE\n");
    EXPECT_EQ(run("due 2024-07-16T09:01").out, "");
}

TEST_F(HinagikuctlScheduleTest, Marks) {
    // July 2024: Marine Day on Monday 15; the 1st is a Monday (monthly entry).
    const Result r = run("marks 2024 7");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "holidays\t7,15\n"
              "special\t7,1\t7,2\t7,9\t7,16\t7,23\t7,30\n");
    EXPECT_EQ(run("marks 2025 1").out.substr(0, 14), "holidays\t1,1\t1");
}

TEST_F(HinagikuctlScheduleTest, Describe) {
    const Result r = run("describe 0730____.__ _~_~~___.FRI W0003600.__ readme.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0730____.__\tpopup\tPopup : 毎日 07時30分\n"
              "_~_~~___.FRI\ttodo\tWeek6 : 金曜日(第１　　第３　　　　)\n"
              "W0003600.__\tuptime\tWin98 :    3600秒経過（Windows起動後）\n"
              "readme.txt\tpopup\tPopw0 : txt(　　　　　　　　　　) re時ad分\n");
}

TEST_F(HinagikuctlScheduleTest, Name) {
    const std::pair<const char*, const char*> cases[] = {
        {"name todo --kind dated --date 2024-03-15", "____0315.24\n"},
        {"name todo --kind yearly --date 2024-07-20 --shift next-sat", "_~~~0720.__\n"},
        {"name todo --kind monthly --date=2024-03-15 --shift prev", "~_____15.__\n"},
        {"name todo --kind weekday --date 2024-03-04 --weeks 1,3", "_~_~~___.MON\n"},
        {"name todo --kind weekday --weekday fri --weeks last", "~~~~~___.FRI\n"},
        {"name todo --kind weekday --weekday SUN", "________.SUN\n"},
        {"name popup --kind daily --time 07:30", "0730____.__\n"},
        {"name popup --kind yearly --time 07:30 --date 2024-03-15 --shift prev-sat",
         "07300315.-~\n"},
        {"name popup --kind weekday --time 00:05 --weekday MON --weeks last", "0005__32.MON\n"},
        {"name popup --kind weekday --time 00:05 --weekday MON --weeks 1,2,3,4,5",
         "0005____.MON\n"},
        {"name popup --kind weekday --time 07:30 --weekday FRI --mask 5", "0730__05.FRI\n"},
        {"name uptime --seconds 125", "W0000120.__\n"},
        {"name uptime --seconds 30", "W0000060.__\n"},
        {"name birthday --date 1970-03-15", "BORN0315.1970\n"},
    };
    for (const auto& [arguments, output] : cases) {
        const Result r = run(arguments);
        EXPECT_EQ(r.status, 0) << arguments;
        EXPECT_EQ(r.out, output) << arguments;
    }
}

TEST_F(HinagikuctlScheduleTest, UsageErrorsExit2WithNothingOnStdout) {
    for (const char* arguments :
         {"day", "day 2024-13-01", "day 20240716", "due 2024-07-16", "due 2024-07-16T25:00",
          "marks 2024", "marks 2024 13", "describe", "name", "name diary", "name todo --kind dated",
          "name popup --kind dated --date 2024-01-01",
          "name todo --kind dated --date 2024-01-01 --shift next",
          "name todo --kind weekday --weekday MON --weeks 6",
          "name popup --kind daily --time 24:00",
          "name popup --kind weekday --time 07:30 --weekday MON --mask 31x",
          "name popup --kind weekday --time 07:30 --weekday MON --mask 33",
          "name todo --kind yearly --date 2024-01-01 --colour red", "name uptime --seconds many"}) {
        const Result r = run(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
    }
}

TEST_F(HinagikuctlScheduleTest, AMissingDataFolderIsAnIoError) {
    fs::remove_all(data);
    for (const char* arguments : {"day 2024-07-16", "due 2024-07-16T09:00", "marks 2024 7"}) {
        const Result r = run(arguments);
        EXPECT_EQ(r.status, 1) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
    }
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=.\r\n");
    EXPECT_EQ(run("day 2024-07-16").status, 1);
}

}  // namespace
