#include "todo/pair_format.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "platform/cp932.h"

namespace hinagiku::todo {
namespace {

using Bytes = std::string;

PairRead asRead(const std::variant<PairRead, Damage>& result) {
    EXPECT_TRUE(std::holds_alternative<PairRead>(result))
        << (std::holds_alternative<Damage>(result)
                ? std::string(damageWord(std::get<Damage>(result).reason)) + " " +
                      std::get<Damage>(result).file + ":" +
                      std::to_string(std::get<Damage>(result).line)
                : "");
    return std::holds_alternative<PairRead>(result) ? std::get<PairRead>(result) : PairRead{};
}

// A Windows pair with bytes a decode and re-encode would change: the three
// codes of "∵" (81E6, 879A, FA5B), an NEC-selected row code (ED40), a
// user-defined code (F040), a byte that is no CP932 (0x80, 0xA0 lone, 0xFD),
// a trail byte 0x5C in the note name, leading spaces and an inner TAB.
const Bytes kTitles =
    "\x82\xE2\x82\xE9\x82\xD7\x82\xAB\x82\xE0\x82\xCC\r\n"  // やるべきもの
    "\t  two leading spaces\r\n"
    "\t\x81\xE6\x87\x9A\xFA\x5B inner\ttab\r\n"
    "\t\tchild of an item \xED\x40\xF0\x40\r\n"
    "other folder\r\n"
    "\tstray \x80\xA0\xFD bytes\r\n"
    "\x82\xB2\x82\xDD\x94\xA0\r\n";  // ごみ箱
const Bytes kMarkers =
    "%$#Z32#$%\r\n"
    "\t0.z32\r\n"
    "\t1.Z32\r\n"
    "\t\t\x95\x5C.z32\r\n"  // 表.z32: 0x5C is a trail byte, no separator
    "%$#Z32#$%\r\n"
    "\t2.z32\r\n"
    "%$#G32#$%\r\n";

Bytes withLineEnds(const Bytes& crlf, const std::string& end, bool finalEnd) {
    Bytes out;
    std::size_t start = 0;
    while (start < crlf.size()) {
        const std::size_t at = crlf.find("\r\n", start);
        out += crlf.substr(start, at - start);
        start = at + 2;
        if (start < crlf.size() || finalEnd)
            out += end;
    }
    return out;
}

TEST(PairFormat, ReadsEveryLineEndAndWritesUntouchedLinesBack) {
    struct Case {
        const char* name;
        std::string end;
        bool finalEnd;
    };
    for (const Case& c :
         {Case{"CR LF", "\r\n", true}, Case{"LF", "\n", true}, Case{"CR", "\r", true},
          Case{"no final end", "\r\n", false}, Case{"LF no final end", "\n", false}}) {
        SCOPED_TRACE(c.name);
        const auto result = readPair(withLineEnds(kTitles, c.end, c.finalEnd),
                                     withLineEnds(kMarkers, c.end, c.finalEnd));
        const PairRead read = asRead(result);
        ASSERT_EQ(read.outline.size(), 7u);
        EXPECT_TRUE(read.fromFiles);
        EXPECT_EQ(read.outline.at(1).title, "  two leading spaces");
        EXPECT_EQ(read.outline.at(3).level, 2);
        EXPECT_EQ(read.outline.at(6).kind(), NodeKind::Trash);
        const PairBytes written = writePair(read.outline);
        EXPECT_EQ(written.titles, kTitles);
        EXPECT_EQ(written.markers, kMarkers);
    }
}

TEST(PairFormat, MoveKeepsEveryOtherLineByteForByte) {
    PairRead read = asRead(readPair(kTitles, kMarkers));
    // The item with a child (line 3) goes into the other folder; its child follows.
    ASSERT_EQ(read.outline.move(2, 4), MoveResult::Moved);
    const PairBytes written = writePair(read.outline);
    const Bytes expectedTitles =
        "\x82\xE2\x82\xE9\x82\xD7\x82\xAB\x82\xE0\x82\xCC\r\n"
        "\t  two leading spaces\r\n"
        "other folder\r\n"
        "\t\x81\xE6\x87\x9A\xFA\x5B inner\ttab\r\n"
        "\t\tchild of an item \xED\x40\xF0\x40\r\n"
        "\tstray \x80\xA0\xFD bytes\r\n"
        "\x82\xB2\x82\xDD\x94\xA0\r\n";
    const Bytes expectedMarkers =
        "%$#Z32#$%\r\n\t0.z32\r\n%$#Z32#$%\r\n\t1.Z32\r\n"
        "\t\t\x95\x5C.z32\r\n\t2.z32\r\n%$#G32#$%\r\n";
    EXPECT_EQ(written.titles, expectedTitles);
    EXPECT_EQ(written.markers, expectedMarkers);
}

TEST(PairFormat, DefaultOutlineWhenBothMissingOrEmpty) {
    for (const auto& [titles, markers] :
         {std::pair<std::optional<std::string_view>, std::optional<std::string_view>>{std::nullopt,
                                                                                      std::nullopt},
          {"", ""},
          {std::nullopt, ""},
          {"", std::nullopt}}) {
        const PairRead read = asRead(readPair(titles, markers));
        EXPECT_FALSE(read.fromFiles);
        ASSERT_EQ(read.outline.size(), 4u);
        EXPECT_EQ(platform::fromCp932(read.outline.at(0).title), "やるべきもの");
        EXPECT_EQ(platform::fromCp932(read.outline.at(1).title), "保留されているもの");
        EXPECT_EQ(platform::fromCp932(read.outline.at(2).title), "終了したもの");
        EXPECT_EQ(platform::fromCp932(read.outline.at(3).title), "ごみ箱");
        EXPECT_EQ(read.outline.at(3).kind(), NodeKind::Trash);
    }
}

TEST(PairFormat, DamagedPairsNameFileLineAndReason) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::optional<std::string> titles;
        std::optional<std::string> markers;
        Damage expected;
    };
    const std::string T(kTitleFile), M(kMarkerFile);
    const std::string folder = "%$#Z32#$%";
    const Case cases[] = {
        {"titles missing", std::nullopt, folder + "\r\n", {T, 0, DamageReason::Missing}},
        {"markers missing", "a\r\n", std::nullopt, {M, 0, DamageReason::Missing}},
        {"NUL in titles", "a\r\nb\0c\r\n"s, "x\r\n\0\r\n"s, {T, 2, DamageReason::Nul}},
        {"NUL in markers", "a\r\nb\r\n", folder + "\r\n\t\0.z32\r\n"s, {M, 2, DamageReason::Nul}},
        {"first line indented", "\ta\r\n", "\tx\r\n", {T, 1, DamageReason::Level}},
        {"two levels deeper",
         "a\r\n\tb\r\n\t\t\tc\r\n",
         folder + "\r\n\t1.z32\r\n\t\t\t2.z32\r\n",
         {T, 3, DamageReason::Level}},
        {"level fault in markers only",
         "a\r\n\tb\r\n",
         folder + "\r\n\t\t1.z32\r\n",
         {M, 2, DamageReason::Level}},
        {"titles win over markers",
         "a\r\n\t\tb\r\n",
         folder + "\r\n\t\t1.z32\r\n",
         {T, 2, DamageReason::Level}},
        {"indentation differs",
         "a\r\n\tb\r\nc\r\n",
         folder + "\r\n\t1.z32\r\n\t2.z32\r\n",
         {M, 3, DamageReason::Shape}},
        {"markers shorter", "a\r\n\tb\r\n", folder + "\r\n", {M, 2, DamageReason::Shape}},
        {"markers longer", "a\r\n", folder + "\r\n\t1.z32\r\n", {M, 2, DamageReason::Shape}},
        {"one file empty", "a\r\n", "", {M, 1, DamageReason::Shape}},
        {"empty marker", "a\r\n\tb\r\n", folder + "\r\n\t\r\n", {M, 2, DamageReason::Marker}},
        {"parent folder",
         "a\r\n\tb\r\n",
         folder + "\r\n\t../x.z32\r\n",
         {M, 2, DamageReason::Marker}},
        {"absolute path",
         "a\r\n\tb\r\n",
         folder + "\r\n\t/etc/passwd\r\n",
         {M, 2, DamageReason::Marker}},
        {"backslash",
         "a\r\n\tb\r\n",
         folder + "\r\n\tsub\\1.z32\r\n",
         {M, 2, DamageReason::Marker}},
        {"drive colon", "a\r\n\tb\r\n", folder + "\r\n\tC:1.z32\r\n", {M, 2, DamageReason::Marker}},
        {"control character",
         "a\r\n\tb\r\n",
         folder + "\r\n\t1\x01.z32\r\n",
         {M, 2, DamageReason::Marker}},
        {"leading dot", "a\r\n\tb\r\n", folder + "\r\n\t.hidden\r\n", {M, 2, DamageReason::Marker}},
        {"outline file",
         "a\r\n\tb\r\n",
         folder + "\r\n\tTREEDATA.Z32\r\n",
         {M, 2, DamageReason::Marker}},
        {"other outline file", "a\r\n", "treefile.z32\r\n", {M, 1, DamageReason::Marker}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result =
            readPair(c.titles ? std::optional<std::string_view>(*c.titles) : std::nullopt,
                     c.markers ? std::optional<std::string_view>(*c.markers) : std::nullopt);
        ASSERT_TRUE(std::holds_alternative<Damage>(result));
        EXPECT_EQ(std::get<Damage>(result), c.expected)
            << damageWord(std::get<Damage>(result).reason) << " " << std::get<Damage>(result).file
            << ":" << std::get<Damage>(result).line;
    }
}

TEST(PairFormat, LevelFaultMessageCarriesTheTextFileAndLine) {
    const std::string message = damageMessage({std::string(kTitleFile), 3, DamageReason::Level});
    EXPECT_NE(message.find("不正な階層に対する代入"), std::string::npos);
    EXPECT_NE(message.find("TreeData.z32"), std::string::npos);
    EXPECT_NE(message.find("3"), std::string::npos);
}

TEST(PairFormat, ManyLinesAndLongLinesReadInLinearTime) {
    // A million-level staircase and a 100 MB one-line title: no recursion, no hang.
    std::string titles, markers;
    const int lines = 1'000'000;
    titles.reserve(static_cast<std::size_t>(lines) * 2);
    for (int i = 0; i < lines; ++i) {
        titles.append(static_cast<std::size_t>(i > 0 ? 1 : 0), '\t');
        titles += "t\n";
        markers += i == 0 ? "%$#Z32#$%\n" : "\tn.z32\n";
    }
    const auto many = readPair(titles, markers);
    ASSERT_TRUE(std::holds_alternative<PairRead>(many));
    EXPECT_EQ(std::get<PairRead>(many).outline.size(), static_cast<std::size_t>(lines));
    const std::string longTitle(100u * 1024 * 1024, 'x');
    const auto one = readPair(longTitle, "%$#Z32#$%");
    ASSERT_TRUE(std::holds_alternative<PairRead>(one));
    EXPECT_EQ(std::get<PairRead>(one).outline.at(0).title.size(), longTitle.size());
}

}  // namespace
}  // namespace hinagiku::todo
