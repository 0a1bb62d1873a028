#pragma once

// What the popup tests share: a temporary home with a data folder and a
// settings file, recording doubles for sound, programs and windows, a fake
// clock, and a TickHost whose popup half is the presenter under test.

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QMessageBox>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "core/sound_cues.h"
#include "platform/profile_file.h"
#include "platform/program_launcher.h"
#include "platform/recording_program_launcher.h"
#include "platform/recording_window_closer.h"
#include "platform/sound_output.h"
#include "platform/sound_recorder.h"
#include "platform/window_closer.h"
#include "richtext/rtf_writer.h"
#include "schedule/entry_files.h"
#include "schedule/entry_options.h"
#include "schedule/popup_timer.h"
#include "schedule/tick_host.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_presenter.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"

namespace hinagiku::testing {

// The main window's TickHost as far as the popups go.
class PopupTestHost final : public schedule::TickHost {
  public:
    explicit PopupTestHost(schedule::PopupPresenter& presenter) : presenter_(presenter) {}

    void reopenShownMemos() override {}
    void scheduleListBackToToday() override {}
    void calendarBackToToday() override {}
    void showBirthdayGreeting() override {}
    void playSoundFile(const std::string& path) override { core::PlaySoundFile(path); }
    void openDiaryList() override {}
    void loadPopupEntry(const schedule::PopupLoad& entry) override {
        presenter_.loadPopupEntry(entry);
    }
    void presentPopup(std::uint64_t batch, const std::string& path, DateTime labelTime) override {
        presenter_.presentPopup(batch, path, labelTime);
    }
    void checkMail() override {}
    void refreshDisplays(DateTime, DateTime) override {}
    void reportError(const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> errors;

  private:
    schedule::PopupPresenter& presenter_;
};

// One test's world. The windows' own timers run only when a test asks for
// them (tickMilliseconds); by default the test calls Timer1Timer itself.
class PopupWorld {
  public:
    explicit PopupWorld(int tickMilliseconds = 3600 * 1000, int mailWaitMilliseconds = 0)
        : settings(home.iniPath()),
          presenter(settings, options(tickMilliseconds, mailWaitMilliseconds)),
          host(presenter),
          clock(makeDateTime(*encodeDate(2024, 3, 15), 0.0)),  // a Friday
          timer(clock, settings, host) {
        dataFolder = (home.path() / "Schedule").string();
        std::filesystem::create_directories(dataFolder);
        settings.writeText("Calendar", "Directory", dataFolder);
        platform::setSoundOutput(&sound);
        platform::setProgramLauncher(&launcher);
        platform::setWindowCloser(&closer);
        schedule::setPopupHooks({});
    }
    ~PopupWorld() {
        platform::setSoundOutput(nullptr);
        platform::setProgramLauncher(nullptr);
        platform::setWindowCloser(nullptr);
        schedule::setPopupHooks({});
    }

    std::string pathOf(const std::string& name) const { return dataFolder + "/" + name; }

    // An entry as the popup editor saves it: RTF text and its options.
    std::string saveEntry(const std::string& name, const std::string& text,
                          const schedule::EntryOptions& options = {}) {
        const std::string path = pathOf(name);
        schedule::SaveEntry(path, richtext::plainTextToRtf(text));
        schedule::writeEntryOptions(settings, path, options, !options.soundFile.empty(),
                                    !options.picture.empty());
        return path;
    }

    std::string writeFile(const std::string& relative, const std::string& bytes) {
        home.writeFile(relative, bytes);
        return (home.path() / relative).string();
    }
    std::string writeImage(const std::string& relative, const QImage& image, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return writeFile(relative, bytes.toStdString());
    }

    void setTime(int hour, int minute, int second) {
        clock.set(makeDateTime(*encodeDate(2024, 3, 15), *encodeTime(hour, minute, second)));
    }
    // One tick of the main timer after `seconds` more seconds.
    void tickAfter(double seconds) {
        clock.advanceSeconds(seconds);
        timer.Timer1Timer();
    }

    int cueCount(std::string_view name) const {
        const QByteArray wave = core::soundCueData(name);
        int count = 0;
        for (const auto& call : sound.calls()) {
            if (call.kind == platform::SoundRecorder::Kind::Cue && call.wave == wave)
                ++count;
        }
        return count;
    }
    std::vector<std::string> filesPlayed() const {
        std::vector<std::string> files;
        for (const auto& call : sound.calls()) {
            if (call.kind == platform::SoundRecorder::Kind::File)
                files.push_back(call.path.string());
        }
        return files;
    }

    TempHome home;
    platform::ProfileFile settings;
    schedule::PopupPresenter presenter;
    PopupTestHost host;
    FakeClock clock;
    schedule::PopupTimer timer;
    std::string dataFolder;
    platform::SoundRecorder sound;
    platform::RecordingProgramLauncher launcher;
    platform::RecordingWindowCloser closer;
    std::vector<std::pair<QImage, std::string>> wallpapers;

  private:
    schedule::PopupPresenter::Options options(int tick, int mailWait) {
        schedule::PopupPresenter::Options o;
        o.tickMilliseconds = tick;
        o.mailWaitMilliseconds = mailWait;
        o.setWallpaper = [this](const QImage& image, const std::string& path) {
            wallpapers.emplace_back(image, path);
            return platform::WallpaperResult{platform::WallpaperResult::Status::Applied, {}};
        };
        return o;
    }
};

// Answers the next message box that opens with `button`, and keeps its text.
inline void answerNextMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [button, text, attempt] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) {
                if (text != nullptr)
                    *text = box->text();
                box->button(button)->click();
                *attempt = nullptr;  // breaks the cycle
                return;
            }
        }
        QTimer::singleShot(10, *attempt);
    };
    QTimer::singleShot(0, *attempt);
}

// Runs `act` on the next visible top-level widget of type T (a modal dialog
// the code under test is about to open).
template <typename T>
void onNextDialog(std::function<void(T*)> act) {
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [act, attempt] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<T*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                act(dialog);
                *attempt = nullptr;
                return;
            }
        }
        QTimer::singleShot(10, *attempt);
    };
    QTimer::singleShot(0, *attempt);
}

}  // namespace hinagiku::testing
