// File names of the data folder as the management window reads them: the
// description, the sort key, the heading and the editor an item opens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/file_search.h"
#include "richtext/utf8.h"
#include "schedule/agenda/entry_listing.h"

using namespace hinagiku;
using namespace hinagiku::schedule;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    const ListedEntry entry = listedEntry("/data", name);
    // What the list shows is valid UTF-8 without control characters.
    for (const std::string& text : {entry.description, itemHeading(entry)}) {
        if (richtext::validUtf8(text) != text)
            std::abort();
        for (unsigned char c : text) {
            if (c < 0x20)
                std::abort();
        }
    }
    (void)listingSortKey(entry.description);
    (void)listingAccepts(ListingMode::Past, entry, 45366.5, 45366.0);
    // An editor opens only on the item's own file.
    const EditTarget target = editTargetOf(entry, 45366.0);
    if (target.editor == EditTarget::Editor::ToDo &&
        platform::foldAsciiCase(toDoEditorEntryName(target.todo)) !=
            platform::foldAsciiCase(name)) {
        std::abort();
    }
    if (target.editor == EditTarget::Editor::None && target.error.empty())
        std::abort();
    return 0;
}
