// From the main timer's tick that fires a popup entry to its window shown:
// the entry found and loaded, its picture decoded, the window presented.
// Offscreen; the picture is a 137 x 137 or a 4000 x 3000 JPEG.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <fstream>
#include <memory>

#include "calendar/date_time.h"
#include "platform/jpeg_codec.h"
#include "platform/profile_file.h"
#include "platform/recording_program_launcher.h"
#include "platform/recording_window_closer.h"
#include "platform/sound_output.h"
#include "platform/sound_recorder.h"
#include "richtext/rtf_writer.h"
#include "schedule/entry_files.h"
#include "schedule/entry_name.h"
#include "schedule/entry_options.h"
#include "schedule/popup_timer.h"
#include "schedule/tick_host.h"
#include "schedule/ui/popup_presenter.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"

namespace {

using namespace hinagiku;

class BenchHost final : public schedule::TickHost {
  public:
    explicit BenchHost(schedule::PopupPresenter& presenter) : presenter_(presenter) {}
    void reopenShownMemos() override {}
    void scheduleListBackToToday() override {}
    void calendarBackToToday() override {}
    void showBirthdayGreeting() override {}
    void playSoundFile(const std::string&) override {}
    void openDiaryList() override {}
    void loadPopupEntry(const schedule::PopupLoad& entry) override {
        presenter_.loadPopupEntry(entry);
    }
    void presentPopup(std::uint64_t batch, const std::string& path, DateTime label) override {
        presenter_.presentPopup(batch, path, label);
    }
    void checkMail() override {}
    void refreshDisplays(DateTime, DateTime) override {}
    void reportError(const std::string& message) override { errors = message; }
    std::string errors;

  private:
    schedule::PopupPresenter& presenter_;
};

// A photograph-like picture (gradients and shapes compress like a photo,
// unlike a flat colour).
QImage testPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(30, 90, 160));
    gradient.setColorAt(0.5, QColor(240, 200, 80));
    gradient.setColorAt(1, QColor(40, 140, 60));
    p.fillRect(image.rect(), gradient);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor::fromHsv((i * 37) % 360, 180, 230));
        p.drawEllipse(QPointF(width * ((i * 53) % 100) / 100.0, height * ((i * 71) % 100) / 100.0),
                      width / 12.0, height / 12.0);
    }
    return image;
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void presentWithPicture(benchmark::State& state, int width, int height, bool stretchOff = false) {
    testing::TempHome home;
    platform::ProfileFile settings(home.iniPath());
    const std::string folder = (home.path() / "Schedule").string();
    std::filesystem::create_directories(folder);
    settings.writeText("Calendar", "Directory", folder);
    const std::string picture = (home.path() / "photo.jpg").string();
    writeBytes(picture, platform::encodeJpeg(testPicture(width, height), 90).bytes);

    platform::SoundRecorder sound;
    platform::setSoundOutput(&sound);
    platform::RecordingProgramLauncher launcher;
    platform::setProgramLauncher(&launcher);

    schedule::PopupPresenter presenter(settings);
    BenchHost host(presenter);
    testing::FakeClock clock(makeDateTime(*encodeDate(2024, 3, 15), *encodeTime(8, 59, 59)));
    schedule::PopupTimer timer(clock, settings, host);
    timer.Timer1Timer();

    // The entry due at the next minute; the timed tick is the one that fires it.
    const DateTime due = schedule::PopupTimer::addMinutes(clock.now(), 1);
    const std::string path =
        folder + "/" + schedule::PopupEntryName(due, schedule::PopupKind::Daily, due);
    schedule::SaveEntry(path, richtext::plainTextToRtf("ベンチマークの予定"));
    schedule::EntryOptions options;
    options.picture = picture;
    // "ストレッチ解除": the picture at its own size, which needs every pixel decoded.
    options.stretch = stretchOff;
    schedule::writeEntryOptions(settings, path, options, false, true);
    clock.advanceSeconds(1);

    for (auto _ : state)
        timer.Timer1Timer();

    const auto windows = presenter.windows();
    if (windows.size() != 1 || !windows.front()->isVisible() || !host.errors.empty()) {
        state.SkipWithError("the popup window did not appear");
    }
    platform::setSoundOutput(nullptr);
    platform::setProgramLauncher(nullptr);
}

void BM_PopupPresent_Jpeg137(benchmark::State& state) {
    presentWithPicture(state, 137, 137);
}
void BM_PopupPresent_Jpeg4000x3000(benchmark::State& state) {
    presentWithPicture(state, 4000, 3000);
}
void BM_PopupPresent_Jpeg4000x3000_NotStretched(benchmark::State& state) {
    presentWithPicture(state, 4000, 3000, true);
}

// One firing tick per repetition: the median is that of single ticks.
BENCHMARK(BM_PopupPresent_Jpeg137)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(25)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PopupPresent_Jpeg4000x3000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PopupPresent_Jpeg4000x3000_NotStretched)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
