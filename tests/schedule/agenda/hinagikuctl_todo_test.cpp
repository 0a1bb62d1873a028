// Runs the built hinagikuctl's to-do commands on a fixture home folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "schedule/agenda/schedule_list_text.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

namespace fs = std::filesystem;

class HinagikuctlTodoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data_ = home_.path() / "data";
        home_.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data_.string() +
                                            "\r\n[Sch_List]\r\nmae=1\r\nato=1\r\n");
        home_.writeFile("data/____0315.24", platform::toCp932("本日の予定"));
        home_.writeFile("data/07300314.24", "x");
        home_.writeFile("data/BORN0315.1970", "x");
        home_.writeFile("data/na\tme.txt", "x");
    }
    testing::ProcessOutcome run(std::vector<std::string> args) const {
        args.insert(args.begin(), testing::builtProgram("hinagikuctl"));
        return testing::runProcess(args);
    }
    testing::TempHome home_;
    fs::path data_;
};

TEST_F(HinagikuctlTodoTest, TodoChoice) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
    };
    const Case cases[] = {
        {{"--tab", "dated", "--date", "2024-3-15"},
         "2024-03-15\t111110\t____0315.24\t【24年3月15日】\t2024/3/15のｽｹｼﾞｭｰﾙ\n"},
        {{"--tab", "yearly", "--date", "2023-02-31", "--holiday", "next", "--saturday", "dayoff"},
         "2023-02-28\t111110\t_~~~0228.__\t【毎年2月28日】(土曜/休日:翌日)\t毎年2/28のｽｹｼﾞｭｰﾙ\n"},
        {{"--tab", "monthly", "--date", "2024-3-5", "--saturday", "dayoff"},
         "2024-03-05\t111110\t______05.__\t【毎月5日】\t毎月5日のｽｹｼﾞｭｰﾙ\n"},
        {{"--tab", "weekday", "--date", "99999-00000-0", "--boxes", "000000"},
         "9999-01-01\t111110\t________.FRI\t【金曜日】\t金曜日のｽｹｼﾞｭｰﾙ\n"},
        {{"--tab", "weekday", "--date", "2024-3-29", "--boxes", "101011"},
         "2024-03-29\t000001\t~~~~~___.FRI\t【最終金曜日】\t金曜日のｽｹｼﾞｭｰﾙ\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"todo-choice"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--tab", "daily", "--date", "2024-1-1"},
             {"--tab", "dated", "--date", "2024-1"},
             {"--tab", "dated", "--date", "123456-1-1"},
             {"--tab", "weekday", "--date", "2024-1-1", "--boxes", "10"}}) {
        std::vector<std::string> args{"todo-choice"};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(run(args).status, 2);
    }
}

TEST_F(HinagikuctlTodoTest, Entries) {
    auto r = run({"entries", "all", "--now", "2024-03-15T12:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "07300314.24\tPopup : 24年03月14日 07時30分\n"
              "na\xEF\xBF\xBDme.txt\tPopw0 : txt(　　　　　　　　　　) na時\xEF\xBF\xBDm分\n"
              "____0315.24\tTo_do : 24年03月15日 \n");
    r = run({"entries", "past", "--now", "2024-03-15T12:00"});
    EXPECT_EQ(r.out, "07300314.24\tPopup : 24年03月14日 07時30分\n");
    r = run({"entries", "day", "--now", "2024-03-15T12:00"});
    EXPECT_EQ(r.out, "____0315.24\tTo_do : 24年03月15日 \n");
    r = run({"entries", "day", "--date", "2024-03-14", "--now", "2024-03-15T12:00"});
    EXPECT_EQ(r.out, "07300314.24\tPopup : 24年03月14日 07時30分\n");
    EXPECT_EQ(run({"entries", "soon"}).status, 2);
    fs::remove_all(data_);
    EXPECT_EQ(run({"entries", "all"}).status, 1);
}

TEST_F(HinagikuctlTodoTest, AgendaAndTodoList) {
    auto r = run({"agenda", "--now", "2024-03-15T09:00:05"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "caption\t2024/03/14 (木)～2024/03/16 (土)\n"
              "past\t2024年3月14日(木)      〔1日前〕\n"
              "past\t━━━━━━━━━━━━━……‥\n"
              "today\t2024年3月15日(金)       〔本日〕\n"
              "today\t【54歳の誕生日】1970/03/15 (日)\n"
              "today\tx\n"
              "today\t本日の予定\n"
              "today\t━━━━━━━━━━━━━……‥\n"
              "future\t2024年3月16日(土)      〔1日後〕\n"
              "future\t━━━━━━━━━━━━━……‥\n");
    r = run({"agenda", "--now", "2024-03-15T09:00", "--base", "2024-03-20", "--before", "0",
             "--after", "0"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "caption\t2024/03/20 (水)～2024/03/20 (水)");
    EXPECT_EQ(run({"agenda", "--before", "100"}).status, 2);
    EXPECT_EQ(run({"agenda", "--now", "2024-03-15"}).status, 2);

    const fs::path file = home_.path() / "out.TXT";
    r = run({"todolist", "--now", "2024-03-15T09:00:05", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string bytes = home_.readFile("out.TXT");
    EXPECT_EQ(bytes.rfind("Title:2024/03/14 (\x96\xd8)\x81\x60"
                          "2024/03/16 (\x93\x79)\r\n"
                          "Print:2024/03/15 (\x8b\xe0) 09:00:05\r\n\r\n",
                          0),
              0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    // The settings file is never written.
    EXPECT_EQ(home_.readFile("hinagiku.ini").find("year"), std::string::npos);
    EXPECT_EQ(run({"todolist", (home_.path() / "missing" / "x.TXT").string()}).status, 1);
    home_.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=.\r\n");
    EXPECT_EQ(run({"agenda"}).status, 1);
}

}  // namespace
}  // namespace hinagiku::schedule
