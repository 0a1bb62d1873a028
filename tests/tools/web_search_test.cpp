#include "tools/web_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hinagiku::tools {
namespace {

TEST(WebSearch, EveryByteIsEscapedInUpperCase) {
    struct Case {
        const char* text;
        const char* encoded;
    } cases[] = {
        {"ab", "%61%62"},
        {"本", "%96%7B"},
        {"a b", "%61%20%62"},
        {"ｱ", "%B1"},                          // half-width katakana: one byte
        {"é", "%26%23%32%33%33%3B"},           // &#233;
        {"😀", "%26%23%31%32%38%35%31%32%3B"},  // outside the basic plane: one reference
        {"한", "%26%23%35%34%36%32%30%3B"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(encodeSearchText(c.text), c.encoded) << c.text;
}

TEST(WebSearch, MenuTemplatesKeepTheirPathsByteForByte) {
    std::vector<std::string> captions;
    for (const WebSearchItem& item : webSearchMenu()) {
        captions.emplace_back(item.caption);
        if (item.caption.empty())
            continue;
        EXPECT_TRUE(item.urlTemplate.starts_with("https://")) << item.caption;
    }
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Google 日本語", "Google イメージ", "", "Google 英和",
                                        "Google 和英", "", "Google 乗換", "Google 荷物(ヤマト)", "",
                                        "Google 株価", "Google 会社情報"}));
    const std::string yamato(webSearchMenu()[7].urlTemplate);
    EXPECT_TRUE(yamato.ends_with("/search?hl=ja&inlang=ja&ie=Shift_JIS&q=%83%84%83}%83g+"));
    EXPECT_TRUE(std::string(webSearchMenu()[1].urlTemplate)
                    .ends_with("/images?hl=ja&inlang=ja&ie=Shift_JIS&q="));
    EXPECT_EQ(webSearchUrl(webSearchMenu()[7], "12"), yamato + "%31%32");
    EXPECT_EQ(webSearchUrl(webSearchMenu()[0], ""), std::string(webSearchMenu()[0].urlTemplate));
}

}  // namespace
}  // namespace hinagiku::tools
