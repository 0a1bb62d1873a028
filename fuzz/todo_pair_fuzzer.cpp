// Feeds arbitrary bytes to the outline pair reader as a hostile pair: the
// input up to the first 0x1E byte is the title file, the rest the marker
// file (no 0x1E: the marker file is missing). A pair that reads must come
// back unchanged from its own written form, and a move must keep titles and
// markers paired and the levels well formed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <variant>

#include "todo/pair_format.h"

namespace {

namespace todo = hinagiku::todo;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

bool sameOutline(const todo::Outline& a, const todo::Outline& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a.at(i).level != b.at(i).level || a.at(i).title != b.at(i).title ||
            a.at(i).marker != b.at(i).marker)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\x1e');
    const std::string_view titles = input.substr(0, split);
    const std::optional<std::string_view> markers =
        split == std::string_view::npos ? std::nullopt
                                        : std::optional<std::string_view>(input.substr(split + 1));
    auto result = todo::readPair(titles, markers);
    if (std::holds_alternative<todo::Damage>(result))
        return 0;
    todo::Outline outline = std::get<todo::PairRead>(result).outline;
    const todo::PairBytes written = todo::writePair(outline);
    const auto again = todo::readPair(written.titles, written.markers);
    check(std::holds_alternative<todo::PairRead>(again), "written pair does not read back");
    check(sameOutline(std::get<todo::PairRead>(again).outline, outline),
          "written pair reads back different");
    if (outline.size() >= 2) {
        const std::size_t from = size % outline.size();
        const std::size_t to = (size / 7) % outline.size();
        outline.move(from, to);
        const todo::PairBytes moved = todo::writePair(outline);
        check(std::holds_alternative<todo::PairRead>(todo::readPair(moved.titles, moved.markers)),
              "a move broke the outline");
    }
    return 0;
}
