#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::todo {

// Markers of the marker file: a folder, the trash, anything else names an
// item's note file.
inline constexpr std::string_view kFolderMarker = "%$#Z32#$%";
inline constexpr std::string_view kTrashMarker = "%$#G32#$%";

enum class NodeKind { Folder, Trash, Item };

// One node of the outline. Title and marker are the bytes of the files as
// read (CP932, without the level TABs and the line end): a node nobody edits
// goes back to disk byte for byte, whatever codes or stray bytes it holds.
struct Node {
    int level = 0;
    std::string title;     // CP932 bytes
    std::string marker;    // CP932 bytes
    std::uint64_t id = 0;  // identity while the outline lives (windows hold it)
    NodeKind kind() const;
};

// Where a move ended, or why nothing moved.
enum class MoveResult { Moved, Folder, Self, Inside };

// The outline as one depth-first list of nodes with their levels: a node's
// subtree is the run of following nodes deeper than it. Flat, so that no
// shape (a million levels deep) costs recursion.
class Outline {
  public:
    Outline() = default;
    explicit Outline(std::vector<Node> nodes);

    // The folders "やるべきもの", "保留されているもの", "終了したもの" and the trash.
    static Outline defaultOutline();

    const std::vector<Node>& nodes() const { return nodes_; }
    std::size_t size() const { return nodes_.size(); }
    const Node& at(std::size_t pos) const { return nodes_.at(pos); }
    std::optional<std::size_t> positionOf(std::uint64_t id) const;

    // One past the last node of pos's subtree.
    std::size_t subtreeEnd(std::size_t pos) const;
    // Positions of the direct children of pos, in order.
    std::vector<std::size_t> children(std::size_t pos) const;
    // The nearest node above pos with a smaller level.
    std::optional<std::size_t> parent(std::size_t pos) const;
    // The first top-level trash node.
    std::optional<std::size_t> trash() const;

    // Inserts a node as the first child of `parentPos`, returns its position.
    std::size_t insertFirstChild(std::size_t parentPos, std::string title, std::string marker);
    // Drop of `from` on the label of `to`: on an item it goes just before it
    // (same parent), on a folder or the trash it becomes the first child. The
    // subtree moves along. `newPos` receives the position after the move.
    MoveResult move(std::size_t from, std::size_t to, std::size_t* newPos = nullptr);
    // Removes pos with its subtree.
    void removeSubtree(std::size_t pos);
    void setTitle(std::size_t pos, std::string cp932Title);

  private:
    std::uint64_t newId() { return ++lastId_; }
    std::vector<Node> nodes_;
    std::uint64_t lastId_ = 0;
};

// A title as typed, made storable: TAB, CR and LF become spaces (they would
// break the line format). Nothing when a character has no CP932 form.
std::optional<std::string> encodeTitle(std::string_view utf8);

}  // namespace hinagiku::todo
