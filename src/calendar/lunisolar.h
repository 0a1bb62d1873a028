#pragma once

#include <string>

#include "calendar/date_time.h"

namespace hinagiku {

// The old Japanese lunisolar calendar, computed astronomically in Japan time
// (universal time + 9 hours) whatever the machine's time zone.
//
// Instants here are "day numbers with fraction": N of a civil date is the
// Julian Date of its 0:00 universal time minus 0.5 (2000-01-01 gives
// 2451544), and an instant is N plus the elapsed part of the Japan-time day.

struct LunisolarDay {
    int month = 0;  // 1 to 12
    bool leap = false;
    int day = 0;  // 1 to 30
    friend bool operator==(const LunisolarDay&, const LunisolarDay&) = default;
};

// Rokuyo names, index 0 to 5, and the text before a name is chosen.
inline constexpr const char* kRokuyoNames[6] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
inline constexpr const char* kRokuyoUnknown = "？？";
// The 24 solar terms; index k starts at longitude 15k.
extern const char* const kSolarTermNames[24];

// The rokuyo of the date (its day number counts): one of kRokuyoNames.
std::string Rokuyo(DateTime date);
// The rokuyo of a lunisolar day (the leap flag does not matter).
std::string rokuyoOf(const LunisolarDay& day);
// The name of the solar term that begins during the date (Japan time), or
// the empty text.
std::string SolarTermName(DateTime date);

// N of the date of a date-time value.
int lunisolarDayNumber(DateTime date);

// Counts of searches that gave up without converging; the calendar then
// falls back to the search's starting instant.
struct LunisolarSearchStats {
    int newMoonSearches = 0;
    int unconverged = 0;
};

// `stats` gains the searches behind this date's months (counted for every
// date, also when the months were already known from an earlier call).
LunisolarDay LunisolarDate(double tm, LunisolarSearchStats* stats = nullptr);
// Forgets the months kept from the last call on this thread (benchmarks and
// tests measure the cold path with it).
void resetLunisolarMemo();

// Julian centuries from 2000 January 1.5 of the instant whose whole part is
// tm1 and whose universal-time fraction is tm2 (kept apart for precision).
double lunisolarCenturies(double tm1, double tm2);
// Apparent ecliptic longitudes (degrees, 0 to 360) at t centuries.
double SunLongitude(double t);
double MoonLongitude(double t);

struct TermTime {
    double time = 0.0;       // instant, Japan time
    double longitude = 0.0;  // the multiple of the step reached
};
// The last instant, at or before tm, at which the sun's longitude was a
// multiple of `step` degrees (90 or 30).
TermTime PrecedingTermTime(double tm, int step);

// The longitudes NewMoonNear searches with; tests substitute their own to
// drive the search into its give-up path.
struct LongitudeModel {
    double (*sun)(double t) = &SunLongitude;
    double (*moon)(double t) = &MoonLongitude;
};

struct NewMoonSearch {
    double time = 0.0;
    bool converged = true;
    int iterations = 0;
};
NewMoonSearch searchNewMoon(double tm, const LongitudeModel& model = {});
// The instant (Japan time) of the new moon nearest before or around tm; tm
// itself when the search does not converge within 30 steps.
double NewMoonNear(double tm);

}  // namespace hinagiku
