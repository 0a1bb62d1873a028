#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "platform/atomic_file.h"
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

TEST_F(MemoCommands, PictureStoresThePasteAndRefusesOpenOrUnknownMemos) {
    const auto data = home.path() / "Data";
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    const std::string png = (home.path() / "shot.png").string();
    ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
    home.writeFile("not-a-picture.png", "text");
    ASSERT_EQ(ctl({"memo", "new", "2"}).out, "Memo1\n");
    ASSERT_EQ(ctl({"memo", "new", "2"}).out, "Memo2\n");
    platform::ProfileFile(home.iniPath()).writeText("Memo2", "Show", "1");

    struct Case {
        std::vector<std::string> args;
        int pastePic;
        int status;
        std::string out;
        const char* magic;
    };
    const std::string folder = (data / "Memo").string();
    for (const Case& c : {
             Case{{"memo1", png}, 0, 0, folder + "/Memo1.JPG\n", "\xFF\xD8\xFF"},
             Case{{"Memo1", png}, 1, 0, folder + "/Memo1.BMP\n", "BM"},
             Case{{"Memo2", png}, 0, 1, "", nullptr},  // open
             Case{{"Memo7", png}, 0, 1, "", nullptr},  // in no category
             Case{{"Memo1", (home.path() / "not-a-picture.png").string()}, 0, 1, "", nullptr},
             Case{{"Memo1", (home.path() / "missing.png").string()}, 0, 1, "", nullptr},
         }) {
        platform::ProfileFile(home.iniPath()).writeInt("Form", "PastePic", c.pastePic);
        const std::string before =
            platform::ProfileFile(home.iniPath()).readText("Memo1", "BmpFile", "");
        std::vector<std::string> args = {"memo", "picture"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto outcome = ctl(args);
        EXPECT_EQ(outcome.status, c.status) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(outcome.out, c.out);
        platform::ProfileFile ini(home.iniPath());
        if (c.magic == nullptr) {
            EXPECT_EQ(ini.readText("Memo1", "BmpFile", ""), before);
            continue;
        }
        const std::string written = c.out.substr(0, c.out.size() - 1);
        EXPECT_EQ(ini.readText("Memo1", "BmpFile", ""), written);
        EXPECT_EQ(ini.readInt("Memo1", "Kind", 0), 1);
        EXPECT_EQ(QImage(QString::fromStdString(written)).size(), QSize(24, 16));
        std::string bytes;
        ASSERT_TRUE(platform::readWholeFile(written, bytes));
        EXPECT_TRUE(bytes.starts_with(c.magic));
    }
    EXPECT_EQ(ctl({"memo", "list", "2"}).out,
              "2\tMemo1\tMemo1\tclosed\tpicture\n2\tMemo2\tMemo2\topen\ttext\n");
    EXPECT_EQ(ctl({"memo", "picture", "Memo1"}).status, 2);
}

}  // namespace
}  // namespace hinagiku::memo
