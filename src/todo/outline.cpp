#include "todo/outline.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/cp932.h"

namespace hinagiku::todo {

NodeKind Node::kind() const {
    if (marker == kFolderMarker)
        return NodeKind::Folder;
    if (marker == kTrashMarker)
        return NodeKind::Trash;
    return NodeKind::Item;
}

Outline::Outline(std::vector<Node> nodes) : nodes_(std::move(nodes)) {
    for (auto& node : nodes_)
        node.id = newId();
}

Outline Outline::defaultOutline() {
    std::vector<Node> nodes;
    for (const char* title : {"やるべきもの", "保留されているもの", "終了したもの"})
        nodes.push_back({0, platform::toCp932(title), std::string(kFolderMarker), 0});
    nodes.push_back({0, platform::toCp932("ごみ箱"), std::string(kTrashMarker), 0});
    return Outline(std::move(nodes));
}

std::optional<std::size_t> Outline::positionOf(std::uint64_t id) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].id == id)
            return i;
    }
    return std::nullopt;
}

std::size_t Outline::subtreeEnd(std::size_t pos) const {
    const int level = nodes_.at(pos).level;
    std::size_t end = pos + 1;
    while (end < nodes_.size() && nodes_[end].level > level)
        ++end;
    return end;
}

std::vector<std::size_t> Outline::children(std::size_t pos) const {
    std::vector<std::size_t> result;
    const int level = nodes_.at(pos).level;
    const std::size_t end = subtreeEnd(pos);
    for (std::size_t i = pos + 1; i < end; ++i) {
        if (nodes_[i].level == level + 1)
            result.push_back(i);
    }
    return result;
}

std::optional<std::size_t> Outline::parent(std::size_t pos) const {
    const int level = nodes_.at(pos).level;
    for (std::size_t i = pos; i-- > 0;) {
        if (nodes_[i].level < level)
            return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> Outline::trash() const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].level == 0 && nodes_[i].kind() == NodeKind::Trash)
            return i;
    }
    return std::nullopt;
}

std::size_t Outline::insertFirstChild(std::size_t parentPos, std::string title,
                                      std::string marker) {
    const int level = nodes_.at(parentPos).level + 1;
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(parentPos + 1),
                  Node{level, std::move(title), std::move(marker), newId()});
    return parentPos + 1;
}

MoveResult Outline::move(std::size_t from, std::size_t to, std::size_t* newPos) {
    if (nodes_.at(from).kind() != NodeKind::Item || to >= nodes_.size())
        return MoveResult::Folder;
    if (from == to)
        return MoveResult::Self;
    const std::size_t end = subtreeEnd(from);
    if (to > from && to < end)
        return MoveResult::Inside;
    const Node& target = nodes_[to];
    const bool intoTarget = target.kind() != NodeKind::Item;
    const int newLevel = intoTarget ? target.level + 1 : target.level;
    const int shift = newLevel - nodes_[from].level;
    std::vector<Node> moving(
        std::make_move_iterator(nodes_.begin() + static_cast<std::ptrdiff_t>(from)),
        std::make_move_iterator(nodes_.begin() + static_cast<std::ptrdiff_t>(end)));
    for (auto& node : moving)
        node.level += shift;
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(from),
                 nodes_.begin() + static_cast<std::ptrdiff_t>(end));
    std::size_t target2 = to > from ? to - moving.size() : to;
    const std::size_t insertAt = intoTarget ? target2 + 1 : target2;
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  std::make_move_iterator(moving.begin()), std::make_move_iterator(moving.end()));
    if (newPos)
        *newPos = insertAt;
    return MoveResult::Moved;
}

void Outline::removeSubtree(std::size_t pos) {
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(pos),
                 nodes_.begin() + static_cast<std::ptrdiff_t>(subtreeEnd(pos)));
}

void Outline::setTitle(std::size_t pos, std::string cp932Title) {
    nodes_.at(pos).title = std::move(cp932Title);
}

std::optional<std::string> encodeTitle(std::string_view utf8) {
    std::string text(utf8);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    if (!platform::fitsCp932(text))
        return std::nullopt;
    return platform::toCp932(text);
}

}  // namespace hinagiku::todo
