#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "todo/outline.h"
#include "todo/pair_format.h"

namespace hinagiku::todo {

// Notes larger than this are not loaded (shown read-only with a message).
inline constexpr std::uintmax_t kMaxNoteBytes = 32u * 1024 * 1024;

enum class NoteState { Rtf, Plain, None, Bad };

// One entry of the folder as the case-insensitive lookups see it.
struct FolderEntry {
    std::string name;      // as on disk
    bool regular = false;  // a regular file itself, not a link, FIFO or folder
    std::uintmax_t size = 0;
};

// The files of the ToDo folder by name, compared without regard to ASCII
// case (copies from Windows say "TREEDATA.Z32" or "12.Z32").
class FolderListing {
  public:
    explicit FolderListing(const std::filesystem::path& folder);
    std::optional<FolderEntry> find(std::string_view name) const;
    // The highest n of the files named n + ".z32", or -1.
    std::int64_t highestNumber() const;

  private:
    std::map<std::string, FolderEntry> entries_;  // by folded name
};

// The number in a note name "digits.z32" (any case); nothing otherwise.
std::optional<std::int64_t> noteNumber(std::string_view name);

// What emptying the trash did to one note file.
struct TrashNote {
    bool deleted = false;  // false: kept, another item outside the trash names it
    std::string name;      // on disk
};

struct EmptyResult {
    std::size_t children = 0;
    std::vector<TrashNote> notes;
};

// The ToDo folder: the outline pair, the note files and [Borad] Count. Every
// file is found without regard to ASCII case and written back under the name
// on disk.
class TodoStore {
  public:
    TodoStore(std::filesystem::path folder, platform::Settings& settings);

    const std::filesystem::path& folder() const { return folder_; }

    // The outline from the files, the default outline, or why the files
    // cannot be read (then nothing may be written over them).
    std::variant<PairRead, Damage> load() const;
    // Both files built in full, each replaced atomically. Throws IoError.
    void save(const Outline& outline) const;

    // The next note number: the larger of [Borad] Count and one more than
    // the highest number in use (markers and files).
    std::int64_t nextNumber(const Outline& outline) const;
    // Takes the next number (Count = N + 1) and gives the marker "N.z32".
    std::string takeNoteName(const Outline& outline);

    // Adds an item titled with the time as the first child of the first
    // top-level node and saves the outline. Returns its position.
    std::size_t addItem(Outline& outline, DateTime now);

    NoteState noteState(std::string_view marker) const;
    // The same with one listing for many notes.
    NoteState noteState(std::string_view marker, const FolderListing& listing) const;
    // The note's bytes; nothing when missing or bad (see noteState).
    std::optional<std::string> readNote(std::string_view marker) const;
    std::optional<std::string> readNote(std::string_view marker,
                                        const FolderListing& listing) const;
    // Writes the note under the name on disk (or the marker). Throws IoError;
    // refuses a note that is not a regular file.
    void writeNote(std::string_view marker, std::string_view bytes) const;

    // Removes every child of the trash, writes the outline, then deletes the
    // notes of the removed items (last to first) that no item outside the
    // trash names. Nothing happens without a trash.
    EmptyResult emptyTrash(Outline& outline) const;

  private:
    std::filesystem::path folder_;
    platform::Settings& settings_;
};

}  // namespace hinagiku::todo
