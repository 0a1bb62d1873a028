#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::tools {

// What one tick of a running countdown announces.
enum class CountdownNotice { None, Half, Eighty, End };

// One run of the countdown. Time is measured on the uptime counter, so that
// setting the wall clock or a change of daylight saving time never moves the
// end; only the labels use the wall clock. Everything is whole seconds and
// milliseconds: no floating division.
class CountdownRun {
  public:
    // Starts now for `hours`:`minutes` (already normalised, see
    // normaliseSpan).
    CountdownRun(const platform::Clock& clock, int hours, int minutes);

    // The progress bar's maximum: the span in whole seconds.
    std::int64_t maximum() const { return spanSeconds_; }
    // Whole seconds still to go (rounded up, so the first second counts
    // from the maximum), never below 0.
    std::int64_t remaining() const;
    // The wall-clock start and end as date-time values (the end moves later
    // by the time really paused).
    double startTime() const { return startWall_; }
    double endTime() const;

    bool paused() const { return paused_; }
    void setPaused(bool paused);

    // The tick: brings the run up to the clock and returns the notice due
    // now; each notice comes once, and End only when nothing remains.
    CountdownNotice tick();
    bool halfAnnounced() const { return half_; }
    bool eightyAnnounced() const { return eighty_; }
    bool finished() const { return finished_; }

  private:
    void observe();

    const platform::Clock& clock_;
    std::int64_t spanSeconds_;
    double startWall_;
    std::uint32_t lastUptime_;
    std::int64_t runningMs_ = 0;
    std::int64_t pausedMs_ = 0;
    bool paused_ = false;
    bool half_ = false;
    bool eighty_ = false;
    bool finished_ = false;
};

// The hours and minutes fields' rule: negatives become 0, and a zero span
// becomes one minute.
void normaliseSpan(int& hours, int& minutes);

// "yyyy/mm/dd hh:nn:ss" of a date-time value.
std::string formatCountdownTime(double value);

// The texts a run shows.
std::string countdownStatusText(const std::string& title);  // "時間を計っています。"
std::string countdownNoticeText(CountdownNotice notice, const std::string& title);

// One stored span of [Gtimer].
struct CountdownPreset {
    std::string title;
    int hours = 0;
    int minutes = 1;
    std::string sound50;
    std::string sound80;
    std::string sound100;
    friend bool operator==(const CountdownPreset&, const CountdownPreset&) = default;
};

// [Gtimer] Total presets (a damaged Total reads no further than the keys
// there are).
std::vector<CountdownPreset> readCountdownPresets(const platform::Settings& settings);
// Appends a preset and returns its index.
int addCountdownPreset(platform::Settings& settings, const CountdownPreset& preset);
// Removes preset `index`: the later ones move one place down, the last is
// cleared and Total shrinks by one.
void deleteCountdownPreset(platform::Settings& settings, int index);
// Writes one sound key (50, 80 or 100) of a preset.
void writeCountdownSound(platform::Settings& settings, int index, int percent,
                         const std::string& path);
// The 100 % sound of a preset without one: [Calendar] file.
std::string defaultEndSound(const platform::Settings& settings);

}  // namespace hinagiku::tools
