#pragma once

#include <array>
#include <string>
#include <vector>

#include "memo/memo_store.h"
#include "platform/settings.h"

namespace hinagiku::memo {

// One category as the menus and the memo tree show it.
struct CategoryListing {
    std::string name;      // [Memo_bun] N, else "メモ１"… (menus, reorder boxes)
    std::string treeName;  // [Memo_bun] N, else "メモ1"… (the memo tree)
    std::vector<MemoEntry> memos;
};
using MemoIndex = std::array<CategoryListing, kCategoryCount>;

// The ten categories with their names and memos in index order, from one
// read of the settings (a menu or tree rebuild reads the file once).
MemoIndex readMemoIndex(platform::Settings& settings);

}  // namespace hinagiku::memo
