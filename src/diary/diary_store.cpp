#include "diary/diary_store.h"

#include <system_error>

#include "calendar/format_date.h"
#include "core/data_folders.h"
#include "platform/atomic_file.h"
#include "platform/file_search.h"

namespace hinagiku::diary {

std::filesystem::path diaryFolder(const platform::Settings& settings) {
    return core::joinPath(core::PrivateFolder(settings), "Diary");
}

std::string pageFileName(int day) {
    return FormatDate("yyyymmdd", day) + ".JNL";
}

std::string legacyFileName(int day) {
    return "ni" + FormatDate("yymmdd", day) + ".day";
}

std::string dateLabel(int day) {
    return FormatDate("yyyy/mm/dd (ddd)", day);
}

std::string pageCaption(int day) {
    return dateLabel(day) + "の日記";
}

namespace {

// Reads a page file, refusing one that is too large or unreadable.
bool readPageBytes(const std::filesystem::path& path, StoredPage& page, std::string& bytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxPageBytes) {
        page.tooLarge = true;
        return false;
    }
    if (!platform::readWholeFile(path, bytes)) {
        page.unreadable = true;
        return false;
    }
    return true;
}

}  // namespace

StoredPage readStoredPage(const std::filesystem::path& folder, int day) {
    StoredPage page;
    std::string name;
    std::string bytes;
    if (platform::fileExists(folder, pageFileName(day), &name)) {
        page.source = PageSource::Jnl;
        page.path = folder / name;
        if (readPageBytes(page.path, page, bytes))
            page.page = parsePage(bytes);
        return page;
    }
    if (platform::fileExists(folder, legacyFileName(day), &name)) {
        page.source = PageSource::Legacy;
        page.path = folder / name;
        if (readPageBytes(page.path, page, bytes))
            page.legacy = parseLegacyPage(bytes);
        return page;
    }
    page.path = folder / pageFileName(day);
    return page;
}

bool pageOpens(const StoredPage& page) {
    return !page.tooLarge && !page.unreadable && page.page.refusal == Refusal::None;
}

Conversion convertLegacy(const std::filesystem::path& folder, int day) {
    StoredPage legacy = readStoredPage(folder, day);
    if (legacy.source != PageSource::Legacy || !pageOpens(legacy))
        return {std::move(legacy), {}};
    const std::string bytes = convertLegacyPage(legacy.legacy);
    const std::filesystem::path target = writePage(folder, day, {}, bytes);
    std::error_code error;
    std::filesystem::remove(legacy.path, error);
    if (error) {
        throw platform::IoError("\"" + legacy.path.string() +
                                "\": cannot delete the converted file: " + error.message());
    }
    Conversion result;
    result.page.source = PageSource::Jnl;
    result.page.path = target;
    result.page.page = parsePage(bytes);
    result.status = "NI" + FormatDate("yymmdd", day) + ".DAYを" +
                    core::joinPath(folder.string(), "") + FormatDate("yyyymmdd", day) +
                    ".JNLに変換し保存しました｡";
    return result;
}

std::filesystem::path writePage(const std::filesystem::path& folder, int day,
                                const std::filesystem::path& current, std::string_view bytes) {
    if (!platform::folderExists(folder)) {
        std::error_code error;
        // One level only: a private folder on an unmounted medium stays missing.
        if (!std::filesystem::create_directory(folder, error) && error) {
            throw platform::IoError("\"" + folder.string() +
                                    "\": cannot create the folder: " + error.message());
        }
    }
    std::filesystem::path target;
    std::error_code error;
    if (!current.empty() && current.parent_path() == folder &&
        std::filesystem::is_regular_file(current, error)) {
        target = current;
    } else {
        std::string name;
        target =
            folder /
            (platform::fileExists(folder, pageFileName(day), &name) ? name : pageFileName(day));
    }
    platform::writeFileAtomically(target, bytes);
    return target;
}

PageDefaults readPageDefaults(const platform::Settings& settings) {
    PageDefaults defaults;
    defaults.fontColor = settings.readInt("Nikki", "FontColor", defaults.fontColor);
    defaults.backColor = settings.readInt("Nikki", "BackColor", defaults.backColor);
    defaults.top = settings.readInt("Nikki", "top", defaults.top);
    defaults.left = settings.readInt("Nikki", "left", defaults.left);
    defaults.height = settings.readInt("Nikki", "Height", defaults.height);
    defaults.width = settings.readInt("Nikki", "Width", defaults.width);
    defaults.fontName = settings.readText("Nikki", "FontName", defaults.fontName);
    defaults.fontSize = settings.readInt("Nikki", "FontSize", defaults.fontSize);
    return defaults;
}

}  // namespace hinagiku::diary
