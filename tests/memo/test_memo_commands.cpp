#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku::memo {
namespace {

using testing::runProcess;

testing::ProcessOutcome ctl(std::vector<std::string> args) {
    args.insert(args.begin(), testing::builtProgram("hinagikuctl"));
    return runProcess(args);
}

class MemoCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(home.path() / "Data");
        platform::ProfileFile(home.iniPath())
            .writeText("Calendar", "Directory", (home.path() / "Data").string());
    }
    testing::TempHome home;
};

TEST_F(MemoCommands, CreateListReadReorderAndDelete) {
    home.writeFile("body.txt", platform::toCp932("一行目\r\n二行目\r\n"));
    EXPECT_EQ(ctl({"memo", "new", "0", "--title", "買い物\tリスト", "--body",
                   (home.path() / "body.txt").string()})
                  .out,
              "Memo1\n");
    EXPECT_EQ(ctl({"memo", "new", "0"}).out, "Memo2\n");
    EXPECT_EQ(ctl({"memo", "new", "3"}).out, "Memo3\n");
    platform::ProfileFile(home.iniPath()).writeText("Memo2", "Show", "1");

    EXPECT_EQ(ctl({"memo", "list"}).out,
              "0\tMemo1\t買い物 リスト\tclosed\ttext\n"
              "0\tMemo2\tMemo2\topen\ttext\n"
              "3\tMemo3\tMemo3\tclosed\ttext\n");
    EXPECT_EQ(ctl({"memo", "text", "Memo1"}).out, "一行目\n二行目\n");

    EXPECT_EQ(ctl({"memo", "reorder", "0", "0", "Memo2"}).status, 0);
    EXPECT_EQ(ctl({"memo", "list", "0"}).out,
              "0\tMemo2\tMemo2\topen\ttext\n0\tMemo1\t買い物 リスト\tclosed\ttext\n");
    // An open memo moves only within its category; a key twice is refused.
    EXPECT_EQ(ctl({"memo", "reorder", "0", "3", "Memo2"}).status, 1);
    EXPECT_EQ(ctl({"memo", "reorder", "0", "3", "Memo1", "Memo1"}).status, 1);
    EXPECT_EQ(ctl({"memo", "reorder", "0", "3", "Memo1"}).status, 0);
    EXPECT_EQ(ctl({"memo", "list", "3"}).out,
              "3\tMemo3\tMemo3\tclosed\ttext\n3\tMemo1\t買い物 リスト\tclosed\ttext\n");

    EXPECT_EQ(ctl({"memo", "delete", "Memo2"}).status, 1);  // open
    EXPECT_EQ(ctl({"memo", "delete", "Memo9"}).status, 1);  // in no category
    EXPECT_EQ(ctl({"memo", "delete", "Memo1"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(home.path() / "Data" / "Memo" / "Memo1"));
    EXPECT_EQ(ctl({"memo", "list", "3"}).out, "3\tMemo3\tMemo3\tclosed\ttext\n");

    const auto categories = ctl({"memo", "categories"}).out;
    EXPECT_EQ(categories.substr(0, categories.find('\n')), "0\tメモ１\tメモ1");
    EXPECT_EQ(ctl({"memo", "list", "x"}).status, 2);
}

}  // namespace
}  // namespace hinagiku::memo
