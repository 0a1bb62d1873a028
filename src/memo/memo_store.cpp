#include "memo/memo_store.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"

namespace hinagiku::memo {
namespace {

namespace fs = std::filesystem;
using platform::SettingsEdit;
using platform::SettingsEntry;

constexpr const char* kFullWidthDigits[] = {"１", "２", "３", "４", "５",
                                            "６", "７", "８", "９", "１０"};

bool sameKey(std::string_view a, std::string_view b) {
    return platform::foldAsciiCase(a) == platform::foldAsciiCase(b);
}

std::string readTitle(const std::string& raw) {
    return platform::fromCp932(platform::profile_text::cleanValue(
        platform::toCp932(raw), platform::ProfileFile::kMaxValueBytes));
}

const SettingsEntry* findEntry(const std::vector<SettingsEntry>& entries, std::string_view key) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const SettingsEntry& e) { return sameKey(e.key, key); });
    return it == entries.end() ? nullptr : &*it;
}

bool listed(const std::vector<std::string>& keys, std::string_view key) {
    return std::any_of(keys.begin(), keys.end(),
                       [&](const std::string& k) { return sameKey(k, key); });
}

// Writes a category's list, or erases its section when the list is empty.
void writeCategory(SettingsEdit& edit, int category, const std::vector<SettingsEntry>& entries) {
    if (entries.empty())
        edit.eraseSection(categorySection(category));
    else
        edit.replaceSection(categorySection(category), entries);
}

bool listedElsewhere(const SettingsEdit& edit, std::string_view key, int category) {
    for (int other = 0; other < kCategoryCount; ++other) {
        if (other != category && findEntry(edit.entries(categorySection(other)), key))
            return true;
    }
    return false;
}

}  // namespace

std::string categorySection(int category) {
    return std::to_string(category) + "_Memo";
}

std::string defaultCategoryName(int category, bool fullWidthDigits) {
    if (fullWidthDigits && category >= 0 && category < kCategoryCount)
        return std::string("メモ") + kFullWidthDigits[category];
    return "メモ" + std::to_string(category + 1);
}

std::string categoryName(const platform::Settings& settings, int category, bool fullWidthDigits) {
    std::string name = settings.readText("Memo_bun", std::to_string(category), "");
    return name.empty() ? defaultCategoryName(category, fullWidthDigits) : name;
}

std::optional<long long> memoNumber(std::string_view key) {
    if (key.size() < 5 || key.size() > 22 || !sameKey(key.substr(0, 4), "Memo"))
        return std::nullopt;
    long long number = 0;
    for (const char c : key.substr(4)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::vector<MemoEntry> listCategory(const platform::Settings& settings, int category) {
    std::vector<MemoEntry> out;
    for (const SettingsEntry& entry : settings.listEntries(categorySection(category)))
        out.push_back({entry.key, readTitle(entry.value)});
    return out;
}

std::optional<int> categoryOf(const platform::Settings& settings, std::string_view key) {
    for (int category = 0; category < kCategoryCount; ++category) {
        if (findEntry(settings.listEntries(categorySection(category)), key))
            return category;
    }
    return std::nullopt;
}

MemoStore::MemoStore(platform::Settings& settings, std::filesystem::path memoFolder)
    : settings_(settings), folder_(std::move(memoFolder)) {}

fs::path MemoStore::bodyPath(std::string_view key) const {
    std::string onDisk;
    if (platform::fileExists(folder_, key, &onDisk))
        return folder_ / onDisk;
    return folder_ / std::string(key);
}

long long MemoStore::highestNumberInUse(const SettingsEdit& edit) const {
    long long highest = 0;
    auto consider = [&](std::string_view name) {
        if (const auto n = memoNumber(name))
            highest = std::max(highest, *n);
    };
    for (int category = 0; category < kCategoryCount; ++category) {
        for (const SettingsEntry& entry : edit.entries(categorySection(category)))
            consider(entry.key);
    }
    for (const std::string& section : edit.sectionNames())
        consider(section);
    for (const std::string& file : platform::findFiles(folder_, "Memo*")) {
        std::string_view name = file;
        const std::size_t dot = name.find('.');
        if (dot != std::string_view::npos) {
            const std::string extension = platform::foldAsciiCase(name.substr(dot));
            if (extension != ".bmp" && extension != ".jpg")
                continue;
            name = name.substr(0, dot);
        }
        consider(name);
    }
    return highest;
}

std::string MemoStore::create(int category) {
    std::error_code ec;
    if (!fs::is_directory(folder_, ec) && !fs::create_directory(folder_, ec) &&
        !fs::is_directory(folder_)) {
        throw platform::IoError("\"" + folder_.string() +
                                "\": cannot create the memo folder: " + ec.message());
    }
    std::string key;
    settings_.edit([&](SettingsEdit& edit) {
        const long long count =
            platform::parseProfileInt(edit.readText("MemoCount", "Count", "0"), 0);
        const long long number = std::max(count + 1, highestNumberInUse(edit) + 1);
        key = "Memo" + std::to_string(number);
        edit.writeText("MemoCount", "Count", std::to_string(number));
        edit.writeText(categorySection(category), key, key);
    });
    return key;
}

void MemoStore::remove(std::string_view key, int category) {
    bool keepBody = false;
    settings_.edit([&](SettingsEdit& edit) {
        std::vector<SettingsEntry> entries = edit.entries(categorySection(category));
        std::erase_if(entries, [&](const SettingsEntry& e) { return sameKey(e.key, key); });
        writeCategory(edit, category, entries);
        keepBody = listedElsewhere(edit, key, category);
        if (!keepBody)
            edit.eraseSection(key);
    });
    if (keepBody)
        return;
    for (const std::string& file :
         {std::string(key), std::string(key) + ".BMP", std::string(key) + ".JPG"}) {
        std::string onDisk;
        if (platform::fileExists(folder_, file, &onDisk)) {
            std::error_code ec;
            fs::remove(folder_ / onDisk, ec);
            if (ec) {
                throw platform::IoError("\"" + (folder_ / onDisk).string() +
                                        "\": cannot delete the memo: " + ec.message());
            }
        }
    }
}

void MemoStore::setTitle(std::string_view key, int category, std::string_view title) {
    settings_.edit(
        [&](SettingsEdit& edit) { edit.writeText(categorySection(category), key, title); });
}

void MemoStore::saveOrder(int source, const std::vector<std::string>& sourceRemaining, int target,
                          const std::vector<std::string>& targetOrder) {
    settings_.edit([&](SettingsEdit& edit) {
        const std::vector<SettingsEntry> nowSource = edit.entries(categorySection(source));
        const std::vector<SettingsEntry> nowTarget = edit.entries(categorySection(target));
        // Keys deleted meanwhile are dropped, never brought back.
        auto build = [&](const std::vector<std::string>& order,
                         const std::vector<SettingsEntry>& extrasFrom,
                         const std::vector<std::string>& claimed) {
            std::vector<SettingsEntry> out;
            for (const std::string& key : order) {
                const SettingsEntry* entry = findEntry(nowTarget, key);
                if (entry == nullptr)
                    entry = findEntry(nowSource, key);
                if (entry != nullptr && !findEntry(out, key))
                    out.push_back(*entry);
            }
            for (const SettingsEntry& entry : extrasFrom) {
                if (!listed(claimed, entry.key) && !findEntry(out, entry.key))
                    out.push_back(entry);
            }
            return out;
        };
        if (source == target) {
            writeCategory(edit, target, build(targetOrder, nowTarget, targetOrder));
            return;
        }
        std::vector<std::string> claimed = targetOrder;
        claimed.insert(claimed.end(), sourceRemaining.begin(), sourceRemaining.end());
        writeCategory(edit, target, build(targetOrder, nowTarget, targetOrder));
        std::vector<SettingsEntry> remaining;
        for (const std::string& key : sourceRemaining) {
            if (const SettingsEntry* entry = findEntry(nowSource, key))
                remaining.push_back(*entry);
        }
        for (const SettingsEntry& entry : nowSource) {
            if (!listed(claimed, entry.key))
                remaining.push_back(entry);
        }
        writeCategory(edit, source, remaining);
    });
}

}  // namespace hinagiku::memo
