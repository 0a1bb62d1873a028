#pragma once

#include <string_view>

#include "richtext/rich_text.h"

namespace hinagiku::richtext {

// Whether `bytes` is an RTF document: it starts with "{\rtf", after any
// ASCII white space. Anything else is read as plain text.
bool isRtf(std::string_view bytes);

// Reads an RTF document as Windows rich-edit controls, WordPad, Word and
// LibreOffice write it. Lenient: broken or truncated input gives whatever
// text could be read, never an error; time is linear in the input and memory
// bounded by it.
RichText readRtf(std::string_view bytes);

// Plain text as the editors load a file that is not RTF: CP932 (UTF-8 when it
// starts with a UTF-8 byte order mark), CR LF, LF or CR line ends.
RichText readPlainText(std::string_view bytes);

// The file as the editors load it: RTF when it is RTF, else plain text.
RichText readRichText(std::string_view bytes);

}  // namespace hinagiku::richtext
