#include "tools/web_search.h"

#include <QList>
#include <QString>

#include "platform/cp932.h"

namespace hinagiku::tools {

const std::array<WebSearchItem, 11>& webSearchMenu() {
    static const std::array<WebSearchItem, 11> kItems{{
        {"Google 日本語", "https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q="},
        {"Google イメージ", "https://images.google.co.jp/images?hl=ja&inlang=ja&ie=Shift_JIS&q="},
        {{}, {}},
        {"Google 英和", "https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q=%89p%98a+"},
        {"Google 和英", "https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q=%98a%89p+"},
        {{}, {}},
        {"Google 乗換",
         "https://www.google.co.jp/"
         "search?hl=ja&inlang=ja&ie=Shift_JIS&q=%8F%E6%82%E8%8A%B7%82%A6+"},
        {"Google 荷物(ヤマト)",
         "https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q=%83%84%83}%83g+"},
        {{}, {}},
        {"Google 株価",
         "https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q=%8A%94%89%BF+"},
        {"Google 会社情報",
         "https://www.google.co.jp/"
         "search?hl=ja&inlang=ja&ie=Shift_JIS&q=%89%EF%8E%D0%8F%EE%95%F1+"},
    }};
    return kItems;
}

std::string encodeSearchText(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string bytes;
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (const char32_t code : text.toUcs4()) {
        const QString one = QString::fromUcs4(&code, 1);
        const QByteArray single = one.toUtf8();
        const std::string_view character(single.constData(),
                                         static_cast<std::size_t>(single.size()));
        if (platform::fitsCp932(character))
            bytes += platform::toCp932(character);
        else
            bytes += "&#" + std::to_string(static_cast<std::uint32_t>(code)) + ";";
    }
    std::string encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        encoded.push_back('%');
        encoded.push_back(kHex[byte >> 4]);
        encoded.push_back(kHex[byte & 0x0F]);
    }
    return encoded;
}

std::string webSearchUrl(const WebSearchItem& item, std::string_view utf8) {
    return std::string(item.urlTemplate) + encodeSearchText(utf8);
}

}  // namespace hinagiku::tools
