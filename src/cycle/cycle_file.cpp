#include "cycle/cycle_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_search.h"

namespace hinagiku::cycle {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = "Period";

bool isNumber(std::string_view key) {
    return !key.empty() && key.size() <= 9 &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value as GetPrivateProfileString gives it.
std::string profileValue(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace

std::optional<fs::path> preparePeriodFolder(const std::string& privateFolder) {
    std::error_code ec;
    const fs::path base(privateFolder);
    if (!fs::is_directory(base, ec))
        return std::nullopt;
    for (const auto& entry : fs::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        if (platform::foldAsciiCase(name) == "period" && entry.is_directory(ec))
            return entry.path();
    }
    const fs::path folder = base / "Period";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    if (!fs::is_directory(folder, ec))
        return std::nullopt;
    return folder;
}

fs::path periodFilePath(const fs::path& folder) {
    std::string onDisk;
    if (platform::fileExists(folder, "Period.ini", &onDisk))
        return folder / onDisk;
    return folder / "Period.ini";
}

std::vector<std::string> numberedEntries(const std::vector<platform::SettingsEntry>& entries) {
    std::vector<std::pair<int, std::string>> numbered;
    for (const auto& entry : entries) {
        if (isNumber(entry.key))
            numbered.emplace_back(std::stoi(entry.key), profileValue(entry.value));
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> values;
    values.reserve(numbered.size());
    for (auto& [number, value] : numbered)
        values.push_back(std::move(value));
    return values;
}

CycleFile::CycleFile(platform::Settings& settings, const fs::path& folder)
    : settings_(settings), file_(periodFilePath(folder), kFilePermissions) {}

std::vector<std::string> CycleFile::loadEntries() {
    std::vector<std::string> entries = numberedEntries(file_.listEntries(kSection));
    // A date list an old version kept in the settings file joins the cycle
    // file's own first; only then does it leave the settings file, so a
    // crash between the two writes leaves the dates in both, never in none.
    if (!settings_.readText(kSection, "0", "").empty()) {
        for (auto& entry : numberedEntries(settings_.listEntries(kSection)))
            entries.push_back(std::move(entry));
        std::sort(entries.begin(), entries.end());
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
        writeEntries(entries);
        settings_.eraseSection(kSection);
    }
    return entries;
}

int CycleFile::periodDays() {
    return file_.readInt(kSection, "Days", 5);
}

void CycleFile::writeEntries(const std::vector<std::string>& entries) {
    const std::string count = std::to_string(entries.size());
    // The list as the file would hold it after the rewrite: nothing to do
    // when it holds exactly that (opening leaves the file untouched).
    auto stored = [&](const std::vector<platform::SettingsEntry>& section) {
        std::size_t next = 0;
        bool countSeen = false;
        for (const auto& entry : section) {
            if (isNumber(entry.key)) {
                if (next >= entries.size() || entry.key != std::to_string(next) ||
                    entry.value != entries[next]) {
                    return false;
                }
                ++next;
            } else if (platform::foldAsciiCase(entry.key) == "count") {
                if (countSeen || entry.value != count)
                    return false;
                countSeen = true;
            }
        }
        return next == entries.size() && countSeen;
    };
    if (stored(file_.listEntries(kSection)))
        return;
    // One replacement of the file: killed at any moment, the old list or the
    // new one is on the disk.
    file_.edit([&](platform::SettingsEdit& edit) {
        for (const auto& entry : edit.entries(kSection)) {
            if (isNumber(entry.key))
                edit.eraseKey(kSection, entry.key);
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            edit.writeText(kSection, std::to_string(i), entries[i]);
        edit.writeText(kSection, "Count", count);
    });
}

void CycleFile::writeAverage(bool rField, const std::string& text) {
    file_.writeText(kSection, rField ? "RAvg" : "LAvg", text);
}

void CycleFile::writePeriodDays(int days) {
    file_.writeInt(kSection, "Days", days);
}

std::string CycleFile::readMemo(const std::string& entry) {
    return file_.readText("Comment", entry, "");
}

void CycleFile::writeMemo(const std::string& entry, const std::string& text) {
    file_.writeText("Comment", entry, text);
}

}  // namespace hinagiku::cycle
