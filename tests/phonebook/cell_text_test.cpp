#include <gtest/gtest.h>

#include "phonebook/cell_text.h"

namespace hinagiku::phonebook {
namespace {

TEST(CellText, EscapesRoundTripEveryByte) {
    struct Case {
        std::string bytes;
        std::string printed;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a\\b\tc\nd\re", "a\\\\b\\tc\\nd\\re"},
        {std::string("\x01\x1F\x7F\0", 4), "\\x01\\x1F\\x7F\\x00"},
        {"\x93\xfa\x96\x7b", "日本"},
        {"\xED\x40", "\\xED@"},  // would come back as FA 5C
        {"\x80\xA0\xFD\xFE\xFF", "\\x80\\xA0\\xFD\\xFE\\xFF"},
        {"x\x81", "x\\x81"},  // cut character
        {"\xB1\xB2", "ｱｲ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeCell(c.bytes), c.printed);
        EXPECT_EQ(unescapeCell(c.printed), c.bytes) << c.printed;
    }
}

TEST(CellText, BadInputIsRefused) {
    for (const std::string bad : {"a\\", "\\q", "\\x4", "\\xZZ", "😀"}) {
        std::string problem;
        EXPECT_FALSE(unescapeCell(bad, &problem)) << bad;
        EXPECT_FALSE(problem.empty());
    }
    EXPECT_EQ(unescapeCell("\\x4a"), "J");
}

TEST(CellText, TypedLineBreaksBecomeSpacesAndMissingCharactersAreRefused) {
    EXPECT_EQ(encodeTypedCell("a\r\nb\nc\rd\te"), "a b c d e");
    EXPECT_EQ(encodeTypedCell("x\u2028y"), "x y");
    EXPECT_EQ(encodeTypedCell("日本"), "\x93\xfa\x96\x7b");
    EXPECT_FALSE(encodeTypedCell("a😀"));
    EXPECT_EQ(displayCell("\x93\xfa"), "日");
}

}  // namespace
}  // namespace hinagiku::phonebook
