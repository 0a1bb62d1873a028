// Runs the built hinagikuctl cycle commands on a fixture home folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

namespace fs = std::filesystem;
using hinagiku::testing::builtProgram;
using hinagiku::testing::ProcessOutcome;
using hinagiku::testing::runProcess;
using hinagiku::testing::TempHome;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

std::vector<std::string> tagged(const std::string& text, const std::string& tag) {
    std::vector<std::string> out;
    for (const auto& line : lines(text)) {
        if (line.rfind(tag + "\t", 0) == 0)
            out.push_back(line.substr(tag.size() + 1));
    }
    return out;
}

unsigned modeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class CycleCtl : public ::testing::Test {
  protected:
    void SetUp() override {
        home.writeFile("hinagiku.ini",
                       "[Calendar]\r\nDirectory=" + (home.path() / "data").string() +
                           "\r\n[Privacy]\r\nDirectory=" + (home.path() / "card").string() +
                           "\r\n");
        fs::create_directories(home.path() / "data");
        fs::create_directories(home.path() / "card");
    }
    ProcessOutcome run(std::vector<std::string> args) const {
        args.insert(args.begin(), builtProgram("hinagikuctl"));
        return runProcess(args);
    }
    TempHome home;
};

TEST_F(CycleCtl, PlanWithoutDates) {
    const auto r = run({"cycle", "plan"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out), (std::vector<std::string>{"fields\t28\t28\t28",
                                                      "status\t良い子が授かりますように.."}));
    EXPECT_FALSE(fs::exists(home.path() / "card" / "Period"));
}

TEST_F(CycleCtl, PlanTwoDates) {
    const auto r = run({"cycle", "plan", "2001-01-01", "2001-01-31", "2001-01-31"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(tagged(r.out, "fields"), (std::vector<std::string>{"30\t28\t30"}));
    EXPECT_EQ(tagged(r.out, "status"),
              (std::vector<std::string>{"30日周期 (2001/01/01～2001/01/31)"}));
    const auto common = tagged(r.out, "common");
    ASSERT_EQ(common.size(), 100u);
    EXPECT_EQ(common[0], "1\t2001/03/02 (金)");
    const auto alternating = tagged(r.out, "alternating");
    ASSERT_EQ(alternating.size(), 100u);
    EXPECT_EQ(alternating[0], "1\t2001/02/28 (水)");  // T+28
    EXPECT_EQ(alternating[1], "2\t2001/03/30 (金)");  // T+58
    EXPECT_EQ(tagged(r.out, "caption"),
              (std::vector<std::string>{"common\t2001/01/31 (水)～2001/03/02 (金)",
                                        "alternating\t2001/01/31 (水)～2001/02/28 (水)"}));
    const auto details = tagged(r.out, "detail");
    ASSERT_EQ(details.size(), 31u + 29u);
    EXPECT_EQ(details[0], "common\t2001/01/31 (水) ×　生理中");
    EXPECT_EQ(details.back(), "alternating\t2001/02/28 (水) ×　生理中");
}

TEST_F(CycleCtl, PlanFieldsPicksAndSelection) {
    const auto r =
        run({"cycle", "plan", "--days", "3", "--common", "0", "--r", "abc", "--pick-alternating",
             "2", "--select", "2001-01-01", "2001-01-01", "2001-01-31"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(tagged(r.out, "fields"), (std::vector<std::string>{"0\t28\t30"}));
    EXPECT_EQ(tagged(r.out, "status"), (std::vector<std::string>{"良い子が授かりますように.."}));
    EXPECT_EQ(tagged(r.out, "common")[99], "100\t2001/01/31 (水)");
    const auto details = tagged(r.out, "detail");
    EXPECT_EQ(details[0], "common\t2001/01/31 (水) ×　生理中");
    EXPECT_EQ(tagged(r.out, "caption")[1], "alternating\t2001/02/28 (水)～2001/03/30 (金)");
    EXPECT_EQ(details[1], "alternating\t2001/02/28 (水) ×　生理中");
    EXPECT_EQ(details[4], "alternating\t2001/03/03 (土) △　　　　安全日");
}

TEST_F(CycleCtl, PlanUsage) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"cycle", "plan", "--days", "21"},
             {"cycle", "plan", "--pick", "101", "2001-01-01"},
             {"cycle", "plan", "2001-02-30"},
             {"cycle", "plan", "--select", "2001-01-02", "2001-01-01"},
             {"cycle", "nothing"},
         }) {
        EXPECT_EQ(run(args).status, 2) << args.back();
    }
}

TEST_F(CycleCtl, AddShowMemoDelete) {
    auto r = run({"cycle", "add", "2001-2-31"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "added\t2001/02/28\n");
    EXPECT_EQ(run({"cycle", "add", "2001-02-28"}).out, "present\t2001/02/28\n");
    const fs::path folder = home.path() / "card" / "Period";
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(folder / "Period.ini"), 0600u);

    EXPECT_EQ(run({"cycle", "memo", "2001-02-28", "first day"}).status, 0);
    EXPECT_EQ(run({"cycle", "memo", "2001-02-28", "snow ☃"}).status, 3);
    EXPECT_EQ(run({"cycle", "memo", "2001-03-01", "absent"}).status, 3);
    r = run({"cycle", "show"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out), (std::vector<std::string>{"file\t" + (folder / "Period.ini").string(),
                                                      "days\t5", "date\t2001/02/28\tfirst day"}));
    EXPECT_EQ(run({"cycle", "delete", "2001-03-01"}).status, 3);
    EXPECT_EQ(run({"cycle", "delete", "2001-02-28"}).status, 0);
    r = run({"cycle", "show"});
    EXPECT_EQ(tagged(r.out, "date").size(), 0u);
}

TEST_F(CycleCtl, UnmountedMediumAndNoDataFolder) {
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + (home.path() / "data").string() +
                                       "\r\n[Privacy]\r\nDirectory=" +
                                       (home.path() / "gone" / "x").string() + "\r\n");
    EXPECT_EQ(run({"cycle", "add", "2001-01-01"}).status, 1);
    EXPECT_FALSE(fs::exists(home.path() / "gone"));
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=.\r\n");
    EXPECT_EQ(run({"cycle", "show"}).status, 1);
}

}  // namespace
