// Apparent longitudes of the sun and the moon: full theories through
// libnova for the instants the calendar depends on, and short series that
// only tell a search where to start.
#include <libnova/dynamical_time.h>
#include <libnova/lunar.h>
#include <libnova/nutation.h>
#include <libnova/solar.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <mutex>

#include "calendar/lunisolar.h"

namespace hinagiku {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kArcsecond = 1.0 / 3600.0;
constexpr double kJ2000 = 2451545.0;
// Terms of the lunar theory below this size (radians) are left out: the sum
// of those left stays under 0.3", half a second of the moon's motion
// relative to the sun, at a twentieth of the full theory's cost.
constexpr double kLunarPrecision = 1e-7;
// The moon is seen where it was 1.3 seconds earlier.
constexpr double kLunarLightTime = 0.704 * kArcsecond;

double reduce(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

// libnova keeps its last results in static variables; one caller at a time.
std::mutex& libnovaLock() {
    static std::mutex lock;
    return lock;
}

struct Ecliptic {
    double longitude;
    double latitude;
};

// From the ecliptic and equinox of J2000, where libnova's theories give
// their positions, to the mean ecliptic and equinox of the date (`t`:
// Julian centuries of dynamical time from J2000).
Ecliptic precessFromJ2000(const Ecliptic& position, double t) {
    const double eta = (47.0029 * t - 0.03302 * t * t + 0.000060 * t * t * t) * kArcsecond;
    const double pi = 174.876384 + (-869.8089 * t + 0.03536 * t * t) * kArcsecond;
    const double p = (5029.0966 * t + 1.11113 * t * t - 0.000006 * t * t * t) * kArcsecond;
    const double sinEta = std::sin(eta * kDegree);
    const double cosEta = std::cos(eta * kDegree);
    const double sinB = std::sin(position.latitude * kDegree);
    const double cosB = std::cos(position.latitude * kDegree);
    const double sinDiff = std::sin((pi - position.longitude) * kDegree);
    const double cosDiff = std::cos((pi - position.longitude) * kDegree);
    const double a = cosEta * cosB * sinDiff - sinEta * sinB;
    const double b = cosB * cosDiff;
    const double c = cosEta * sinB + sinEta * cosB * sinDiff;
    return {reduce(p + pi - std::atan2(a, b) / kDegree), std::asin(c) / kDegree};
}

struct Instant {
    double jd;         // Julian Day, universal time
    double jde;        // Julian Ephemeris Day
    double centuries;  // of dynamical time from J2000
};

// Dynamical minus universal time (seconds) on 1 January of 2000 to 2024 as
// measured (IERS). libnova's own table ends in 2000 and its extrapolation
// runs 50 seconds ahead of the measurements by 2015, a minute by 2020.
constexpr std::array<double, 25> kMeasuredDeltaT{
    63.83, 64.09, 64.30, 64.47, 64.57, 64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60,
    66.91, 67.28, 67.64, 68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20, 69.18};

// Called under the lock.
Instant instantOf(double t) {
    const double jd = kJ2000 + 36525.0 * t;
    const double jde = jd + dynamicalTimeDifference(jd) / 86400.0;
    return {jd, jde, (jde - kJ2000) / 36525.0};
}

// Called under the lock. libnova converts to dynamical time itself.
double nutationInLongitude(const Instant& at) {
    ln_nutation nutation{};
    ln_get_nutation(at.jd, &nutation);
    return nutation.longitude;
}

struct Term {
    double a, r, p;
};

constexpr std::array<Term, 14> kSunTerms{{
    {0.0004, 31557.0, 161.0},
    {0.0004, 29930.0, 48.0},
    {0.0005, 2281.0, 221.0},
    {0.0005, 155.0, 118.0},
    {0.0006, 33718.0, 316.0},
    {0.0007, 9038.0, 64.0},
    {0.0007, 3035.0, 110.0},
    {0.0007, 65929.0, 45.0},
    {0.0013, 22519.0, 352.0},
    {0.0015, 45038.0, 254.0},
    {0.0018, 445267.0, 208.0},
    {0.0018, 19.0, 159.0},
    {0.0020, 32964.0, 158.0},
    {0.0200, 71998.1, 265.1},
}};

constexpr std::array<Term, 61> kMoonTerms{{
    {0.0003, 2322131.0, 191.0},   {0.0003, 4067.0, 70.0},     {0.0003, 549197.0, 220.0},
    {0.0003, 1808933.0, 58.0},    {0.0003, 349472.0, 337.0},  {0.0003, 381404.0, 354.0},
    {0.0003, 958465.0, 340.0},    {0.0004, 12006.0, 187.0},   {0.0004, 39871.0, 223.0},
    {0.0005, 509131.0, 242.0},    {0.0005, 1745069.0, 24.0},  {0.0005, 1908795.0, 90.0},
    {0.0006, 2258267.0, 156.0},   {0.0006, 111869.0, 38.0},   {0.0007, 27864.0, 127.0},
    {0.0007, 485333.0, 186.0},    {0.0007, 405201.0, 50.0},   {0.0007, 790672.0, 114.0},
    {0.0008, 1403732.0, 98.0},    {0.0009, 858602.0, 129.0},  {0.0011, 1920802.0, 186.0},
    {0.0012, 1267871.0, 249.0},   {0.0016, 1856938.0, 152.0}, {0.0018, 401329.0, 274.0},
    {0.0021, 341337.0, 16.0},     {0.0021, 71998.0, 85.0},    {0.0021, 990397.0, 357.0},
    {0.0022, 818536.0, 151.0},    {0.0023, 922466.0, 163.0},  {0.0024, 99863.0, 122.0},
    {0.0026, 1379739.0, 17.0},    {0.0027, 918399.0, 182.0},  {0.0028, 1934.0, 145.0},
    {0.0037, 541062.0, 259.0},    {0.0038, 1781068.0, 21.0},  {0.0040, 133.0, 29.0},
    {0.0040, 1844932.0, 56.0},    {0.0040, 1331734.0, 283.0}, {0.0050, 481266.0, 205.0},
    {0.0052, 31932.0, 107.0},     {0.0068, 926533.0, 323.0},  {0.0079, 449334.0, 188.0},
    {0.0085, 826671.0, 111.0},    {0.0100, 1431597.0, 315.0}, {0.0107, 1303870.0, 246.0},
    {0.0110, 489205.0, 142.0},    {0.0125, 1443603.0, 52.0},  {0.0154, 75870.0, 41.0},
    {0.0304, 513197.9, 222.5},    {0.0347, 445267.1, 27.9},   {0.0409, 441199.8, 47.4},
    {0.0458, 854535.2, 148.2},    {0.0533, 1367733.1, 280.7}, {0.0571, 377336.3, 13.2},
    {0.0588, 63863.5, 124.2},     {0.1144, 966404.0, 276.5},  {0.1851, 35999.05, 87.53},
    {0.2136, 954397.74, 179.93},  {0.6583, 890534.22, 145.7}, {1.2740, 413335.35, 10.74},
    {6.2888, 477198.868, 44.963},
}};

template <std::size_t Size>
double periodicSum(const std::array<Term, Size>& terms, double t) {
    double sum = 0.0;
    for (const Term& term : terms)
        sum += term.a * std::cos(reduce(term.r * t + term.p) * kDegree);
    return sum;
}

}  // namespace

double dynamicalTimeDifference(double julianDay) {
    // 1 January 2000, 0:00 universal time, and years of 365.25 days after it.
    const double years = (julianDay - 2451544.5) / 365.25;
    if (years < 0.0)
        return ln_get_dynamical_time_diff(julianDay);
    const auto last = static_cast<double>(kMeasuredDeltaT.size() - 1);
    // What the future brings is unknown; the last measurement is the best
    // guess for the decades a calendar looks ahead.
    if (years >= last)
        return kMeasuredDeltaT.back();
    const auto index = static_cast<std::size_t>(years);
    const double fraction = years - static_cast<double>(index);
    return kMeasuredDeltaT[index] +
           fraction * (kMeasuredDeltaT[index + 1] - kMeasuredDeltaT[index]);
}

double SunLongitude(double t) {
    Instant at{};
    ln_helio_posn geometric{};
    double nutation = 0.0;
    {
        const std::lock_guard<std::mutex> hold(libnovaLock());
        at = instantOf(t);
        ln_get_solar_geom_coords(at.jde, &geometric);
        nutation = nutationInLongitude(at);
    }
    const Ecliptic ofDate = precessFromJ2000({geometric.L, geometric.B}, at.centuries);
    const double aberration = 20.4898 * kArcsecond / geometric.R;
    return reduce(ofDate.longitude + nutation - aberration);
}

double MoonLongitude(double t) {
    Instant at{};
    ln_lnlat_posn geometric{};
    double nutation = 0.0;
    {
        const std::lock_guard<std::mutex> hold(libnovaLock());
        at = instantOf(t);
        ln_get_lunar_ecl_coords(at.jde, &geometric, kLunarPrecision);
        nutation = nutationInLongitude(at);
    }
    const Ecliptic ofDate = precessFromJ2000({geometric.lng, geometric.lat}, at.centuries);
    return reduce(ofDate.longitude + nutation - kLunarLightTime);
}

double approximateSunLongitude(double t) {
    double th = periodicSum(kSunTerms, t);
    const double g = reduce(35999.05 * t + 267.52);
    th -= 0.0048 * t * std::cos(g * kDegree);
    th += 1.9147 * std::cos(g * kDegree);
    return reduce(th + reduce(36000.7695 * t) + 280.4659);
}

double approximateMoonLongitude(double t) {
    return reduce(periodicSum(kMoonTerms, t) + reduce(481267.8809 * t) + 218.3162);
}

}  // namespace hinagiku
