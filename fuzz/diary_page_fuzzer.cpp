// The diary page reader on arbitrary bytes: the page, its header alone, the
// legacy format and a write of what was read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "diary/diary_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hinagiku::diary;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ParsedPage page = parsePage(bytes);
    const std::string written = composePage(page.header, page.body, SaveStyle::Ordinary);
    if (page.refusal == Refusal::None) {
        // What was read must read back the same.
        const ParsedPage again = parsePage(written);
        if (again.header.kept != page.header.kept || again.body != page.body)
            __builtin_trap();
    }
    parseHeader(bytes);
    findHeaderEnd(bytes);
    convertLegacyPage(parseLegacyPage(bytes));
    return 0;
}
