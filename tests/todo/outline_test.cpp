#include "todo/outline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hinagiku::todo {
namespace {

// "F" folder, "T" trash, anything else an item's marker; titles = markers.
Outline make(const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<Node> nodes;
    for (const auto& [level, name] : lines) {
        const std::string marker = name[0] == 'F'   ? std::string(kFolderMarker)
                                   : name[0] == 'T' ? std::string(kTrashMarker)
                                                    : name;
        nodes.push_back({level, name, marker, 0});
    }
    return Outline(std::move(nodes));
}

std::string shape(const Outline& outline) {
    std::string text;
    for (const auto& node : outline.nodes())
        text += std::string(static_cast<std::size_t>(node.level), '.') + node.title + " ";
    return text;
}

TEST(Outline, DropRule) {
    // F1 [a [a1], b] F2 [c] T []
    const std::vector<std::pair<int, std::string>> base = {{0, "F1"}, {1, "a"}, {2, "a1"}, {1, "b"},
                                                           {0, "F2"}, {1, "c"}, {0, "T"}};
    struct Case {
        const char* name;
        std::size_t from, to;
        MoveResult result;
        std::size_t newPos;
        std::string after;
    };
    const std::string unchanged = "F1 .a ..a1 .b F2 .c T ";
    const Case cases[] = {
        {"item on a later item: just before it", 1, 5, MoveResult::Moved, 3,
         "F1 .b F2 .a ..a1 .c T "},
        {"item on an earlier item", 3, 1, MoveResult::Moved, 1, "F1 .b .a ..a1 F2 .c T "},
        {"item on a folder: first child", 5, 0, MoveResult::Moved, 1, "F1 .c .a ..a1 .b F2 T "},
        {"item on the trash", 1, 6, MoveResult::Moved, 5, "F1 .b F2 .c T .a ..a1 "},
        {"child item on an item at top level of folder", 2, 3, MoveResult::Moved, 2,
         "F1 .a .a1 .b F2 .c T "},
        {"item onto its own parent folder", 3, 0, MoveResult::Moved, 1, "F1 .b .a ..a1 F2 .c T "},
        {"folder never moves", 0, 4, MoveResult::Folder, 0, unchanged},
        {"trash never moves", 6, 0, MoveResult::Folder, 0, unchanged},
        {"onto itself", 1, 1, MoveResult::Self, 0, unchanged},
        {"into its own subtree", 1, 2, MoveResult::Inside, 0, unchanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outline outline = make(base);
        std::size_t newPos = 0;
        EXPECT_EQ(outline.move(c.from, c.to, &newPos), c.result);
        EXPECT_EQ(shape(outline), c.after);
        if (c.result == MoveResult::Moved) {
            EXPECT_EQ(newPos, c.newPos);
            EXPECT_EQ(outline.at(newPos).title, make(base).at(c.from).title);
        }
    }
}

TEST(Outline, MoveKeepsIdentity) {
    Outline outline = make({{0, "F1"}, {1, "a"}, {0, "F2"}, {0, "T"}});
    const auto id = outline.at(1).id;
    ASSERT_EQ(outline.move(1, 2), MoveResult::Moved);
    EXPECT_EQ(outline.positionOf(id), 2u);
}

TEST(Outline, TitlesAsTypedBecomeStorable) {
    EXPECT_EQ(encodeTitle("a\tb\r\nc"), std::optional<std::string>("a b  c"));
    EXPECT_EQ(encodeTitle("  予定"), std::optional<std::string>("  \x97\x5C\x92\xE8"));
    EXPECT_EQ(encodeTitle("emoji 😀"), std::nullopt);
    EXPECT_EQ(encodeTitle("한국어"), std::nullopt);
}

}  // namespace
}  // namespace hinagiku::todo
