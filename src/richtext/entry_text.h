#pragma once

#include <string>
#include <string_view>

namespace hinagiku::richtext {

// The text of an entry file as the user sees it: the plain text of an RTF
// document, or the file itself when it is not RTF (CP932 with CR LF or LF line
// ends). UTF-8 with LF line ends; never fails.
std::string entryPlainText(std::string_view fileBytes);

}  // namespace hinagiku::richtext
