#pragma once

#include <array>
#include <string>
#include <string_view>

namespace hinagiku::tools {

// One item of the web search menu; an empty caption is a separator.
struct WebSearchItem {
    std::string_view caption;
    std::string_view urlTemplate;  // ends in the open query
};

// The menu in order, separators included (eleven rows, eight items).
const std::array<WebSearchItem, 11>& webSearchMenu();

// The query as a Shift_JIS form sends it: the CP932 bytes of the text, every
// byte as "%XX" (upper-case hexadecimal); a character CP932 lacks goes as its
// decimal reference "&#233;" in the same escapes, never as "?".
std::string encodeSearchText(std::string_view utf8);

// The template followed by the encoded text, byte for byte.
std::string webSearchUrl(const WebSearchItem& item, std::string_view utf8);

}  // namespace hinagiku::tools
