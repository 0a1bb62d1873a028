#include "memo/memo_index.h"

#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"

namespace hinagiku::memo {

MemoIndex readMemoIndex(platform::Settings& settings) {
    MemoIndex index;
    // An edit that changes nothing writes nothing: it is one read under the lock.
    settings.edit([&](platform::SettingsEdit& edit) {
        for (int category = 0; category < kCategoryCount; ++category) {
            CategoryListing& listing = index[static_cast<std::size_t>(category)];
            const std::string name = edit.readText("Memo_bun", std::to_string(category), "");
            listing.name = name.empty() ? defaultCategoryName(category, true) : name;
            listing.treeName = name.empty() ? defaultCategoryName(category, false) : name;
            for (const platform::SettingsEntry& entry : edit.entries(categorySection(category))) {
                listing.memos.push_back(
                    {entry.key,
                     platform::fromCp932(platform::profile_text::cleanValue(
                         platform::toCp932(entry.value), platform::ProfileFile::kMaxValueBytes))});
            }
        }
    });
    return index;
}

}  // namespace hinagiku::memo
