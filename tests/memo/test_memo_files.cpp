// Files a memo takes and writes: the checks of dropped and loaded files,
// how their text is decoded, and the ".txt" encoding.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "memo/memo_files.h"
#include "platform/cp932.h"
#include "richtext/rich_text.h"
#include "support/temp_home.h"

using namespace hinagiku;
using Fault = memo::MemoFile::Fault;

TEST(MemoFiles, PicturesAreTheBmpAndJpgExtensionsInAnyCase) {
    EXPECT_TRUE(memo::isPictureFile("/a/b.BMP"));
    EXPECT_TRUE(memo::isPictureFile("/a/b.jpg"));
    EXPECT_TRUE(memo::isPictureFile("/a/b.Jpg"));
    EXPECT_FALSE(memo::isPictureFile("/a/b.jpeg"));
    EXPECT_FALSE(memo::isPictureFile("/a/b.png"));
    EXPECT_FALSE(memo::isPictureFile("/a/BMP"));
}

TEST(MemoFiles, ChecksRefuseWhatAMemoCannotTake) {
    hinagiku::testing::TempHome home;
    home.writeFile("text.txt", "hello\r\n");
    home.writeFile("nul.txt", std::string("ab\0cd", 5));
    home.writeFile("controls.txt", std::string(40, '\x01') + std::string(100, 'a'));
    home.writeFile("huge.txt", std::string(memo::kMaxMemoFileBytes + 1, 'a'));
    home.writeFile("limit.txt", std::string(memo::kMaxMemoFileBytes, 'a'));
    home.writeFile("secret.txt", "x");
    home.writeFile("picture.JPG", std::string("\xFF\xD8\x00\x01", 4));
    std::filesystem::create_directories(home.path() / "folder.txt");
    chmod((home.path() / "secret.txt").c_str(), 0);
    const bool root = geteuid() == 0;

    struct Case {
        const char* name;
        Fault fault;
    };
    for (const Case& c : {Case{"text.txt", Fault::None}, Case{"nul.txt", Fault::Binary},
                          Case{"controls.txt", Fault::Binary}, Case{"huge.txt", Fault::TooLarge},
                          Case{"limit.txt", Fault::None}, Case{"missing.txt", Fault::Missing},
                          Case{"folder.txt", Fault::Folder},
                          Case{"secret.txt", root ? Fault::None : Fault::Unreadable},
                          // A picture's bytes are the decoder's business.
                          Case{"picture.JPG", Fault::None}}) {
        const memo::MemoFile file = memo::readMemoFile(home.path() / c.name);
        EXPECT_EQ(file.fault, c.fault) << c.name;
    }
    EXPECT_EQ(memo::readMemoFile(home.path() / "text.txt").bytes, "hello\r\n");
    EXPECT_TRUE(memo::readMemoFile(home.path() / "picture.JPG").picture);
}

TEST(MemoFiles, TextIsRtfThenUtf8ThenCp932) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    };
    const std::string kanji = "日本語のメモ";
    for (const Case& c : {
             Case{"utf-8", kanji + "\r\n二行目", kanji + "\n二行目"},
             Case{"utf-8 with mark", "\xEF\xBB\xBF" + kanji, kanji},
             Case{"cp932", platform::toCp932(kanji + "\r\n二行目"), kanji + "\n二行目"},
             Case{"rtf", "{\\rtf1\\ansi plain\\par}", "plain"},
             Case{"ascii", "abc\tdef", "abc\tdef"},
         }) {
        EXPECT_EQ(richtext::plainText(memo::memoTextFromFile(c.bytes)), c.text) << c.name;
    }
}

TEST(MemoFiles, PlainTextIsCp932WithCrLfOrUtf8WithAMark) {
    EXPECT_EQ(memo::plainTextFileBytes("メモ\n2行"), platform::toCp932("メモ\r\n2行"));
    // "𠮷" and "한" have no CP932 form: the whole file becomes UTF-8.
    EXPECT_EQ(memo::plainTextFileBytes("𠮷野家\n한"), "\xEF\xBB\xBF𠮷野家\r\n한");
    EXPECT_EQ(memo::plainTextFileBytes(""), "");
}
