// Feeds arbitrary bytes to the phone book's tab reader and checks that a
// sound reading writes back to cells that read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "phonebook/tab_file.h"
#include "phonebook/tab_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace hinagiku::phonebook;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TabContent content = parseTab(bytes);
    bool fits = true;
    for (const auto& row : content.grid.rows)
        fits = fits && rowFits(row) && rowReadsBack(row);
    if (content.damage.empty() && fits) {
        const TabContent again = parseTab(encodeTab(content.grid));
        if (!(again.grid == content.grid) || !again.damage.empty())
            std::abort();
    }
    return 0;
}
