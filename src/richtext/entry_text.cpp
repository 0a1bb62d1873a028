#include "richtext/entry_text.h"

#include "richtext/rtf_reader.h"

namespace hinagiku::richtext {

std::string entryPlainText(std::string_view fileBytes) {
    return plainText(readRichText(fileBytes));
}

}  // namespace hinagiku::richtext
