#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "phonebook/tab_file.h"
#include "phonebook/tab_grid.h"
#include "platform/atomic_file.h"
#include "support/temp_home.h"

namespace hinagiku::phonebook {
namespace {

std::vector<std::string> fields(std::string_view record) {
    return splitRecord(record);
}

TEST(TabRecord, ReadingRules) {
    struct Case {
        std::string record;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"a b", {"a", "b"}},
        {"\"ab\"cd", {"ab", "cd"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a"}},
        {" ", {}},
        {"\" \"", {""}},
        {"\" \",\" \",x", {"", "", "x"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"a,b c\"", {"a,b c"}},
        {"  a ,  b  ", {"a", "b"}},
        {"\"open", {"open"}},
        {"x\"y", {"x\"y"}},
        {"\"\"", {""}},
        {"a\tb", {"a", "b"}},
        // A lead byte takes its trail byte along: 83 5C is one character.
        {"\x83\x5C,z", {"\x83\x5C", "z"}},
        // ... even a quote, a comma or a blank, but never a line end; lead
        // bytes pair up from the start of the field.
        {"\"\x81\"a\",b", {"\x81\"a", "b"}},
        {"\"\x81\x81\",b", {"\x81\x81", "b"}},
        {"\"\x81\x81\x81\"\",b", {"\x81\x81\x81\"", "b"}},
        {"\"\x81\"\"\"x\"", {"\x81\"\"x"}},
        {"\x81,b c", {"\x81,b", "c"}},
        {"\x81\x81,b", {"\x81\x81", "b"}},
        {"x\x81 y", {"x\x81 y"}},
        {"a\x81\rb", {"a\x81", "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fields(c.record), c.want) << c.record;
}

TEST(TabRecord, WritingRules) {
    struct Case {
        Row row;
        std::string want;
    };
    const Case cases[] = {
        {{}, "\" \",\" \",\" \",\" \",\" \",\" \""},
        {{"a", "b c", "x,y", "q\"q", "", "z"}, "a,\"b c\",\"x,y\",\"q\"\"q\",\" \",z"},
        {{"line\r\nbreak", "\x01", "", "", "", ""},
         "\"line\r\nbreak\",\"\x01\",\" \",\" \",\" \",\" \""},
        {{"\x93\xfa\x96\x7b", "", "", "", "", ""},
         "\x93\xfa\x96\x7b,\" \",\" \",\" \",\" \",\" \""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeRecord(c.row), c.want);
        // What is written reads back as the same cells.
        auto back = fields(c.want);
        back.resize(kColumnCount);
        EXPECT_EQ(back, std::vector<std::string>(c.row.begin(), c.row.end()));
    }
}

TEST(TabRecord, LengthCountsEveryQuoteOfALongCell) {
    struct Case {
        std::string cell;
        std::size_t length;  // of the cell in its record
    };
    const Case cases[] = {
        {std::string(5000, '"'), 10002},   {std::string(4079, 'x') + '"', 4083},
        {std::string(4080, 'x'), 4080},    {std::string(4079, 'x') + ' ', 4082},
        {std::string(70000, '"'), 140002},
    };
    for (const auto& c : cases) {
        Row row;
        row[0] = c.cell;
        EXPECT_EQ(recordLength(row), c.length + 5 * 3 + 5);
        EXPECT_EQ(encodeRecord(row).size(), recordLength(row));
        EXPECT_EQ(rowFits(row), recordLength(row) <= kMaxRecordBytes);
        auto back = fields(encodeRecord(row));
        EXPECT_EQ(back.at(0), c.cell);
    }
}

TEST(TabRecord, CellEndingInALoneLeadByteDoesNotReadBack) {
    EXPECT_TRUE(rowReadsBack({"a", "\x93\xfa", "", "", "", ""}));
    EXPECT_FALSE(rowReadsBack({"a\x81", "b", "", "", "", ""}));
    EXPECT_FALSE(rowReadsBack({"a\x81\"", "", "", "", "", ""}));
}

TEST(TabRecord, The4095ByteBoundary) {
    Row row;
    // Five empty cells take 5 × 3 + 5 commas = 20 bytes.
    row[0] = std::string(4095 - 20, 'x');
    EXPECT_EQ(recordLength(row), 4095u);
    EXPECT_TRUE(rowFits(row));
    row[0].push_back('x');
    EXPECT_FALSE(rowFits(row));
}

TEST(TabFileFormat, NewTabIs256EmptyRecords) {
    const TabGrid grid;
    const std::string bytes = encodeTab(grid);
    std::string line = "\" \",\" \",\" \",\" \",\" \",\" \"\r\n";
    std::string want;
    for (int i = 0; i < 256; ++i)
        want += line;
    EXPECT_EQ(bytes, want);
    const TabContent back = parseTab(bytes);
    EXPECT_TRUE(back.grid.empty());
    EXPECT_TRUE(back.damage.empty());
    EXPECT_EQ(back.records.size(), 256u);
}

TEST(TabFileFormat, RecordsNotLines) {
    // The writer puts line breaks inside quotes raw: they belong to the cell.
    const std::string bytes = "\"a\r\nb\",x\r\n\"c\rd\",\"e\nf\"\r\nlast\n";
    const TabContent c = parseTab(bytes);
    EXPECT_TRUE(c.damage.empty()) << c.damage;
    EXPECT_EQ(c.grid.cell(0, 0), "a\r\nb");
    EXPECT_EQ(c.grid.cell(0, 1), "x");
    EXPECT_EQ(c.grid.cell(1, 0), "c\rd");
    EXPECT_EQ(c.grid.cell(1, 1), "e\nf");
    EXPECT_EQ(c.grid.cell(2, 0), "last");
    ASSERT_EQ(c.records.size(), 3u);
    EXPECT_EQ(c.records[0], "\"a\r\nb\",x");
    // A quote taken by a lead byte does not close the cell; a lead byte
    // before a line end does not hold the record open.
    const TabContent lead = parseTab("\"\x81\"\r\nx\",y\r\na\x81\r\nb\r\n");
    EXPECT_TRUE(lead.damage.empty()) << lead.damage;
    EXPECT_EQ(lead.grid.cell(0, 0), "\x81\"\r\nx");
    EXPECT_EQ(lead.grid.cell(0, 1), "y");
    EXPECT_EQ(lead.grid.cell(1, 0), "a\x81");
    EXPECT_EQ(lead.grid.cell(2, 0), "b");
}

TEST(TabFileFormat, LineEndsOfEveryKind) {
    const TabContent c = parseTab("a\nb\r\nc\rd");
    EXPECT_TRUE(c.damage.empty());
    EXPECT_EQ(c.grid.cell(0, 0), "a");
    EXPECT_EQ(c.grid.cell(1, 0), "b");
    EXPECT_EQ(c.grid.cell(2, 0), "c");
    EXPECT_EQ(c.grid.cell(3, 0), "d");
}

TEST(TabFileFormat, DamagedContentShowsWhatFits) {
    struct Case {
        std::string name;
        std::string bytes;
        std::string cell00;
    };
    std::string many;
    for (int i = 0; i < 257; ++i)
        many += "r" + std::to_string(i) + "\r\n";
    const Case cases[] = {
        {"open quote", "first\r\n\"open\r\nthird\r\n", "first"},
        {"seventh field", "a,b,c,d,e,f,g\r\n", "a"},
        {"row 257", many, "r0"},
        {"long record", std::string(5000, 'y') + "\r\n", std::string(4095, 'y')},
    };
    for (const auto& c : cases) {
        const TabContent content = parseTab(c.bytes);
        EXPECT_FALSE(content.damage.empty()) << c.name;
        EXPECT_EQ(content.grid.cell(0, 0), c.cell00) << c.name;
    }
    // The open quote falls back to lines: the third line is row 2.
    const TabContent open = parseTab("first\r\n\"open\r\nthird\r\n");
    EXPECT_EQ(open.grid.cell(1, 0), "open");
    EXPECT_EQ(open.grid.cell(2, 0), "third");
    // Empty fields past the sixth and empty records past 256 are no damage.
    EXPECT_TRUE(parseTab("a,b,c,d,e,f, , \r\n").damage.empty());
    std::string blankTail = encodeTab(TabGrid{}) + "\" \"\r\n\r\n";
    EXPECT_TRUE(parseTab(blankTail).damage.empty());
}

TEST(TabFileFormat, GarbageAndNulBytesNeverCrash) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    const TabContent c = parseTab(garbage);
    (void)c;
    const TabContent nul = parseTab(std::string("a\0b,c\r\n", 7));
    EXPECT_EQ(nul.grid.cell(0, 0), "a");
    EXPECT_EQ(nul.grid.cell(0, 1), "b");
    EXPECT_EQ(nul.grid.cell(0, 2), "c");
}

class TabFileOnDisk : public ::testing::Test {
  protected:
    testing::TempHome home;
    std::filesystem::path folder() const { return home.path() / "Tel"; }
    void put(const std::string& name, const std::string& bytes) {
        home.writeFile("Tel/" + name, bytes);
    }
    std::string get(const std::string& name) { return home.readFile("Tel/" + name); }
};

TEST_F(TabFileOnDisk, WindowsFileOpenedAndLeftStaysByteIdentical) {
    // Hand-edited and Windows quirks: unquoted cells, CP932 duplicate code
    // ED 40 (glibc would write FA 5C), undefined bytes, LF ends, few rows.
    const std::string bytes = "\xED\x40,\x80\xA0\xFD,x\n\"q\"\"\",1 \n";
    put("3.csv", bytes);
    TabFile file = readTabFile(folder(), 3);
    ASSERT_TRUE(file.exists);
    EXPECT_FALSE(file.damaged());
    EXPECT_EQ(file.path.filename(), "3.csv");
    EXPECT_EQ(file.content.grid.cell(0, 0), "\xED\x40");
    // Saving the grid untouched writes nothing.
    TabGrid same;
    const std::string canonical = encodeTab(file.content.grid);
    put("4.CSV", canonical);
    TabFile four = readTabFile(folder(), 4);
    EXPECT_EQ(saveTabFile(four, four.content.grid), SaveOutcome::Unchanged);
    EXPECT_EQ(get("4.CSV"), canonical);
    // An edit elsewhere keeps the cell's bytes and the name on disk.
    TabGrid edited = file.content.grid;
    edited.rows[5][1] = "new";
    EXPECT_EQ(saveTabFile(file, edited), SaveOutcome::Saved);
    EXPECT_FALSE(std::filesystem::exists(folder() / "3.CSV") &&
                 !std::filesystem::equivalent(folder() / "3.CSV", folder() / "3.csv"));
    const std::string saved = get("3.csv");
    EXPECT_EQ(saved.substr(0, 8), "\xED\x40,\x80\xA0\xFD,x");
    EXPECT_EQ(parseTab(saved).grid, edited);
}

TEST_F(TabFileOnDisk, EachDamagedKindIsNeverWritten) {
    std::filesystem::create_directories(folder());
    std::filesystem::create_directories(folder() / "5.CSV");
    ASSERT_EQ(mkfifo((folder() / "6.csv").c_str(), 0600), 0);
    {
        std::ofstream big(folder() / "7.CSV", std::ios::binary);
        const std::string chunk(1024 * 1024, 'z');
        for (int i = 0; i < 50; ++i)
            big << chunk;
    }
    put("8.CSV", "\"never closed\r\nrow\r\n");
    put("9.CSV", std::string(4096, 'L') + "\r\n");
    struct Case {
        int tab;
        bool regular;
    };
    for (const Case c :
         {Case{5, false}, Case{6, false}, Case{7, true}, Case{8, true}, Case{9, true}}) {
        TabFile file = readTabFile(folder(), c.tab);
        EXPECT_TRUE(file.exists) << c.tab;
        EXPECT_TRUE(file.damaged()) << c.tab;
        EXPECT_THROW(saveTabFile(file, TabGrid{}), std::logic_error) << c.tab;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder() / "5.CSV"));
    EXPECT_EQ(std::filesystem::file_size(folder() / "7.CSV"), 50u * 1024 * 1024);
    EXPECT_EQ(get("8.CSV"), "\"never closed\r\nrow\r\n");
}

TEST_F(TabFileOnDisk, UnreadableFileIsDamaged) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    put("2.CSV", "secret\r\n");
    std::filesystem::permissions(folder() / "2.CSV", std::filesystem::perms::none);
    TabFile file = readTabFile(folder(), 2);
    EXPECT_TRUE(file.damaged());
    EXPECT_THROW(saveTabFile(file, TabGrid{}), std::logic_error);
}

TEST_F(TabFileOnDisk, ReadOnlyFolderReportsAndKeepsTheFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    put("1.CSV", "old\r\n");
    TabFile file = readTabFile(folder(), 1);
    std::filesystem::permissions(
        folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    TabGrid grid = file.content.grid;
    grid.rows[0][0] = "new";
    EXPECT_THROW(saveTabFile(file, grid), platform::IoError);
    std::filesystem::permissions(folder(), std::filesystem::perms::owner_all);
    EXPECT_EQ(get("1.CSV"), "old\r\n");
}

TEST_F(TabFileOnDisk, LinkToADeviceIsNeverWritten) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    // A symbolic link is followed: the write lands on the full device.
    std::filesystem::create_directories(folder());
    std::filesystem::create_symlink("/dev/full", folder() / "0.CSV");
    TabFile file = readTabFile(folder(), 0);
    EXPECT_TRUE(file.damaged());  // not a regular file: never written
}

TEST_F(TabFileOnDisk, MissingFileIsEmptyAndSavesWhole) {
    TabFile file = readTabFile(folder(), 11);
    EXPECT_FALSE(file.exists);
    EXPECT_TRUE(file.content.grid.empty());
    std::filesystem::create_directories(folder());
    TabGrid grid;
    grid.rows[255][5] = "127.0.0.1";
    EXPECT_EQ(saveTabFile(file, grid), SaveOutcome::Saved);
    EXPECT_EQ(readTabFile(folder(), 11).content.grid, grid);
    EXPECT_EQ(get("11.CSV").size(), 255u * 25 + 31u);
}

}  // namespace
}  // namespace hinagiku::phonebook
