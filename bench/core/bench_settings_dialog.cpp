// The settings dialog on a 300 KB settings file (many popup entries'
// sections before the options): created and shown, and one check box
// change written. Offscreen.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>

#include <string>

#include "core/home_folder.h"
#include "core/ui/settings/settings_dialog.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace {

using namespace hinagiku;

class NullHost final : public core::SettingsHost {
  public:
    void setTimerPeriod(int) override {}
    void applyCalendarColors() override {}
    void miniClockBaseChanged(bool) override {}
    void refreshDayView() override {}
    void setLauncherAutoPopup(bool) override {}
    void setSettingsItemChecked(bool) override {}
    bool toolAvailable(HostTool) const override { return false; }
    void openTool(HostTool) override {}
    QRect mainWindowGeometry() const override { return {0, 0, 240, 190}; }
};

// About 300 KB: entry-option sections as a long-used file has them, then
// the options with values that need no rewriting on a second opening.
std::string largeSettingsFile() {
    std::string text;
    for (int i = 0; text.size() < 300 * 1024; ++i) {
        text += "[C:\\Hinagiku\\Schedule\\W1_" + std::to_string(1000 + i) + "_000.pop]\r\n";
        text +=
            "Execute=notepad.exe\r\nbitmap=C:\\pictures\\daisy.bmp\r\nStretch=0\r\n"
            "closetime=30\r\nSmtp=0\r\nfile=C:\\sounds\\chime.wav\r\n";
    }
    text += "[Form]\r\nWaveplay=0\r\nInterval=1000\r\n[Calendar]\r\nDirectory=.\r\n";
    return text;
}

void BM_SettingsDialogShown(benchmark::State& state) {
    testing::TempHome home;
    home.writeFile("hinagiku.ini", largeSettingsFile());
    platform::ProfileFile ini(core::settingsFilePath());
    NullHost host;
    {
        core::SettingsDialog first(ini, host);  // the first opening writes the options
    }
    for (auto _ : state) {
        core::SettingsDialog dialog(ini, host);
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.isVisible());
    }
}
BENCHMARK(BM_SettingsDialogShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_SettingsDialogOneChange(benchmark::State& state) {
    testing::TempHome home;
    home.writeFile("hinagiku.ini", largeSettingsFile());
    platform::ProfileFile ini(core::settingsFilePath());
    NullHost host;
    core::SettingsDialog dialog(ini, host);
    auto* box = qobject_cast<QCheckBox*>(dialog.control("Form", "Qreki"));
    for (auto _ : state)
        box->click();
}
BENCHMARK(BM_SettingsDialogOneChange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

}  // namespace
