// Runs the built hinagikuctl birthday commands on a small fixture home folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

using hinagiku::testing::builtProgram;
using hinagiku::testing::ProcessOutcome;
using hinagiku::testing::runProcess;
using hinagiku::testing::TempHome;

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        out.push_back(field);
    if (!line.empty() && line.back() == '\t')
        out.emplace_back();
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

class BirthdayCtl : public ::testing::Test {
  protected:
    void SetUp() override {
        home.writeFile("hinagiku.ini",
                       "[Calendar]\r\nDirectory=" + (home.path() / "data").string() +
                           "\r\n[Birthday]\r\nSeiza=1\r\n");
        home.writeFile("data/BORN0305.1980", "Yamada");
        home.writeFile("data/born0305.1970", "Sato");
        home.writeFile("data/BORN0305.txt", "no year");
        home.writeFile("data/BORN0229.2000", "leap");
        home.writeFile("data/BORN0230.1990", "no date");
    }
    ProcessOutcome run(std::vector<std::string> args) const {
        args.insert(args.begin(), builtProgram("hinagikuctl"));
        return runProcess(args);
    }
    TempHome home;
};

TEST_F(BirthdayCtl, AlmanacLine) {
    const auto r = run({"birthday", "almanac", "--today", "2024-03-05", "--signs", "12",
                        "1964-6-15", "2023-2-30", "1999-11-25"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    const auto first = fields(out[0]);
    ASSERT_EQ(first.size(), 17u);
    EXPECT_EQ(first[0], "1964/06/15");
    EXPECT_EQ(first[1], "59");
    EXPECT_EQ(first[4], "双子座");
    EXPECT_EQ(first[5], "5/21～6/21");
    EXPECT_EQ(first[7], "辰");
    EXPECT_EQ(first[9], "(水無月)");
    EXPECT_EQ(first[16], "BORN0615.1964");
    EXPECT_EQ(fields(out[1])[0], "2023/02/28");
    EXPECT_EQ(fields(out[2])[4], "射手座");
    // Without --signs the settings decide: [Birthday] Seiza=1 is thirteen signs.
    const auto r13 = run({"birthday", "almanac", "--today", "2024-03-05", "1999-11-25"});
    EXPECT_EQ(fields(lines(r13.out)[0])[4], "新蠍座");
}

TEST_F(BirthdayCtl, AgesAroundSixty) {
    const std::pair<const char*, const char*> cases[] = {
        {"2024-06-14", "59\t\t"}, {"2024-06-15", "60\t(耳順)\t(還暦)"}, {"2025-06-15", "61\t\t"}};
    for (const auto& [today, want] : cases) {
        const auto r = run({"birthday", "almanac", "--today", today, "1964-06-15"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("\t" + std::string(want) + "\t"), std::string::npos) << r.out;
    }
}

TEST_F(BirthdayCtl, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"birthday"},
        {"birthday", "nothing"},
        {"birthday", "almanac"},
        {"birthday", "almanac", "2024-3-32"},
        {"birthday", "almanac", "--signs", "14", "2024-3-3"},
        {"birthday", "almanac", "--today", "2024-02-30", "2024-3-3"},
        {"birthday", "from-age", "151", "3-5"},
        {"birthday", "from-age", "20", "13-5"},
        {"birthday", "bio", "2000-1-1", "2024", "13", "300", "100"},
        {"birthday", "bio", "2000-1-1", "2024", "1", "0", "100"},
    };
    for (const auto& args : cases) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(BirthdayCtl, FromAgeFlowersAndBio) {
    EXPECT_EQ(run({"birthday", "from-age", "44", "3-5", "--today", "2024-03-05"}).out,
              "1980/03/05\n");
    EXPECT_EQ(run({"birthday", "from-age", "44", "3-5", "--today", "2024-03-04"}).out,
              "1979/03/05\n");
    // A 29 February in a common year is lowered as the date boxes do.
    EXPECT_EQ(run({"birthday", "from-age", "1", "2-29", "--today", "2024-03-05"}).out,
              "2023/02/28\n");
    const auto flowers = lines(run({"birthday", "flowers"}).out);
    ASSERT_EQ(flowers.size(), 366u);
    EXPECT_EQ(flowers[0], "0101\tフクジュソウ\t幸運を招く");
    EXPECT_EQ(flowers[59], "0229\tハナムギ\t清らかな愛情");
    const auto bio = lines(run({"birthday", "bio", "2000-1-1", "1999", "12", "300", "100"}).out);
    ASSERT_EQ(bio.size(), 32u);
    EXPECT_EQ(bio[0], "0\t0\t-32\t81\t89\t41");
    EXPECT_EQ(bio[31], "31\t310\t-1\t63\t61\t59");
}

TEST_F(BirthdayCtl, ListAndGreeting) {
    const auto list = run({"birthday", "list", "--today", "2024-03-05"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(lines(list.out),
              (std::vector<std::string>{"02月29日【2000年】あと 361日\tBORN0229.2000\t2025/03/01",
                                        "03月05日【1970年】あと 0日\tborn0305.1970\t2024/03/05",
                                        "03月05日【1980年】あと 0日\tBORN0305.1980\t2024/03/05"}));
    const auto greeting = run({"birthday", "greeting", "--today", "2024-03-05"});
    ASSERT_EQ(greeting.status, 0) << greeting.err;
    EXPECT_EQ(lines(greeting.out),
              (std::vector<std::string>{"BORN0305.1980\t【44歳の誕生日】1980/03/05 (水)",
                                        "BORN0305.txt\t",
                                        "born0305.1970\t【54歳の誕生日】1970/03/05 (木)"}));
}

TEST_F(BirthdayCtl, UnreadableEntryInTheGreeting) {
    std::filesystem::create_symlink("/proc/self/mem", home.path() / "data" / "BORN0305.1990");
    const auto greeting = run({"birthday", "greeting", "--today", "2024-03-05"});
    EXPECT_EQ(greeting.status, 1);
    EXPECT_NE(greeting.err.find("BORN0305.1990"), std::string::npos);
    EXPECT_EQ(lines(greeting.out).size(), 3u);
}

TEST_F(BirthdayCtl, NoDataFolderIsAnIoError) {
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=.\r\n");
    EXPECT_EQ(run({"birthday", "list"}).status, 1);
    EXPECT_EQ(run({"birthday", "greeting"}).status, 1);
}

}  // namespace
