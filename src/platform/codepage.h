#pragma once

#include <string>
#include <string_view>

namespace hinagiku::platform {

// Decoding of text in the Windows code pages that documents from other
// programs carry (RTF font charsets and \ansicpg): 932, 936, 949, 950, 1361,
// 874, 1250 to 1258, 437, 850 and 10000 (Mac Roman).

// Whether fromCodePage knows `codePage`.
bool isSupportedCodePage(int codePage);

// Bytes in Windows code page `codePage` to UTF-8. Never fails: a byte sequence
// that is not valid in the code page becomes U+FFFD, and a code page that is
// not supported is read as 1252.
std::string fromCodePage(std::string_view bytes, int codePage);

// Whether `codePage` is a double-byte code page and `byte` starts a
// two-byte character in it.
bool isCodePageLeadByte(int codePage, unsigned char byte);

}  // namespace hinagiku::platform
