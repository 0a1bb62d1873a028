#include "todo/todo_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <variant>

#include "calendar/date_time.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::todo {
namespace {

namespace fs = std::filesystem;

class TodoStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder()); }
    fs::path folder() const { return home.path() / "data" / "Todo"; }
    void put(const std::string& name, const std::string& bytes) const {
        platform::writeFileAtomically(folder() / name, bytes);
    }
    std::string get(const std::string& name) const {
        std::string bytes;
        platform::readWholeFile(folder() / name, bytes);
        return bytes;
    }
    Outline loaded(const TodoStore& store) const {
        auto result = store.load();
        EXPECT_TRUE(std::holds_alternative<PairRead>(result));
        return std::holds_alternative<PairRead>(result) ? std::get<PairRead>(result).outline
                                                        : Outline();
    }
    testing::TempHome home;
    testing::MemorySettings settings;
};

TEST_F(TodoStoreTest, NextNoteNumber) {
    struct Case {
        const char* name;
        std::optional<std::string> count;
        std::string markers;  // item lines under one folder
        std::vector<std::string> files;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"fresh board", std::nullopt, "", {}, 0},
        {"count given", "7", "", {}, 7},
        {"count not a number", "abc", "", {}, 0},
        {"count negative", "-5", "\t3.z32\r\n", {}, 4},
        {"count below a marker in use", "2", "\t9.Z32\r\n", {}, 10},
        {"count below a file in use", "1", "", {"12.Z32", "x.z32", "5.txt"}, 13},
        {"count above everything", "40", "\t9.z32\r\n", {"12.z32"}, 40},
        {"count reset, numbers in use",
         std::nullopt,
         "\t0.z32\r\n\t1.z32\r\n",
         {"0.z32", "1.z32"},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder());
        fs::create_directories(folder());
        testing::MemorySettings local;
        if (c.count)
            local.writeText("Borad", "Count", *c.count);
        std::string titles = "f\r\n";
        for (std::size_t i = 0; i < c.markers.size(); ++i)
            if (c.markers[i] == '\n')
                titles += "\tt\r\n";
        put("TreeData.z32", titles);
        put("TreeFile.z32", "%$#Z32#$%\r\n" + c.markers);
        for (const auto& file : c.files)
            put(file, "x");
        TodoStore store(folder(), local);
        const Outline outline = loaded(store);
        EXPECT_EQ(store.nextNumber(outline), c.expected);
        EXPECT_EQ(store.takeNoteName(outline), std::to_string(c.expected) + ".z32");
        EXPECT_EQ(local.readText("Borad", "Count", ""), std::to_string(c.expected + 1));
    }
}

TEST_F(TodoStoreTest, FirstItemOnAFreshBoard) {
    TodoStore store(folder(), settings);
    Outline outline = loaded(store);
    const auto at = encodeDate(2024, 3, 5);
    ASSERT_TRUE(at);
    const std::size_t pos = store.addItem(outline, makeDateTime(*at, *encodeTime(9, 7, 3)));
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(outline.at(1).marker, "0.z32");
    EXPECT_EQ(outline.at(1).level, 1);
    EXPECT_EQ(platform::fromCp932(outline.at(1).title), "2024/03/05(火) 09:07:03登録");
    EXPECT_EQ(settings.readText("Borad", "Count", ""), "1");
    EXPECT_EQ(platform::fromCp932(get("TreeData.z32")),
              "やるべきもの\r\n\t2024/03/05(火) "
              "09:07:03登録\r\n保留されているもの\r\n終了したもの\r\nごみ箱\r\n");
    EXPECT_EQ(get("TreeFile.z32"),
              "%$#Z32#$%\r\n\t0.z32\r\n%$#Z32#$%\r\n%$#Z32#$%\r\n%$#G32#$%\r\n");
}

TEST_F(TodoStoreTest, CaseTwinsAreFoundAndWrittenUnderTheirNames) {
    put("TREEDATA.Z32", "f\r\n\tt\r\n");
    put("treefile.Z32", "%$#Z32#$%\r\n\t12.z32\r\n");
    put("12.Z32", "note");
    TodoStore store(folder(), settings);
    Outline outline = loaded(store);
    ASSERT_EQ(outline.size(), 2u);
    EXPECT_EQ(store.readNote("12.z32"), std::optional<std::string>("note"));
    EXPECT_EQ(store.noteState("12.z32"), NoteState::Plain);
    store.writeNote("12.z32", "{\\rtf1 x}");
    store.save(outline);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"12.Z32", "TREEDATA.Z32", "treefile.Z32"}));
    EXPECT_EQ(get("12.Z32"), "{\\rtf1 x}");
    EXPECT_EQ(store.noteState("12.z32"), NoteState::Rtf);
}

TEST_F(TodoStoreTest, DamageFromTheDisk) {
    struct Case {
        const char* name;
        void (*prepare)(const fs::path&);
        Damage expected;
    };
    const std::string T(kTitleFile), M(kMarkerFile);
    const Case cases[] = {
        {"marker file missing",
         [](const fs::path& f) { platform::writeFileAtomically(f / "TreeData.z32", "a\r\n"); },
         {M, 0, DamageReason::Missing}},
        {"title file a folder",
         [](const fs::path& f) {
             fs::create_directory(f / "treedata.z32");
             platform::writeFileAtomically(f / "TreeFile.z32", "%$#Z32#$%\r\n");
         },
         {T, 0, DamageReason::Unreadable}},
        {"marker file a FIFO",
         [](const fs::path& f) {
             platform::writeFileAtomically(f / "TreeData.z32", "a\r\n");
             ::mkfifo((f / "TreeFile.z32").c_str(), 0600);
         },
         {M, 0, DamageReason::Unreadable}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder());
        fs::create_directories(folder());
        c.prepare(folder());
        TodoStore store(folder(), settings);
        const auto result = store.load();
        ASSERT_TRUE(std::holds_alternative<Damage>(result));
        EXPECT_EQ(std::get<Damage>(result), c.expected);
    }
}

TEST_F(TodoStoreTest, BadNotesAreNeverReadOrWritten) {
    ::mkfifo((folder() / "1.z32").c_str(), 0600);
    fs::create_symlink("/dev/zero", folder() / "2.z32");
    put("3.z32", std::string(kMaxNoteBytes + 1, 'x'));
    TodoStore store(folder(), settings);
    for (const char* name : {"1.z32", "2.z32", "3.z32"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(store.noteState(name), NoteState::Bad);
        EXPECT_EQ(store.readNote(name), std::nullopt);
    }
    EXPECT_THROW(store.writeNote("1.z32", "x"), platform::IoError);
    EXPECT_THROW(store.writeNote("../x.z32", "x"), platform::IoError);
    EXPECT_FALSE(fs::exists(folder().parent_path() / "x.z32"));
    EXPECT_EQ(store.noteState("4.z32"), NoteState::None);
}

TEST_F(TodoStoreTest, EmptyingKeepsNotesNamedOutsideTheTrash) {
    put("TreeData.z32", "f\r\n\tkeep\r\nT\r\n\ta\r\n\t\ta child\r\n\tb\r\n\tc\r\n");
    put("TreeFile.z32",
        "%$#Z32#$%\r\n\t0.z32\r\n%$#G32#$%\r\n\t1.z32\r\n\t\t2.z32\r\n\t0.Z32\r\n\t3.z32\r\n");
    put("0.z32", "shared");
    put("1.z32", "one");
    put("2.Z32", "two");
    TodoStore store(folder(), settings);
    Outline outline = loaded(store);
    const EmptyResult result = store.emptyTrash(outline);
    EXPECT_EQ(result.children, 3u);
    ASSERT_EQ(result.notes.size(), 3u);
    // Last to first: c (3.z32, no file), b (0.Z32 shared), a child (2.Z32), a (1.z32).
    EXPECT_FALSE(result.notes[0].deleted);
    EXPECT_EQ(result.notes[0].name, "0.z32");
    EXPECT_TRUE(result.notes[1].deleted);
    EXPECT_EQ(result.notes[1].name, "2.Z32");
    EXPECT_TRUE(result.notes[2].deleted);
    EXPECT_EQ(result.notes[2].name, "1.z32");
    EXPECT_EQ(get("0.z32"), "shared");
    EXPECT_FALSE(fs::exists(folder() / "1.z32"));
    EXPECT_EQ(get("TreeData.z32"), "f\r\n\tkeep\r\nT\r\n");
    EXPECT_EQ(get("TreeFile.z32"), "%$#Z32#$%\r\n\t0.z32\r\n%$#G32#$%\r\n");
}

}  // namespace
}  // namespace hinagiku::todo
