#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "diary/diary_page.h"
#include "platform/settings.h"

namespace hinagiku::diary {

// Largest page file the program opens. A bigger file is refused (and so
// never written over): the editor could not hold it usefully.
inline constexpr std::uintmax_t kMaxPageBytes = 16u * 1024u * 1024u;

// The diary folder: the private folder's "Diary" subfolder.
std::filesystem::path diaryFolder(const platform::Settings& settings);

// "yyyymmdd.JNL", "niyymmdd.day", "yyyy/mm/dd (ddd)" and the window caption
// "yyyy/mm/dd (ddd)の日記" of a day number.
std::string pageFileName(int day);
std::string legacyFileName(int day);
std::string dateLabel(int day);
std::string pageCaption(int day);

enum class PageSource { Jnl, Legacy, New };

// A day's page as the diary window opens it. Nothing is written.
struct StoredPage {
    PageSource source = PageSource::New;
    // The file read (its name as it is on disk) or, for a new page, where
    // it will be written.
    std::filesystem::path path;
    ParsedPage page;
    LegacyPage legacy;        // for PageSource::Legacy
    bool tooLarge = false;    // refused: bigger than kMaxPageBytes
    bool unreadable = false;  // refused: exists but cannot be read
};

// Finds the day's page by its name in any letter case: the diary file,
// else the legacy file, else a new page.
StoredPage readStoredPage(const std::filesystem::path& folder, int day);

// Whether the window may open the page (no refusal of any kind).
bool pageOpens(const StoredPage& page);

// The legacy conversion: writes the converted page as "yyyymmdd.JNL" and
// deletes the legacy file. Returns the page as read back from the new file
// and the status line. Throws platform::IoError when the write fails (the
// legacy file then stays).
struct Conversion {
    StoredPage page;
    std::string status;
};
Conversion convertLegacy(const std::filesystem::path& folder, int day);

// Writes a page: over `current` when that file still exists (the name it
// has on disk, never a case twin), else over the day's file found in any
// case, else as "yyyymmdd.JNL". Creates the diary folder (one level) when
// it is missing. Returns the path written; throws platform::IoError.
std::filesystem::path writePage(const std::filesystem::path& folder, int day,
                                const std::filesystem::path& current, std::string_view bytes);

// The Nikki defaults of a new page and of a page without its own values.
struct PageDefaults {
    std::int32_t fontColor = static_cast<std::int32_t>(0x80000008u);
    std::int32_t backColor = static_cast<std::int32_t>(0x80000005u);
    int top = 0;
    int left = 0;
    int height = 438;
    int width = 497;
    std::string fontName = "ＭＳ Ｐゴシック";
    int fontSize = 9;
};
PageDefaults readPageDefaults(const platform::Settings& settings);

}  // namespace hinagiku::diary
