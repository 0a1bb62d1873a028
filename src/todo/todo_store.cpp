#include "todo/todo_store.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <system_error>

#include "calendar/format_date.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "richtext/rtf_reader.h"

namespace hinagiku::todo {
namespace {

constexpr std::string_view kCountSection = "Borad";  // spelled so in every settings file
constexpr std::string_view kCountKey = "Count";
constexpr std::int64_t kNumberLimit = 1'000'000'000'000'000;

std::int64_t parseCount(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < 0 || value > kNumberLimit)
        return 0;
    (void)end;
    return value;
}

}  // namespace

std::optional<std::int64_t> noteNumber(std::string_view name) {
    const std::string folded = platform::foldAsciiCase(name);
    if (folded.size() <= 4 || folded.substr(folded.size() - 4) != ".z32")
        return std::nullopt;
    const std::string_view digits = std::string_view(folded).substr(0, folded.size() - 4);
    if (digits.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

FolderListing::FolderListing(const std::filesystem::path& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        FolderEntry entry;
        entry.name = it->path().filename().string();
        std::error_code statusError;
        const auto status = it->symlink_status(statusError);
        entry.regular = !statusError && std::filesystem::is_regular_file(status);
        if (entry.regular) {
            const auto size = it->file_size(statusError);
            entry.size = statusError ? 0 : size;
        }
        entries_.emplace(platform::foldAsciiCase(entry.name), std::move(entry));
    }
}

std::optional<FolderEntry> FolderListing::find(std::string_view name) const {
    const auto it = entries_.find(platform::foldAsciiCase(name));
    if (it == entries_.end())
        return std::nullopt;
    return it->second;
}

std::int64_t FolderListing::highestNumber() const {
    std::int64_t highest = -1;
    for (const auto& [folded, entry] : entries_) {
        if (const auto number = noteNumber(folded))
            highest = std::max(highest, *number);
    }
    return highest;
}

TodoStore::TodoStore(std::filesystem::path folder, platform::Settings& settings)
    : folder_(std::move(folder)), settings_(settings) {}

std::variant<PairRead, Damage> TodoStore::load() const {
    const FolderListing listing(folder_);
    const auto titleEntry = listing.find(kTitleFile);
    const auto markerEntry = listing.find(kMarkerFile);
    std::optional<std::string> bytes[2];
    const std::optional<FolderEntry>* entries[2] = {&titleEntry, &markerEntry};
    const std::string_view names[2] = {kTitleFile, kMarkerFile};
    // A non-regular entry (folder, FIFO, device) counts as present but unreadable.
    const bool present[2] = {titleEntry.has_value(), markerEntry.has_value()};
    if (present[0] != present[1]) {
        const int absent = present[0] ? 1 : 0;
        const int other = 1 - absent;
        const auto& entry = *entries[other];
        const bool otherEmpty = entry->regular && entry->size == 0;
        if (!otherEmpty)
            return Damage{std::string(names[absent]), 0, DamageReason::Missing};
    }
    for (int i = 0; i < 2; ++i) {
        if (!present[i])
            continue;
        const auto& entry = *entries[i];
        std::error_code error;
        const bool regularTarget =
            std::filesystem::is_regular_file(folder_ / entry->name, error) && !error;
        std::string read;
        if (!regularTarget || !platform::readWholeFile(folder_ / entry->name, read))
            return Damage{std::string(names[i]), 0, DamageReason::Unreadable};
        bytes[i] = std::move(read);
    }
    return readPair(bytes[0] ? std::optional<std::string_view>(*bytes[0]) : std::nullopt,
                    bytes[1] ? std::optional<std::string_view>(*bytes[1]) : std::nullopt);
}

void TodoStore::save(const Outline& outline) const {
    const PairBytes bytes = writePair(outline);
    const FolderListing listing(folder_);
    const auto titleEntry = listing.find(kTitleFile);
    const auto markerEntry = listing.find(kMarkerFile);
    platform::writeFileAtomically(
        folder_ / (titleEntry ? titleEntry->name : std::string(kTitleFile)), bytes.titles);
    platform::writeFileAtomically(
        folder_ / (markerEntry ? markerEntry->name : std::string(kMarkerFile)), bytes.markers);
}

std::int64_t TodoStore::nextNumber(const Outline& outline) const {
    std::int64_t highest = FolderListing(folder_).highestNumber();
    for (const auto& node : outline.nodes()) {
        if (node.kind() != NodeKind::Item)
            continue;
        if (const auto number = noteNumber(node.marker))
            highest = std::max(highest, *number);
    }
    const std::int64_t count = parseCount(settings_.readText(kCountSection, kCountKey, "0"));
    return std::max(count, highest + 1);
}

std::string TodoStore::takeNoteName(const Outline& outline) {
    const std::int64_t highestInUse = nextNumber(outline);
    std::int64_t taken = 0;
    settings_.edit([&](platform::SettingsEdit& edit) {
        const std::int64_t count = parseCount(edit.readText(kCountSection, kCountKey, "0"));
        taken = std::max(count, highestInUse);
        edit.writeText(kCountSection, kCountKey, std::to_string(taken + 1));
    });
    return std::to_string(taken) + ".z32";
}

std::size_t TodoStore::addItem(Outline& outline, DateTime now) {
    if (outline.size() == 0)
        outline = Outline::defaultOutline();
    std::string marker = takeNoteName(outline);
    const std::string title = FormatDate("yyyy/mm/dd(aaa) hh:nn:ss", now) + "登録";
    Outline changed = outline;
    const std::size_t pos =
        changed.insertFirstChild(0, platform::toCp932(title), std::move(marker));
    save(changed);
    outline = std::move(changed);
    return pos;
}

NoteState TodoStore::noteState(std::string_view marker) const {
    return noteState(marker, FolderListing(folder_));
}

NoteState TodoStore::noteState(std::string_view marker, const FolderListing& listing) const {
    const auto entry = listing.find(marker);
    if (!entry)
        return NoteState::None;
    if (!entry->regular || entry->size > kMaxNoteBytes)
        return NoteState::Bad;
    const auto bytes = readNote(marker, listing);
    if (!bytes)
        return NoteState::Bad;
    return richtext::isRtf(*bytes) ? NoteState::Rtf : NoteState::Plain;
}

std::optional<std::string> TodoStore::readNote(std::string_view marker) const {
    return readNote(marker, FolderListing(folder_));
}

std::optional<std::string> TodoStore::readNote(std::string_view marker,
                                               const FolderListing& listing) const {
    const auto entry = listing.find(marker);
    if (!entry || !entry->regular || entry->size > kMaxNoteBytes)
        return std::nullopt;
    std::string bytes;
    if (!platform::readWholeFile(folder_ / entry->name, bytes) || bytes.size() > kMaxNoteBytes)
        return std::nullopt;
    return bytes;
}

void TodoStore::writeNote(std::string_view marker, std::string_view bytes) const {
    if (!isPlainNoteName(marker))
        throw platform::IoError("not a note file name: " + platform::fromCp932(marker));
    const auto entry = FolderListing(folder_).find(marker);
    const std::string name = entry ? entry->name : std::string(marker);
    if (entry && !entry->regular)
        throw platform::IoError("not a regular file: " + (folder_ / name).string());
    platform::writeFileAtomically(folder_ / name, bytes);
}

EmptyResult TodoStore::emptyTrash(Outline& outline) const {
    EmptyResult result;
    const auto trashPos = outline.trash();
    if (!trashPos)
        return result;
    const std::size_t begin = *trashPos + 1;
    const std::size_t end = outline.subtreeEnd(*trashPos);
    result.children = outline.children(*trashPos).size();
    std::vector<std::string> removedMarkers;
    for (std::size_t i = end; i-- > begin;) {
        if (outline.at(i).kind() == NodeKind::Item)
            removedMarkers.push_back(outline.at(i).marker);
    }
    Outline changed = outline;
    for (std::size_t i = end; i-- > begin;)
        changed.removeSubtree(i);
    std::set<std::string> stillNamed;
    for (const auto& node : changed.nodes()) {
        if (node.kind() == NodeKind::Item)
            stillNamed.insert(platform::foldAsciiCase(node.marker));
    }
    save(changed);
    outline = std::move(changed);
    const FolderListing listing(folder_);
    std::set<std::string> handled;
    for (const auto& marker : removedMarkers) {
        const std::string folded = platform::foldAsciiCase(marker);
        if (!handled.insert(folded).second)
            continue;
        const auto entry = listing.find(marker);
        if (!entry || !isPlainNoteName(marker))
            continue;
        if (stillNamed.contains(folded) || !entry->regular) {
            result.notes.push_back({false, entry->name});
            continue;
        }
        std::error_code error;
        std::filesystem::remove(folder_ / entry->name, error);
        if (error)
            throw platform::IoError("cannot delete " + (folder_ / entry->name).string() + ": " +
                                    error.message());
        result.notes.push_back({true, entry->name});
    }
    return result;
}

}  // namespace hinagiku::todo
