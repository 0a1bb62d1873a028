#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "memo/memo_store.h"
#include "platform/settings.h"

namespace hinagiku::memo {

// The working state of the reorder window: a source and a target category,
// the memos still in the source and the new list of the target. Within one
// category the target starts empty and the new order is built by moving
// memos across; between two, moved memos are appended to the target's own.
// Nothing is written before save().
class MemoReorder {
  public:
    // Whether a memo is open in this process (a move of an open memo to
    // another category is refused: its window would keep writing its title
    // into the old one).
    using IsOpen = std::function<bool(std::string_view key)>;

    enum class Result { Done, RefusedOpen, Nothing };

    MemoReorder(platform::Settings& settings, IsOpen isOpen);

    int source() const { return source_; }
    int target() const { return target_; }
    const std::vector<MemoEntry>& sourceList() const { return sourceList_; }
    const std::vector<MemoEntry>& targetList() const { return targetList_; }
    bool sameCategory() const { return source_ == target_; }
    bool canSave() const { return canSave_; }

    // A new source (also "start again"): its memos reloaded, the target
    // set to the same category.
    void setSource(int category);
    // A new target: the source is reloaded, then the target.
    void setTarget(int category);
    // Puts everything back as stored.
    void restart() { setSource(source_); }

    // Whether the source memo at `row` may be moved now.
    bool canMove(int row) const;
    Result moveSelected(int row);
    void moveAll();

    // Writes the target's list and, for two categories, the source's
    // remaining list, in one replacement of the settings file. Refused, with
    // nothing written, when a memo moved to another category is open now.
    Result save(MemoStore& store);

  private:
    void loadTarget();

    platform::Settings& settings_;
    IsOpen isOpen_;
    int source_ = 0;
    int target_ = 0;
    std::vector<MemoEntry> sourceList_;
    std::vector<MemoEntry> targetList_;
    std::vector<std::string> moved_;  // keys moved across in this round
    bool canSave_ = false;
};

}  // namespace hinagiku::memo
