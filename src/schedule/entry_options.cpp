#include "schedule/entry_options.h"

namespace hinagiku::schedule {

EntryOptions readEntryOptions(const platform::Settings& settings, std::string_view entryPath) {
    EntryOptions options;
    options.closeTime = settings.readInt(entryPath, kOptCloseTime, -1);
    options.soundFile = settings.readText(entryPath, kOptSound, "");
    options.picture = settings.readText(entryPath, kOptPicture, "");
    options.smtp = settings.readBool(entryPath, kOptSmtp, false);
    options.wallpaper = settings.readBool(entryPath, kOptWallpaper, false);
    options.stretch = settings.readBool(entryPath, kOptStretch, false);
    options.execute = settings.readText(entryPath, kOptExecute, "");
    options.execlose = settings.readText(entryPath, kOptExeclose, "");
    return options;
}

void writeEntryOptions(platform::Settings& settings, std::string_view entryPath,
                       const EntryOptions& options, bool soundChosen, bool pictureChosen) {
    settings.writeInt(entryPath, kOptCloseTime, options.closeTime);
    if (soundChosen)
        settings.writeText(entryPath, kOptSound, options.soundFile);
    if (pictureChosen)
        settings.writeText(entryPath, kOptPicture, options.picture);
    settings.writeBool(entryPath, kOptSmtp, options.smtp);
    settings.writeBool(entryPath, kOptWallpaper, options.wallpaper);
    settings.writeBool(entryPath, kOptStretch, options.stretch);
    settings.writeText(entryPath, kOptExecute, options.execute);
    settings.writeText(entryPath, kOptExeclose, options.execlose);
}

}  // namespace hinagiku::schedule
