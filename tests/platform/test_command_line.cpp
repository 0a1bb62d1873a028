#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hinagiku::platform {
namespace {

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    struct Case {
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"-x file.txt", {"-x", "file.txt"}},
        {"  -x \t  file.txt  ", {"-x", "file.txt"}},
        {"\"My Documents\\a b.txt\" -v", {"My Documents\\a b.txt", "-v"}},
        {"pre\"fix mid\"dle end", {"prefix middle", "end"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"C:\\Tools\\ D:\\", {"C:\\Tools\\", "D:\\"}},
        {"a\\\\\"b c\"", {"a\\b c"}},  // 2 backslashes + quote: one backslash, quote opens
        {"a\\\"b", {"a\"b"}},          // 1 backslash + quote: a literal quote
        {"a\\\\\\\"b", {"a\\\"b"}},    // 3 backslashes + quote: one backslash, literal quote
        {"\"unterminated arg", {"unterminated arg"}},
        {"日本語 \"名前 付き\"", {"日本語", "名前 付き"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitCommandLine(c.text), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace hinagiku::platform
