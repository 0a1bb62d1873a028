#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "todo/outline.h"

namespace hinagiku::todo {

// The two files of the outline pair: titles and markers, line for line.
inline constexpr std::string_view kTitleFile = "TreeData.z32";
inline constexpr std::string_view kMarkerFile = "TreeFile.z32";

// Why a pair cannot be read, in the order they are looked for.
enum class DamageReason { Missing, Unreadable, Nul, Level, Shape, Marker };

struct Damage {
    std::string file;      // kTitleFile or kMarkerFile
    std::size_t line = 0;  // from 1; 0 when the fault has no line
    DamageReason reason = DamageReason::Missing;
    bool operator==(const Damage&) const = default;
};

// "missing", "unreadable", "nul", "level", "shape", "marker".
std::string_view damageWord(DamageReason reason);
// The message the board shows (UTF-8): the fault, the file and the line.
std::string damageMessage(const Damage& damage);

struct PairRead {
    Outline outline;
    bool fromFiles = false;  // false: the default outline (no files, or both empty)
};

// Reads the pair from the bytes of both files (nothing: the file is
// missing). Both missing or both empty give the default outline.
std::variant<PairRead, Damage> readPair(std::optional<std::string_view> titles,
                                        std::optional<std::string_view> markers);

struct PairBytes {
    std::string titles;
    std::string markers;
};
// One TAB per level, the bytes of each node, CR LF after every line.
PairBytes writePair(const Outline& outline);

// Whether an item's marker is a plain file name inside the folder: not empty,
// no "/", "\\", ":" or control character, no leading ".", not the name of
// an outline file (in any case).
bool isPlainNoteName(std::string_view marker);

}  // namespace hinagiku::todo
