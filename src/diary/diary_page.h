#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::diary {

// Longest title, weather, picture path or cipher name a page keeps, in
// characters.
inline constexpr std::size_t kValueLimit = 256;

// The header of a diary page. Texts are UTF-8; colours are the stored
// 32-bit numbers (a system colour stays its negative number); kept lines
// are the file's own CP932 bytes, never decoded, so they are written back
// exactly as they were read.
struct PageHeader {
    std::string title;
    std::string weather;
    std::string picture;  // empty: none
    std::optional<std::int32_t> fontColor;
    std::optional<std::int32_t> backColor;
    std::optional<int> top;
    std::optional<int> left;
    std::optional<int> height;
    std::optional<int> width;
    bool readOnly = false;
    bool hasTitle = false;  // a title line was read
    std::vector<std::string> kept;
    bool operator==(const PageHeader&) const = default;
};

// Why a page cannot be opened; such a file is never written over.
enum class Refusal { None, Cipher, Html, Damaged };

// A header value that could not be used; the page still opens.
struct HeaderProblem {
    int line = 0;  // 1-based line number in the file
    std::string text;
    bool operator==(const HeaderProblem&) const = default;
};

struct ParsedPage {
    Refusal refusal = Refusal::None;
    std::string cipherName;  // UTF-8, for Refusal::Cipher
    PageHeader header;
    std::string body;  // the bytes after the end line, as they are in the file
    std::vector<HeaderProblem> problems;
};

// Reads a page file: header lines up to the first line whose first four
// characters, upper-cased, are ":END"; keys in any letter case, values kept
// as written and cut to kValueLimit characters. Lines may end in CR LF, LF
// or CR.
ParsedPage parsePage(std::string_view bytes);

// Only the header, for the list and the search: `bytes` may stop anywhere
// after the end line. `headerEnd` receives the offset of the body.
ParsedPage parseHeader(std::string_view bytes, std::size_t* headerEnd = nullptr);

// Offset just past the end line in `bytes`, or nothing while no end line
// is complete in them (a reader adds more bytes and asks again).
std::optional<std::size_t> findHeaderEnd(std::string_view bytes);

enum class SaveStyle {
    Ordinary,     // "CODE:RTF" and the picture line by the path's extension
    PlainExport,  // no "CODE:RTF"; the picture line always "BMP:"
};

// "BMP:", "JPG:" or nothing for a picture path, by its upper-cased extension.
std::string_view pictureKey(std::string_view path);

// The file bytes of a page: CP932 header lines with CR LF in the fixed
// order, the non-empty kept lines after the read-only line, ":END", then
// `body` as given. Colours and placement missing from `header` are written
// as 0. Texts must fit CP932 (see fitsCp932); others are written as '?'.
std::string composePage(const PageHeader& header, std::string_view body, SaveStyle style);

// Parses a whole decimal number as the header's colour and placement
// values are written (an optional sign, digits; "$" or "0x" hexadecimal as
// well). Nothing on anything else or on overflow.
std::optional<std::int32_t> parseHeaderNumber(std::string_view text);

// A page of the older one-file-per-day format: line 1 the title; line 2,
// when it starts with the CP932 bytes of "【天気】", the weather (at most 256
// bytes); the rest the body. Kept as the file's bytes.
struct LegacyPage {
    std::string title;                   // CP932
    std::string weather;                 // CP932
    std::vector<std::string> bodyLines;  // CP932, without line ends
};
LegacyPage parseLegacyPage(std::string_view bytes);

// The converted page: "TITLE:" + title, "WEATHER:" + weather, ":END", then
// the body lines, each ending in CR LF; the legacy bytes are copied.
std::string convertLegacyPage(const LegacyPage& page);

// The first line of a file (CP932), for the list's legacy lines.
std::string_view firstLine(std::string_view bytes);

// The first `limit` characters of UTF-8 text.
std::string cutCharacters(std::string_view utf8, std::size_t limit);

}  // namespace hinagiku::diary
