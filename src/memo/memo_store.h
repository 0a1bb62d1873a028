#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::memo {

inline constexpr int kCategoryCount = 10;

// One memo of a category, in the category's order.
struct MemoEntry {
    std::string key;    // "Memo12"
    std::string title;  // as the settings rules read it

    bool operator==(const MemoEntry&) const = default;
};

// The index section of a category: "0_Memo" … "9_Memo".
std::string categorySection(int category);
// The default name of a category: "メモ１" … "メモ１０" in menus and the
// reorder boxes (full-width digits), "メモ1" … "メモ10" in the memo tree.
std::string defaultCategoryName(int category, bool fullWidthDigits = true);
// [Memo_bun] N, or the default when unset or empty.
std::string categoryName(const platform::Settings& settings, int category,
                         bool fullWidthDigits = true);

// The number of a memo key ("Memo12" → 12, any case); nothing for other names.
std::optional<long long> memoNumber(std::string_view key);

// The memos of a category in index order.
std::vector<MemoEntry> listCategory(const platform::Settings& settings, int category);
// The first category whose index lists `key`.
std::optional<int> categoryOf(const platform::Settings& settings, std::string_view key);

// The memo store: bodies in the memo folder, everything else in the
// settings file. Every change of an index is one edit of the settings (one
// replacement of the file, under its lock), made from the file as it is at
// that moment: entries added meanwhile by another process stay.
class MemoStore {
  public:
    MemoStore(platform::Settings& settings, std::filesystem::path memoFolder);

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path bodyPath(std::string_view key) const;

    // Creates a memo in `category`, titled with its key; returns the key.
    // The number is the larger of [MemoCount] Count + 1 and one more than
    // the highest number in use (index entries, memo sections, body and
    // picture files), so a damaged or reset Count never hands out a key in
    // use. Count and the index entry are written together. The memo folder
    // is made (one level) when missing; throws platform::IoError when it
    // cannot be.
    std::string create(int category);

    // Removes the memo from `category`'s index together with its section
    // (one replacement), then its body and picture files. A key that other
    // categories still list keeps its section and body.
    void remove(std::string_view key, int category);

    // Sets the title, keeping the entry's place in the category.
    void setTitle(std::string_view key, int category, std::string_view title);

    // Rewrites the order: `target` gets `targetOrder` (its whole new list),
    // and, when another category, `source` gets `sourceRemaining`; both in
    // one replacement. Titles are copied as stored. Keys listed in neither
    // list but present in the file now (added meanwhile) stay, at the end.
    void saveOrder(int source, const std::vector<std::string>& sourceRemaining, int target,
                   const std::vector<std::string>& targetOrder);

  private:
    long long highestNumberInUse(const platform::SettingsEdit& edit) const;

    platform::Settings& settings_;
    std::filesystem::path folder_;
};

}  // namespace hinagiku::memo
