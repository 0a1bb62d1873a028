#pragma once

#include <string>

#include "calendar/date_time.h"

namespace hinagiku {

// The old Japanese lunisolar calendar, computed astronomically in Japan time
// (universal time + 9 hours) whatever the machine's time zone, with the
// rules of Japanese almanacs: a month begins on the day of a new moon; the
// month holding the winter solstice is the 11th; when 13 months lie between
// two 11th months, the first of them without a major solar term is a leap
// month repeating the number before it.
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

// Counts of new-moon searches and of those that gave up without converging
// (the search then hands back its starting instant).
struct LunisolarSearchStats {
    int newMoonSearches = 0;
    int unconverged = 0;
};

// `stats` gains the searches behind this date's months (counted for every
// date, also when the months were already known from an earlier call).
// The months between two winter solstices are kept per thread for the next
// call.
LunisolarDay LunisolarDate(double tm, LunisolarSearchStats* stats = nullptr);
// Forgets the months and solar terms kept on this thread (benchmarks and
// tests measure the cold path with it).
void resetLunisolarMemo();

// Julian centuries from 2000 January 1.5 of the instant whose whole part is
// tm1 and whose universal-time fraction is tm2 (kept apart for precision).
double lunisolarCenturies(double tm1, double tm2);
// Apparent geocentric ecliptic longitudes of date (degrees, 0 to 360) at t
// centuries of universal time: the sun from VSOP87, the moon from
// ELP 2000-82B (through libnova), with precession, nutation, aberration and
// the difference between dynamical and universal time below.
double SunLongitude(double t);
double MoonLongitude(double t);
// Dynamical minus universal time in seconds at a Julian Day (universal
// time): libnova's table before 2000, measurements from 2000 to 2024, the
// last measurement after that.
double dynamicalTimeDifference(double julianDay);
// Short series good to a few minutes of time: where searches start.
double approximateSunLongitude(double t);
double approximateMoonLongitude(double t);

struct TermTime {
    double time = 0.0;       // instant, Japan time
    double longitude = 0.0;  // the multiple of the step reached
};
// The last instant, at or before tm, at which the sun's longitude was a
// multiple of `step` degrees (90, 30 or 15), to a fraction of a second.
TermTime PrecedingTermTime(double tm, int step);
// The last instant at or before tm at which the sun's longitude was
// `longitude` degrees.
double sunCrossingBefore(double tm, double longitude);

// The longitudes the first, coarse new-moon search runs on; tests
// substitute their own to drive the search into its give-up path.
struct LongitudeModel {
    double (*sun)(double t) = &approximateSunLongitude;
    double (*moon)(double t) = &approximateMoonLongitude;
};

struct NewMoonSearch {
    double time = 0.0;
    bool converged = true;
    int iterations = 0;
};
NewMoonSearch searchNewMoon(double tm, const LongitudeModel& model = {});
// The instant (Japan time) of the new moon nearest before or around tm,
// found with the coarse search and then to a fraction of a second on the
// full theories; tm itself when the coarse search does not converge within
// 30 steps.
double NewMoonNear(double tm);
// The new moon nearest to an estimate less than two weeks off, on the full
// theories.
double refineNewMoon(double estimate);

}  // namespace hinagiku
