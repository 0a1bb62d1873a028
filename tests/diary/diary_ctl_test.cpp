#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku {
namespace {

namespace fs = std::filesystem;
using testing::builtProgram;
using testing::runProcess;

class DiaryCtl : public ::testing::Test {
  protected:
    testing::TempHome home;
    fs::path folder = home.path() / "data" / "Diary";
    void SetUp() override {
        fs::create_directories(folder);
        home.writeFile("hinagiku.ini",
                       "[Calendar]\r\nDirectory=" + (home.path() / "data").string() + "\r\n");
    }
    testing::ProcessOutcome ctl(std::vector<std::string> args) const {
        args.insert(args.begin(), {builtProgram("hinagikuctl"), "diary"});
        return runProcess(args);
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::string bytes;
        platform::readWholeFile(folder / name, bytes);
        return bytes;
    }
};

TEST_F(DiaryCtl, ReadShowsTheHeaderAndWritesNothing) {
    const std::string page = platform::toCp932(
        "weather:晴\r\nTITLE:題\r\nKIV_TOP:12\r\nX-OWN:keep me\r\nKIV_READONLY:true\r\n:END\r\n"
        "plain body");
    write("20240315.jnl", page);
    const auto result = ctl({"read", "2024-03-15"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "source\tjnl\nfile\t" + (folder / "20240315.jnl").string() +
                              "\ntitle\t題\nweather\t晴\npicture\t\nfontcolor\t-2147483640\n"
                              "backcolor\t-2147483643\ntop\t12\nleft\t0\nheight\t438\nwidth\t497\n"
                              "readonly\t1\nkeep\tX-OWN:keep me\nbody\tplain\ntext\nplain body\n");
    EXPECT_EQ(read("20240315.jnl"), page);
    // A legacy page is read, not converted.
    write("ni240316.day", "t\r\nb\r\n");
    EXPECT_NE(ctl({"read", "2024-03-16"}).out.find("source\tlegacy\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "ni240316.day"));
}

TEST_F(DiaryCtl, RefusalsWriteNothing) {
    struct Case {
        const char* bytes;
        const char* line;
    };
    const Case cases[] = {
        {"CIPHER:Blowfish\r\n:END\r\nx", "refused\tcipher\tBlowfish\n"},
        {"CODE:HTML\r\n:END\r\n<p>", "refused\thtml\n"},
        {"TITLE:no end\r\n", "refused\tdamaged\n"},
        {"", "refused\tdamaged\n"},
    };
    for (const Case& c : cases) {
        write("20240315.JNL", c.bytes);
        for (const char* sub : {"read", "write", "export"}) {
            std::vector<std::string> args{sub, "2024-03-15"};
            if (std::string(sub) == "export")
                args.push_back((home.path() / "out.jnl").string());
            const auto result = ctl(args);
            EXPECT_EQ(result.status, 3) << sub << ' ' << c.bytes;
            EXPECT_EQ(result.out, c.line) << sub;
            EXPECT_EQ(read("20240315.JNL"), c.bytes);
            EXPECT_FALSE(fs::exists(home.path() / "out.jnl"));
        }
    }
}

TEST_F(DiaryCtl, WriteConvertsAndSavesTheOptions) {
    write("NI240315.DAY", platform::toCp932("古い\r\n【天気】晴\r\n本文\r\n"));
    const std::string body = (home.path() / "body.txt").string();
    std::ofstream(body) << "新しい本文\n二行目";
    const auto result =
        ctl({"write", "2024-03-15", "--title", "新", "--readonly", "on", "--back-color",
             "-2147483643", "--picture", "/p/a.jpg", "--body", body});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "saved\t" + (folder / "20240315.JNL").string() + "\n");
    EXPECT_FALSE(fs::exists(folder / "NI240315.DAY"));
    const std::string page = read("20240315.JNL");
    EXPECT_EQ(
        page.rfind(platform::toCp932("TITLE:新\r\nWEATHER:晴\r\nCODE:RTF\r\nJPG:/p/a.jpg\r\n"), 0),
        0u);
    EXPECT_NE(page.find("KIV_BACKCOLOR:-2147483643\r\n"), std::string::npos);
    EXPECT_NE(page.find("KIV_READONLY:TRUE\r\n:END\r\n{\\rtf1"), std::string::npos);
    EXPECT_NE(ctl({"read", "2024-03-15"}).out.find("text\n新しい本文\n二行目"), std::string::npos);
}

TEST_F(DiaryCtl, WriteRefusesTextsCp932Lacks) {
    for (const char* option : {"--title", "--weather"}) {
        const auto result = ctl({"write", "2024-03-15", option, "寿司🍣"});
        EXPECT_EQ(result.status, 2) << option;
        EXPECT_TRUE(fs::is_empty(folder));
    }
}

TEST_F(DiaryCtl, ConvertPrintsTheStatusLine) {
    EXPECT_EQ(ctl({"convert", "2024-03-15"}).out, "");
    write("ni240315.day", "t\r\n");
    const auto result = ctl({"convert", "2024-03-15"});
    EXPECT_EQ(result.out, "converted\t" + (folder / "20240315.JNL").string() + "\tNI240315.DAYを" +
                              folder.string() + "/20240315.JNLに変換し保存しました｡\n");
}

TEST_F(DiaryCtl, ExportWritesThePlainForm) {
    write("20240315.JNL",
          "TITLE:t\r\nJPG:/p/x.jpg\r\nCODE:RTF\r\n:END\r\n{\\rtf1\\ansi one\\par two\\par}");
    const std::string out = (home.path() / "out.jnl").string();
    EXPECT_EQ(ctl({"export", "2024-03-15", out}).out, "saved\t" + out + "\n");
    std::string bytes;
    platform::readWholeFile(out, bytes);
    EXPECT_EQ(bytes.find("CODE:RTF"), std::string::npos);
    EXPECT_NE(bytes.find("BMP:/p/x.jpg\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(":END\r\none\r\ntwo"), std::string::npos);
}

TEST_F(DiaryCtl, ListAndSearch) {
    write("20240301.JNL", "TITLE:sea\r\n:END\r\n");
    write("20240302.JNL", "TITLE:x\r\n:END\r\nthe sea");
    const auto list = ctl({"list", "2024", "2"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("2024-02-29\tnone\t2024/02/29 (木)\nwritten\t0\t0\n"),
              std::string::npos);
    const auto march = ctl({"list", "2024", "3"});
    EXPECT_NE(march.out.find("2024-03-01\ttitled\t2024/03/01 (金) : sea\n"), std::string::npos);
    EXPECT_NE(march.out.find("written\t2\t6\n"), std::string::npos);
    EXPECT_EQ(ctl({"search", "2024-12", "2024-01", "sea"}).out,
              "2024-03-01\ttitle\t2024/03/01 (金) : 【題名】sea\n"
              "2024-03-02\tbody\t2024/03/02 (土) : 【本文】x\n");
}

TEST_F(DiaryCtl, UsageErrors) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"read"},
                                                 {"read", "2024-02-30"},
                                                 {"read", "20240301"},
                                                 {"list", "2024", "13"},
                                                 {"search", "2024-1", "2024-02", "x"},
                                                 {"write", "2024-03-01", "--readonly", "maybe"},
                                                 {"write", "2024-03-01", "--title"}}) {
        EXPECT_EQ(ctl(args).status, 2) << (args.empty() ? "" : args[0]);
    }
}

}  // namespace
}  // namespace hinagiku
