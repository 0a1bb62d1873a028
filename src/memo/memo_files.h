#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "richtext/rich_text.h"

namespace hinagiku::memo {

// Files dropped on a memo or loaded into it are refused past this size.
inline constexpr std::uintmax_t kMaxMemoFileBytes = std::uintmax_t{16} * 1024 * 1024;

// Whether a memo takes `path` as a picture: its extension, upper-cased, is
// ".BMP" or ".JPG". Every other file is text.
bool isPictureFile(const std::filesystem::path& path);

// Whether `bytes` hold something other than text: a NUL byte, or more than a
// few control characters that text files do not use.
bool looksBinary(std::string_view bytes);

// A file a memo is about to take. For text, its bytes; for a picture, only
// the checks (the window decodes it).
struct MemoFile {
    enum class Fault { None, Missing, Folder, TooLarge, Unreadable, Binary };
    Fault fault = Fault::None;
    bool picture = false;
    std::string bytes;

    bool ok() const { return fault == Fault::None; }
};

// Checks and reads a dropped or loaded file: it must be a readable regular
// file of at most kMaxMemoFileBytes, and text must not look binary.
MemoFile readMemoFile(const std::filesystem::path& path);

// A text file as a memo takes it: RTF when it is RTF, else plain text read
// as UTF-8 when it is valid UTF-8 (a byte-order mark is dropped), else as
// CP932.
richtext::RichText memoTextFromFile(std::string_view bytes);

// Plain text as a memo saves it to a ".txt" file: CP932 with CR LF, or
// UTF-8 with a byte-order mark (and CR LF) when CP932 cannot hold one of its
// characters, so nothing is ever written as "?". `utf8` has LF line ends.
std::string plainTextFileBytes(std::string_view utf8);

}  // namespace hinagiku::memo
