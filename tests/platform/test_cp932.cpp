#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace hinagiku::platform {
namespace {

TEST(Cp932, RoundTripsJapaneseAndTheWindowsExtensions) {
    // "①" and "髙" exist only in the Windows extensions of Shift-JIS.
    for (const std::string text : {"abc", "日本語のテキスト", "①②ⅰ髙", "～－", "ｶﾀｶﾅ", ""}) {
        EXPECT_EQ(fromCp932(toCp932(text)), text);
    }
    EXPECT_EQ(toCp932("日"), "\x93\xfa");
    EXPECT_EQ(toCp932("\\"), "\\");
    // The minus sign has no code of its own: it comes back as the full-width hyphen-minus.
    EXPECT_EQ(fromCp932(toCp932("−")), "－");
}

TEST(Cp932, NothingVanishesSilently) {
    EXPECT_EQ(toCp932("a😀b"), "a?b");
    EXPECT_EQ(toCp932("a\xff"
                      "b"),
              "a?b");                                // not UTF-8 either
    EXPECT_EQ(fromCp932("a\x81"), "a\xEF\xBF\xBD");  // cut double-byte character
    EXPECT_EQ(fromCp932("\xA0z"), "\xEF\xBF\xBDz");  // byte without a character
    EXPECT_FALSE(fitsCp932("😀"));
    EXPECT_TRUE(fitsCp932("日本"));
}

TEST(Cp932, PrefixNeverSplitsACharacter) {
    const std::string bytes = toCp932("aあい");  // 1 + 2 + 2 bytes
    EXPECT_EQ(cp932PrefixLength(bytes, 2), 1u);
    EXPECT_EQ(cp932PrefixLength(bytes, 3), 3u);
    EXPECT_EQ(cp932PrefixLength(bytes, 4), 3u);
    EXPECT_EQ(cp932PrefixLength(bytes, 99), 5u);
    EXPECT_EQ(cp932Length("aあい"), 5u);
}

}  // namespace
}  // namespace hinagiku::platform
