#include "memo/memo_files.h"

#include <algorithm>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "richtext/rtf_reader.h"
#include "richtext/utf8.h"

namespace hinagiku::memo {
namespace {

namespace fs = std::filesystem;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string upperExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

}  // namespace

bool isPictureFile(const fs::path& path) {
    const std::string extension = upperExtension(path);
    return extension == ".BMP" || extension == ".JPG";
}

bool looksBinary(std::string_view bytes) {
    std::size_t odd = 0;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0)
            return true;
        // Tab, line ends, form feed, escape and the DOS end-of-file mark
        // occur in text; other control characters hardly ever do.
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B && c != 0x1A)
            ++odd;
    }
    return odd > 8 && odd * 100 > bytes.size();
}

MemoFile readMemoFile(const fs::path& path) {
    MemoFile file;
    file.picture = isPictureFile(path);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        file.fault = MemoFile::Fault::Missing;
        return file;
    }
    if (fs::is_directory(status)) {
        file.fault = MemoFile::Fault::Folder;
        return file;
    }
    if (!fs::is_regular_file(status)) {
        file.fault = MemoFile::Fault::Unreadable;
        return file;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        file.fault = MemoFile::Fault::Unreadable;
        return file;
    }
    if (size > kMaxMemoFileBytes) {
        file.fault = MemoFile::Fault::TooLarge;
        return file;
    }
    std::string bytes;
    if (!platform::readWholeFile(path, bytes)) {
        file.fault = MemoFile::Fault::Unreadable;
        return file;
    }
    if (bytes.size() > kMaxMemoFileBytes) {  // grew meanwhile
        file.fault = MemoFile::Fault::TooLarge;
        return file;
    }
    if (!file.picture) {
        if (looksBinary(bytes)) {
            file.fault = MemoFile::Fault::Binary;
            return file;
        }
        file.bytes = std::move(bytes);
    }
    return file;
}

richtext::RichText memoTextFromFile(std::string_view bytes) {
    if (richtext::isRtf(bytes))
        return richtext::readRtf(bytes);
    std::string_view text = bytes;
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    if (richtext::validUtf8(text) == text)
        return richtext::richTextFromPlainText(text);
    return richtext::readPlainText(bytes);
}

std::string plainTextFileBytes(std::string_view utf8) {
    std::string crlf;
    crlf.reserve(utf8.size() + utf8.size() / 16);
    for (const char c : utf8) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    if (platform::fitsCp932(crlf))
        return platform::toCp932(crlf);
    return std::string(kUtf8Bom) + crlf;
}

}  // namespace hinagiku::memo
