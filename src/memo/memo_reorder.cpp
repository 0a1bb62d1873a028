#include "memo/memo_reorder.h"

#include <algorithm>

namespace hinagiku::memo {
namespace {

std::vector<std::string> keysOf(const std::vector<MemoEntry>& entries) {
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const MemoEntry& entry : entries)
        keys.push_back(entry.key);
    return keys;
}

int clampCategory(int category) {
    return std::clamp(category, 0, kCategoryCount - 1);
}

}  // namespace

MemoReorder::MemoReorder(platform::Settings& settings, IsOpen isOpen)
    : settings_(settings), isOpen_(std::move(isOpen)) {}

void MemoReorder::setSource(int category) {
    source_ = clampCategory(category);
    sourceList_ = listCategory(settings_, source_);
    moved_.clear();
    target_ = source_;
    loadTarget();
    canSave_ = true;
}

void MemoReorder::setTarget(int category) {
    source_ = clampCategory(source_);
    sourceList_ = listCategory(settings_, source_);
    moved_.clear();
    target_ = clampCategory(category);
    loadTarget();
    canSave_ = true;
}

void MemoReorder::loadTarget() {
    targetList_.clear();
    if (target_ != source_)
        targetList_ = listCategory(settings_, target_);
}

bool MemoReorder::canMove(int row) const {
    if (row < 0 || row >= static_cast<int>(sourceList_.size()))
        return false;
    return sameCategory() || !isOpen_(sourceList_[static_cast<std::size_t>(row)].key);
}

MemoReorder::Result MemoReorder::moveSelected(int row) {
    if (row < 0 || row >= static_cast<int>(sourceList_.size()))
        return Result::Nothing;
    if (!canMove(row))
        return Result::RefusedOpen;
    const auto at = sourceList_.begin() + row;
    targetList_.push_back(*at);
    moved_.push_back(at->key);
    sourceList_.erase(at);
    return Result::Done;
}

void MemoReorder::moveAll() {
    for (MemoEntry& entry : sourceList_) {
        moved_.push_back(entry.key);
        targetList_.push_back(std::move(entry));
    }
    sourceList_.clear();
}

MemoReorder::Result MemoReorder::save(MemoStore& store) {
    if (!canSave_)
        return Result::Nothing;
    if (sameCategory()) {
        moveAll();
        store.saveOrder(source_, {}, target_, keysOf(targetList_));
    } else {
        // A memo may have been opened since it was moved.
        if (std::any_of(moved_.begin(), moved_.end(),
                        [&](const std::string& key) { return isOpen_(key); }))
            return Result::RefusedOpen;
        store.saveOrder(source_, keysOf(sourceList_), target_, keysOf(targetList_));
    }
    canSave_ = false;
    return Result::Done;
}

}  // namespace hinagiku::memo
