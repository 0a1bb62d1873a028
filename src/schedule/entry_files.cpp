#include "schedule/entry_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/data_folders.h"
#include "platform/atomic_file.h"
#include "platform/file_search.h"
#include "richtext/entry_text.h"
#include "richtext/rtf_writer.h"
#include "schedule/entry_decoder.h"
#include "schedule/entry_name.h"

namespace hinagiku::schedule {
namespace {

bool isRegularFile(const std::filesystem::path& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string scheduleFolder(const platform::Settings& settings) {
    std::string folder = core::DataFolder(settings);
    if (folder == ".")
        folder.clear();
    return folder;
}

std::string EntryContent::plainText() const {
    return richtext::entryPlainText(bytes);
}

std::filesystem::path EntryPathOnDisk(const std::filesystem::path& path) {
    std::string onDisk;
    if (platform::fileExists(path.parent_path(), path.filename().string(), &onDisk))
        return path.parent_path() / onDisk;
    return path;
}

std::optional<EntryContent> LoadEntry(const std::filesystem::path& requested) {
    const std::filesystem::path path = EntryPathOnDisk(requested);
    if (!isRegularFile(path))
        return std::nullopt;
    EntryContent content;
    if (!platform::readWholeFile(path, content.bytes)) {
        // Gone between the test and the read: no entry. Still there: unreadable.
        if (!isRegularFile(path))
            return std::nullopt;
        throw platform::IoError("\"" + path.string() + "\": cannot read the entry");
    }
    return content;
}

void SaveEntry(const std::filesystem::path& path, std::string_view richText) {
    platform::writeFileAtomically(EntryPathOnDisk(path), richText);
}

bool DeleteEntry(const std::string& requested, platform::Settings& settings, OptionsErase erase) {
    const std::string name = std::filesystem::path(requested).filename().string();
    const EntryFamily family = decodeEntryName(name).family;
    // The file goes first: when the system refuses, the entry keeps its
    // options and stays whole.
    const std::string path = EntryPathOnDisk(requested).string();
    bool deleted = false;
    if (isRegularFile(path)) {
        if (::unlink(path.c_str()) == 0) {
            deleted = true;
        } else if (errno != ENOENT) {
            throw platform::IoError("\"" + path +
                                    "\": cannot delete the entry: " + std::strerror(errno));
        }
    }
    if (erase == OptionsErase::Always || family == EntryFamily::Popup ||
        family == EntryFamily::Uptime) {
        settings.eraseSection(requested);
    }
    return deleted;
}

bool EntryExists(const std::filesystem::path& path) {
    return platform::fileExists(path.parent_path(), path.filename().string());
}

std::vector<std::string> FindEntries(const std::filesystem::path& folder,
                                     std::string_view pattern) {
    return platform::findFiles(folder, pattern);
}

void AddPopupToSchedule(std::string_view folder, DateTime date, std::string_view popupPlainText) {
    const std::string path = core::joinPath(folder, ToDoEntryName(ToDoKind::Dated, date));
    std::string text;
    if (const auto existing = LoadEntry(path))
        text = existing->plainText();
    text.append(popupPlainText);
    SaveEntry(path, richtext::plainTextToRtf(text));
}

}  // namespace hinagiku::schedule
