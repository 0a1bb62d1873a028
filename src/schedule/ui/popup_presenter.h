#pragma once

#include <QImage>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "platform/wallpaper.h"
#include "schedule/tick_host.h"
#include "schedule/ui/popup_window.h"

namespace hinagiku::schedule {

// The popup half of the main timer's TickHost: it loads the due entries of
// each tick into that tick's popup window and presents the window at the
// end of the tick. The main window's TickHost forwards loadPopupEntry and
// presentPopup here.
class PopupPresenter {
  public:
    struct Options {
        // Period of the popup windows' one-second timers.
        int tickMilliseconds = 1000;
        // How long the tick keeps the user interface running after it has
        // started a reminder mail.
        int mailWaitMilliseconds = 3000;
        // SetWallpaper; empty: the desktop's (platform::SetWallpaper).
        std::function<platform::WallpaperResult(const QImage& bitmap, const std::string& bmpPath)>
            setWallpaper;
    };

    explicit PopupPresenter(platform::Settings& settings);
    PopupPresenter(platform::Settings& settings, Options options);
    // Windows still open are freed without their close handling.
    ~PopupPresenter();
    PopupPresenter(const PopupPresenter&) = delete;
    PopupPresenter& operator=(const PopupPresenter&) = delete;

    // LoadPopupEntry: the entry's text into the window of its batch (a new,
    // hidden window for the first entry of a batch), then RunEntryPrograms.
    void loadPopupEntry(const PopupLoad& entry);
    // PresentPopup: date panel, picture (and wallpaper), reminder mail,
    // sound, then the window is shown (unless its closetime is 0) and its
    // countdown starts. The window appears whatever else fails; what failed
    // (a picture that cannot be read, a wallpaper that cannot be saved) is
    // thrown afterwards as one std::runtime_error for the tick to report.
    void presentPopup(std::uint64_t batch, const std::string& path, DateTime labelTime);

    // The window of `batch`, while it is open.
    PopupWindow* window(std::uint64_t batch) const;
    // Every popup window still open, oldest first.
    std::vector<PopupWindow*> windows() const;

    // The wallpaper bitmap beside the executable: homeFolder()/"Kiv_Wallpaper.BMP".
    static std::string wallpaperPath();

  private:
    void showPicture(PopupWindow& window, const std::string& path, bool stretch, bool wallpaper,
                     std::vector<std::string>& errors);
    void forgetClosed();

    platform::Settings& settings_;
    Options options_;
    std::map<std::uint64_t, QPointer<PopupWindow>> windows_;
};

}  // namespace hinagiku::schedule
