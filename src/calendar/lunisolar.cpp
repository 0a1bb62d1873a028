#include "calendar/lunisolar.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace hinagiku {

const char* const kSolarTermNames[24] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄"};

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kJapanOffset = 0.375;  // 9 hours
constexpr double kSynodicMonth = 29.530589;
constexpr double kTropicalYear = 365.2422;
// Days from 1899-12-30 (value 0) to N.
constexpr int kDayNumberOffset = 2415018;
// The refining steps stop below this: the instant is then good to a few
// milliseconds.
constexpr double kRefined = 0.5 * kSecond;
// Newton steps on the full theories from an estimate a few minutes off
// settle in two or three; the cap only guards against a wild input.
constexpr int kRefineLimit = 12;
constexpr int kMonthsLimit = 16;
// The end of a Japan-time day, for "on or before this day".
constexpr double kJustBeforeMidnight = 1.0 - 1e-7;

double trunc(double x) {
    return std::trunc(x);
}

int whole(double x) {
    return static_cast<int>(std::floor(x));
}

double norm(double x) {
    if (x >= 0.0)
        return x - 360.0 * trunc(x / 360.0);
    return 360.0 - (-x - 360.0 * trunc(-x / 360.0));
}

// Degrees folded into -180 <= x < 180.
double fold(double degrees) {
    double x = std::fmod(degrees + 180.0, 360.0);
    if (x < 0.0)
        x += 360.0;
    return x - 180.0;
}

// Julian centuries of an instant (Japan time, day number with fraction).
double centuriesOf(double tm) {
    const double tm1 = trunc(tm);
    return lunisolarCenturies(tm1, tm - tm1 - kJapanOffset);
}

// Moves the split instant back by delta days, keeping the fraction in 0..1.
void stepBack(double& tm1, double& tm2, double d1, double d2) {
    tm1 -= d1;
    tm2 -= d2;
    if (tm2 < 0.0) {
        tm2 += 1.0;
        tm1 -= 1.0;
    }
}

// Rates (degrees a day) from the short series: Newton's steps need only an
// approximate slope, the full theories give the value.
double sunRate(double tm) {
    return fold(approximateSunLongitude(centuriesOf(tm + 0.5)) -
                approximateSunLongitude(centuriesOf(tm - 0.5)));
}

double approximateElongation(double tm) {
    const double t = centuriesOf(tm);
    return fold(approximateMoonLongitude(t) - approximateSunLongitude(t));
}

double elongation(double tm) {
    const double t = centuriesOf(tm);
    return fold(MoonLongitude(t) - SunLongitude(t));
}

double elongationRate(double tm) {
    constexpr double h = 1.0 / 24.0;
    return fold(approximateElongation(tm + h) - approximateElongation(tm - h)) / (2.0 * h);
}

// Newton's method on f (degrees, zero at the instant sought) from tm.
template <typename Value, typename Rate>
double solve(double tm, Value value, Rate rate, double tolerance) {
    for (int i = 0; i < kRefineLimit; ++i) {
        const double step = value(tm) / rate(tm);
        tm -= step;
        if (std::fabs(step) < tolerance)
            break;
    }
    return tm;
}

double coarseSunCrossing(double estimate, double longitude);

double refineSunCrossing(double estimate, double longitude) {
    const double coarse = coarseSunCrossing(estimate, longitude);
    return solve(
        coarse, [longitude](double tm) { return fold(SunLongitude(centuriesOf(tm)) - longitude); },
        sunRate, kRefined);
}

// Only the day of a new moon or a solar term counts for the calendar. The
// short series put those instants within half an hour of the full theories
// from 1850 to 2150 (a test holds them to it); an instant they place more
// than an hour and a half from midnight has its day for certain, and only
// the rest are refined.
constexpr double kScreenMargin = 1.5 / 24.0;

bool dayIsCertain(double coarse) {
    static const double from = dayNumberOf({1850, 1, 1}) + kDayNumberOffset;
    static const double to = dayNumberOf({2150, 1, 1}) + kDayNumberOffset;
    const double fraction = coarse - std::floor(coarse);
    return coarse >= from && coarse < to && fraction > kScreenMargin &&
           fraction < 1.0 - kScreenMargin;
}

double coarseSunCrossing(double estimate, double longitude) {
    return solve(
        estimate,
        [longitude](double tm) {
            return fold(approximateSunLongitude(centuriesOf(tm)) - longitude);
        },
        sunRate, kSecond);
}

int sunCrossingDay(double estimate, double longitude) {
    const double coarse = coarseSunCrossing(estimate, longitude);
    if (dayIsCertain(coarse))
        return whole(coarse);
    return whole(solve(
        coarse, [longitude](double tm) { return fold(SunLongitude(centuriesOf(tm)) - longitude); },
        sunRate, kRefined));
}

double coarseNewMoon(double estimate) {
    return solve(estimate, approximateElongation, elongationRate, kSecond);
}

int newMoonDay(double coarse) {
    if (dayIsCertain(coarse))
        return whole(coarse);
    return whole(solve(coarse, elongation, elongationRate, kRefined));
}

// Searches counted for the statistics of the dates they serve.
thread_local LunisolarSearchStats* counting = nullptr;

double countedNewMoonNear(double tm) {
    const NewMoonSearch search = searchNewMoon(tm);
    if (counting != nullptr) {
        ++counting->newMoonSearches;
        if (!search.converged)
            ++counting->unconverged;
    }
    return search.converged ? refineNewMoon(search.time) : tm;
}

// The last new moon at or before tm.
double newMoonOnOrBefore(double tm) {
    double newMoon = countedNewMoonNear(tm);
    if (newMoon > tm)
        newMoon = refineNewMoon(newMoon - kSynodicMonth);
    if (tm - newMoon > kSynodicMonth - 3.0) {
        const double next = refineNewMoon(newMoon + kSynodicMonth);
        if (next <= tm)
            newMoon = next;
    }
    return newMoon;
}

// The winter solstice, the next one, and the days (Japan time) on which
// the 24 solar terms between them begin, from the solstice's own on.
struct SolarYear {
    double solstice = 0.0;
    double nextSolstice = 0.0;
    std::array<int, 24> termDays{};
};

SolarYear solarYearFrom(double solstice) {
    SolarYear year;
    year.solstice = solstice;
    year.nextSolstice = refineSunCrossing(solstice + kTropicalYear, 270.0);
    year.termDays[0] = whole(solstice);
    for (int k = 1; k < 24; ++k) {
        year.termDays[k] =
            sunCrossingDay(solstice + k * kTropicalYear / 24.0, norm(270.0 + 15.0 * k));
    }
    return year;
}

// Kept per thread, the last two: the day view, the schedule list and the
// sweeps ask for neighbouring days, and the months of December reach into
// the next solstice's year.
struct SolarYearMemo {
    std::array<SolarYear, 2> years;
    std::array<bool, 2> valid{};
    int next = 0;  // the slot to fill next
};

thread_local SolarYearMemo solarYears;

const SolarYear& keptSolarYear(double solstice) {
    for (int i = 0; i < 2; ++i) {
        if (solarYears.valid[i] && std::fabs(solarYears.years[i].solstice - solstice) <= kSecond)
            return solarYears.years[i];
    }
    const int slot = solarYears.next;
    solarYears.years[slot] = solarYearFrom(solstice);
    solarYears.valid[slot] = true;
    solarYears.next = 1 - slot;
    return solarYears.years[slot];
}

// The solar year whose solstice is on or before the day.
const SolarYear& solarYearHolding(int day) {
    for (int i = 0; i < 2; ++i) {
        const SolarYear& year = solarYears.years[i];
        if (solarYears.valid[i] && day >= whole(year.solstice) && day < whole(year.nextSolstice))
            return year;
    }
    for (int i = 0; i < 2; ++i) {
        const SolarYear& year = solarYears.years[i];
        if (solarYears.valid[i] && day >= whole(year.nextSolstice) &&
            day < whole(year.nextSolstice) + 360)
            return keptSolarYear(year.nextSolstice);
    }
    return keptSolarYear(sunCrossingBefore(day + kJustBeforeMidnight, 270.0));
}

// The months from one 11th month up to the next.
struct Year {
    int firstDay = 0;  // the first day of the 11th month
    int endDay = 0;    // the first day of the next 11th month
    double nextSolstice = 0.0;
    std::vector<int> start;  // first days, then endDay
    std::vector<int> month;
    std::vector<bool> leap;
    LunisolarSearchStats searches;
};

Year yearFrom(const SolarYear& solar) {
    Year year;
    counting = &year.searches;
    year.nextSolstice = solar.nextSolstice;
    // The new moons from the one on or before the solstice's day to the one
    // on or before the next solstice's day, which begins the next year.
    const double first = newMoonOnOrBefore(whole(solar.solstice) + kJustBeforeMidnight);
    counting = nullptr;
    const int lastDay = whole(solar.nextSolstice);
    year.start.push_back(whole(first));
    // A year has 13 or 14 new moons; the cap guards against theories taken
    // far outside the millennia they were made for.
    double coarse = first;
    for (int n = 0; n < kMonthsLimit; ++n) {
        coarse = coarseNewMoon(coarse + kSynodicMonth);
        const int day = newMoonDay(coarse);
        if (day > lastDay)
            break;
        if (day > year.start.back())
            year.start.push_back(day);
    }
    year.firstDay = year.start.front();
    year.endDay = year.start.back();
    const int months = static_cast<int>(year.start.size()) - 1;

    // Thirteen months for twelve major terms: the first month without one
    // is the leap month. Twelve months never get one, even when a month
    // lacks a major term (2033).
    int leapIndex = -1;
    for (int i = 1; months == 13 && i < months && leapIndex < 0; ++i) {
        bool holdsOne = false;
        for (int k = 0; k < 24; k += 2) {
            const int day = solar.termDays[k];
            holdsOne = holdsOne || (day >= year.start[i] && day < year.start[i + 1]);
        }
        if (!holdsOne)
            leapIndex = i;
    }
    int number = 11;
    for (int i = 0; i < months; ++i) {
        if (i == leapIndex) {
            year.month.push_back(year.month.back());
            year.leap.push_back(true);
            continue;
        }
        year.month.push_back(number);
        year.leap.push_back(false);
        number = number % 12 + 1;
    }
    return year;
}

Year yearHolding(int day) {
    Year year = yearFrom(solarYearHolding(day));
    // The days of the next 11th month before its solstice.
    if (day >= year.endDay)
        year = yearFrom(keptSolarYear(year.nextSolstice));
    return year;
}

struct YearMemo {
    bool valid = false;
    Year year;
};

thread_local YearMemo memo;

}  // namespace

int lunisolarDayNumber(DateTime date) {
    return dayNumber(date) + kDayNumberOffset;
}

double lunisolarCenturies(double tm1, double tm2) {
    return (tm2 + 0.5) / 36525.0 + (tm1 - 2451545.0) / 36525.0;
}

double sunCrossingBefore(double tm, double longitude) {
    const double past = norm(SunLongitude(centuriesOf(tm)) - longitude);
    const double crossing = refineSunCrossing(tm - past / 360.0 * kTropicalYear, longitude);
    // A crossing found a hair after tm is the one at tm.
    return crossing > tm ? tm : crossing;
}

TermTime PrecedingTermTime(double tm, int step) {
    const double lambda = SunLongitude(centuriesOf(tm));
    const double target = step * std::floor(lambda / step);
    return {sunCrossingBefore(tm, target), target};
}

NewMoonSearch searchNewMoon(double tm, const LongitudeModel& model) {
    double tm1 = trunc(tm);
    double tm2 = tm - tm1 - kJapanOffset;
    double d1 = 0.0;
    double d2 = 1.0;
    NewMoonSearch result;
    for (int n = 1; std::fabs(d1 + d2) > kSecond; ++n) {
        result.iterations = n;
        const double t = lunisolarCenturies(tm1, tm2);
        const double s = model.sun(t);
        const double m = model.moon(t);
        double delta = m - s;
        if (n == 1 && delta < 0.0) {
            delta = norm(delta);
        } else if (s >= 0.0 && s <= 20.0 && m >= 300.0) {
            delta = 360.0 - norm(delta);
        } else if (std::fabs(delta) > 40.0) {
            delta = norm(delta);
        }
        d1 = trunc(delta * kSynodicMonth / 360.0);
        d2 = delta * kSynodicMonth / 360.0 - d1;
        stepBack(tm1, tm2, d1, d2);
        if (std::fabs(d1 + d2) > kSecond) {
            if (n == 15) {
                tm1 = trunc(tm - 26.0);
                tm2 = 0.0;
            } else if (n > 30) {
                // No convergence: hand back the starting instant unchanged.
                result.time = tm;
                result.converged = false;
                return result;
            }
        }
    }
    result.time = tm2 + tm1 + kJapanOffset;
    return result;
}

double refineNewMoon(double estimate) {
    const double coarse = solve(estimate, approximateElongation, elongationRate, kSecond);
    return solve(coarse, elongation, elongationRate, kRefined);
}

double NewMoonNear(double tm) {
    const NewMoonSearch search = searchNewMoon(tm);
    return search.converged ? refineNewMoon(search.time) : tm;
}

void resetLunisolarMemo() {
    memo.valid = false;
    solarYears.valid = {};
}

LunisolarDay LunisolarDate(double tm, LunisolarSearchStats* stats) {
    const int today = whole(tm);
    if (!memo.valid || today < memo.year.firstDay || today >= memo.year.endDay) {
        // Day after day, the next year follows from the kept one.
        bool found = false;
        if (memo.valid && today >= memo.year.endDay) {
            Year next = yearFrom(keptSolarYear(memo.year.nextSolstice));
            found = today >= next.firstDay && today < next.endDay;
            if (found)
                memo.year = std::move(next);
        }
        if (!found)
            memo.year = yearHolding(today);
        memo.valid = true;
    }
    const Year& year = memo.year;
    if (stats != nullptr) {
        stats->newMoonSearches += year.searches.newMoonSearches;
        stats->unconverged += year.searches.unconverged;
    }
    std::size_t index = 0;
    while (index + 1 < year.month.size() && today >= year.start[index + 1])
        ++index;
    return {year.month[index], year.leap[index], today - year.start[index] + 1};
}

std::string Rokuyo(DateTime date) {
    return rokuyoOf(LunisolarDate(lunisolarDayNumber(date)));
}

std::string rokuyoOf(const LunisolarDay& day) {
    int r = day.month + day.day - 2;
    r = r - 6 * static_cast<int>(trunc(r / 6.0));
    if (r < 0 || r > 5)
        return kRokuyoUnknown;
    return kRokuyoNames[r];
}

std::string SolarTermName(DateTime date) {
    const int n = lunisolarDayNumber(date);
    const SolarYear& year = solarYearHolding(n);
    for (int k = 0; k < 24; ++k) {
        if (year.termDays[k] == n)
            return kSolarTermNames[(18 + k) % 24];
    }
    return {};
}

}  // namespace hinagiku
