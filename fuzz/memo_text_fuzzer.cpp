// A file dropped on or loaded into a memo: any bytes are checked for being
// binary and read as RTF, UTF-8 or CP932 text. Saved as ".txt", the text
// never gains a "?" for a character CP932 lacks, and when written as UTF-8
// it reads back as it was. (CP932 files are not compared: "¥" is written as
// CP932's 0x5C, and CP932 bytes that happen to be valid UTF-8 read as UTF-8.)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "memo/memo_files.h"
#include "richtext/rich_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)hinagiku::memo::looksBinary(bytes);
    const std::string text = hinagiku::richtext::plainText(hinagiku::memo::memoTextFromFile(bytes));
    const std::string saved = hinagiku::memo::plainTextFileBytes(text);
    if (std::count(saved.begin(), saved.end(), '?') != std::count(text.begin(), text.end(), '?'))
        std::abort();
    if (saved.starts_with("\xEF\xBB\xBF")) {
        const std::string again =
            hinagiku::richtext::plainText(hinagiku::memo::memoTextFromFile(saved));
        if (again != text)
            std::abort();
    }
    return 0;
}
