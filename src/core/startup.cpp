#include "core/startup.h"

#include <system_error>

#include "calendar/holidays.h"
#include "core/data_folders.h"
#include "platform/file_search.h"

namespace hinagiku::core {

void checkDataFolder(platform::Settings& settings) {
    const std::string folder = DataFolder(settings);
    if (folder != "." && !platform::folderExists(folder)) {
        settings.writeText("Calendar", "Directory", ".");
    }
}

bool runFirstStart(platform::Settings& settings, const std::filesystem::path& home) {
    if (settings.readInt("Horiday", "Set", 0) != 0)
        return false;
    settings.writeInt("Horiday", "Set", 1);
    writeDefaultHolidays(settings);
    // A new user gets the holidays of today's law; a file from an older
    // installation keeps the table rules it was made for.
    settings.writeBool(kHolidayLawSection, kHolidayLawKey, true);
    // A data folder the file already names (set by hand or by hinagikuctl
    // before the first start) is the user's: only an unset one gets the
    // default, so no one's data seem to vanish.
    if (DataFolder(settings) != ".")
        return true;
    const std::filesystem::path schedule = home / "Schedule";
    std::error_code ignored;
    std::filesystem::create_directories(schedule, ignored);
    settings.writeText("Calendar", "Directory", schedule.string());
    return true;
}

bool checkVersion(platform::Settings& settings) {
    if (settings.readText("Tokeiya", "Ver", "") == kVersionLabel)
        return false;
    settings.writeText("Tokeiya", "Ver", kVersionLabel);
    return true;
}

int mainTimerInterval(const platform::Settings& settings) {
    const int interval = settings.readInt("Form", "Interval", 1000);
    return interval < 100 ? 1000 : interval;
}

}  // namespace hinagiku::core
