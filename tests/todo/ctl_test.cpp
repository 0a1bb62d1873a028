// The todo commands of hinagikuctl run as scripts run them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku::todo {
namespace {

namespace fs = std::filesystem;

class TodoCtlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(data());
        home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data().string() + "\r\n");
    }
    fs::path data() const { return home.path() / "data"; }
    testing::ProcessOutcome ctl(std::vector<std::string> words) const {
        words.insert(words.begin(), {testing::builtProgram("hinagikuctl"), "--home",
                                     home.path().string(), "todo"});
        return testing::runProcess(words);
    }
    void put(const std::string& name, const std::string& bytes) const {
        fs::create_directories(data() / "Todo");
        platform::writeFileAtomically(data() / "Todo" / name, bytes);
    }
    std::string get(const std::string& name) const {
        std::string bytes;
        platform::readWholeFile(data() / "Todo" / name, bytes);
        return bytes;
    }
    testing::TempHome home;
};

const std::string kTitles =
    "F\r\n\t  spaced \x81\xE6\x87\x9A\xFA\x5B\r\n\tsecond\r\nG\r\n"
    "\x82\xB2\x82\xDD\x94\xA0\r\n\tthrown\r\n";
const std::string kMarkers =
    "%$#Z32#$%\r\n\t0.z32\r\n\t7.Z32\r\n%$#Z32#$%\r\n%$#G32#$%\r\n\t3.z32\r\n";

TEST_F(TodoCtlTest, ShowOnAFreshFolderCreatesNothing) {
    const auto run = ctl({"show"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "source\tdefault\n"
              "0\t0\tfolder\t%$#Z32#$%\t-\tやるべきもの\n"
              "1\t0\tfolder\t%$#Z32#$%\t-\t保留されているもの\n"
              "2\t0\tfolder\t%$#Z32#$%\t-\t終了したもの\n"
              "3\t0\ttrash\t%$#G32#$%\t-\tごみ箱\n"
              "next\t0\n");
    EXPECT_FALSE(fs::exists(data() / "Todo"));
}

TEST_F(TodoCtlTest, AddFirstItemThenShowNotes) {
    fs::path note = home.path() / "note.txt";
    platform::writeFileAtomically(note, "first line\n二行目\n");
    const auto added = ctl({"add", "--at", "2024-03-05T09:07:03", "--note", note.string()});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "added\t1\t0.z32\t2024/03/05(火) 09:07:03登録\n");
    EXPECT_EQ(get("0.z32").rfind("{\\rtf1", 0), 0u);
    const auto text = ctl({"note", "1"});
    // As `rtf text` prints it: the last paragraph mark leaves an empty paragraph.
    EXPECT_EQ(text.out, "first line\n二行目\n\n");
    EXPECT_EQ(ctl({"note", "0"}).out, "2024/03/05(火) 09:07:03登録\n");
}

TEST_F(TodoCtlTest, MoveKeepsUntouchedLinesAndCaseOfNames) {
    put("TREEDATA.Z32", kTitles);
    put("TreeFile.z32", kMarkers);
    put("7.z32", "plain note");
    ::mkfifo((data() / "Todo" / "0.z32").c_str(), 0600);
    const auto show = ctl({"show"});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("1\t1\titem\t0.z32\tbad\t"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("2\t1\titem\t7.Z32\tplain\tsecond\n"), std::string::npos);
    EXPECT_NE(show.out.find("next\t8\n"), std::string::npos);
    struct Case {
        std::vector<std::string> words;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {{"move", "2", "3"}, 0, "moved\t3\n"},
        {{"move", "0", "3"}, 0, "unchanged\tfolder\n"},
        {{"move", "1", "1"}, 0, "unchanged\tself\n"},
        {{"move", "1", "9"}, 2, ""},
        {{"note", "1"}, 3, "refused\tnote\n"},
        {{"title", "4", "x"}, 3, "refused\ttrash\n"},
        {{"title", "5", "😀"}, 2, ""},
    };
    for (const Case& c : cases) {
        const auto run = ctl(c.words);
        EXPECT_EQ(run.status, c.status) << c.words[0] << run.err;
        EXPECT_EQ(run.out, c.out) << c.words[0];
    }
    EXPECT_EQ(get("TREEDATA.Z32"),
              "F\r\n\t  spaced \x81\xE6\x87\x9A\xFA\x5B\r\nG\r\n\tsecond\r\n"
              "\x82\xB2\x82\xDD\x94\xA0\r\n\tthrown\r\n");
    EXPECT_FALSE(fs::exists(data() / "Todo" / "TreeData.z32"));
    const auto titled = ctl({"title", "3", "a\tb"});
    EXPECT_EQ(titled.out, "titled\t3\ta b\n");
}

TEST_F(TodoCtlTest, DamagedPairIsReportedAndNotWritten) {
    put("TreeData.z32", "F\r\n\t\t\tdeep\r\n");
    put("TreeFile.z32", "%$#Z32#$%\r\n\t\t\t1.z32\r\n");
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"show"}, {"add"}, {"empty-trash"}, {"title", "0", "x"}}) {
        const auto run = ctl(words);
        EXPECT_EQ(run.status, 3) << words[0];
        EXPECT_EQ(run.out, "damaged\tTreeData.z32\t2\tlevel\n") << words[0];
    }
    EXPECT_EQ(get("TreeData.z32"), "F\r\n\t\t\tdeep\r\n");
    EXPECT_EQ(home.readFile("hinagiku.ini").find("Borad"), std::string::npos);
}

TEST_F(TodoCtlTest, EmptyTrashAndPrint) {
    put("TreeData.z32", kTitles);
    put("TreeFile.z32", kMarkers);
    put("3.z32", "gone");
    put("7.z32", "{\\rtf1\\ansi note body\\par}");
    const auto emptied = ctl({"empty-trash"});
    EXPECT_EQ(emptied.out, "deleted\t3.z32\nemptied\t1\n");
    EXPECT_FALSE(fs::exists(data() / "Todo" / "3.z32"));
    const fs::path pdf = home.path() / "out.pdf";
    const auto printed = ctl({"print", "2", pdf.string()});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, "printed\t" + pdf.string() + "\n");
    const auto text = testing::runProcess({"/usr/bin/pdftotext", pdf.string(), "-"});
    ASSERT_EQ(text.status, 0) << "pdftotext (poppler-utils) is needed";
    EXPECT_NE(text.out.find("【F】"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("second"), std::string::npos);
    EXPECT_NE(text.out.find("note body"), std::string::npos);
    EXPECT_EQ(get("7.z32"), "{\\rtf1\\ansi note body\\par}");
    const auto info = testing::runProcess({"/usr/bin/pdfinfo", pdf.string()});
    EXPECT_NE(info.out.find("Todo Board"), std::string::npos);
}

TEST_F(TodoCtlTest, NoDataFolder) {
    home.writeFile("hinagiku.ini", "");
    EXPECT_EQ(ctl({"show"}).status, 1);
}

}  // namespace
}  // namespace hinagiku::todo
