#include "schedule/ui/popup_presenter.h"

#include <QEventLoop>
#include <QTimer>

#include <exception>
#include <filesystem>
#include <stdexcept>

#include "core/home_folder.h"
#include "core/sound_cues.h"
#include "platform/file_search.h"
#include "schedule/entry_options.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_picture.h"
#include "schedule/ui/popup_programs.h"

namespace hinagiku::schedule {
namespace {

void processEventsFor(int milliseconds) {
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

PopupPresenter::PopupPresenter(platform::Settings& settings)
    : PopupPresenter(settings, Options{}) {}

PopupPresenter::PopupPresenter(platform::Settings& settings, Options options)
    : settings_(settings), options_(std::move(options)) {}

PopupPresenter::~PopupPresenter() {
    for (auto& [batch, window] : windows_)
        delete window.data();
}

std::string PopupPresenter::wallpaperPath() {
    return (core::homeFolder() / "Kiv_Wallpaper.BMP").string();
}

void PopupPresenter::forgetClosed() {
    for (auto it = windows_.begin(); it != windows_.end();) {
        it = it->second ? std::next(it) : windows_.erase(it);
    }
}

PopupWindow* PopupPresenter::window(std::uint64_t batch) const {
    const auto it = windows_.find(batch);
    return it == windows_.end() ? nullptr : it->second.data();
}

std::vector<PopupWindow*> PopupPresenter::windows() const {
    std::vector<PopupWindow*> open;
    for (const auto& [batch, window] : windows_) {
        if (window)
            open.push_back(window.data());
    }
    return open;
}

void PopupPresenter::loadPopupEntry(const PopupLoad& entry) {
    forgetClosed();
    PopupWindow* target = window(entry.batch);
    if (target == nullptr) {
        // The window stays hidden until the tick presents it.
        target = new PopupWindow(settings_, options_.tickMilliseconds);
        windows_[entry.batch] = target;
    }
    target->addEntry(entry.path, entry.content.plainText(), entry.dated);
    RunEntryPrograms(settings_, entry.path);
}

void PopupPresenter::showPicture(PopupWindow& window, const std::string& path, bool stretch,
                                 bool wallpaper, std::vector<std::string>& errors) {
    // A stretched picture that is not also the wallpaper is decoded only as
    // large as the box needs.
    PopupPicture picture = loadPopupPicture(path, wallpaper || !stretch);
    if (!picture.error.empty())
        errors.push_back(picture.error);
    if (picture.image.isNull())
        return;  // the default picture stays, and no wallpaper
    window.setPicture(picture.image, stretch);
    if (!wallpaper)
        return;
    const platform::WallpaperResult result =
        options_.setWallpaper ? options_.setWallpaper(picture.image, wallpaperPath())
                              : platform::SetWallpaper(picture.image, wallpaperPath());
    if (result.status == platform::WallpaperResult::Status::NotSaved) {
        errors.push_back(result.message);
    }
}

void PopupPresenter::presentPopup(std::uint64_t batch, const std::string& path,
                                  DateTime labelTime) {
    QPointer<PopupWindow> target = window(batch);
    if (!target)
        return;
    std::vector<std::string> errors;
    const EntryOptions options = readEntryOptions(settings_, path);

    target->setDateLabel(labelTime);

    try {
        if (platform::isRegularFile(options.picture)) {
            showPicture(*target, options.picture, !options.stretch, options.wallpaper, errors);
        } else {
            const std::string fallback = settings_.readText("Calendar", "bitmap", "");
            if (platform::isRegularFile(fallback)) {
                showPicture(*target, fallback, !settings_.readBool("Calendar", "Stretch", false),
                            false, errors);
            }
        }
    } catch (const std::exception& e) {
        errors.emplace_back(e.what());
    }

    const PopupHooks& hooks = popupHooks();
    if (options.smtp && settings_.readBool("smtp", "smtp_check", false) && hooks.sendReminderMail) {
        const auto olive = hooks.setMainPanelsOlive;
        if (olive)
            olive(true);
        try {
            hooks.sendReminderMail(target->text().toStdString(), target->dateText().toStdString());
        } catch (const std::exception& e) {
            errors.emplace_back(e.what());
        }
        // Other ticks, popup timers and the user's actions run meanwhile.
        processEventsFor(options_.mailWaitMilliseconds);
        if (olive)
            olive(false);
        if (!target)
            return;
    }

    if (platform::isRegularFile(options.soundFile)) {
        core::PlaySoundFile(options.soundFile);
    } else {
        const std::string fallback = settings_.readText("Calendar", "file", "");
        if (platform::isRegularFile(fallback))
            core::PlaySoundFile(fallback);
    }

    target->present(options.closeTime);

    if (!errors.empty()) {
        std::string message;
        for (const auto& line : errors) {
            if (!message.empty())
                message += '\n';
            message += line;
        }
        throw std::runtime_error(message);
    }
}

}  // namespace hinagiku::schedule
