#include "calendar/moon.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace hinagiku {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
// Julian Date of 1899-12-30 00:00.
constexpr double kJulianDateOfEpoch = 2415018.5;
// 1582-10-15, the first day of the Gregorian calendar.
constexpr double kGregorianStart = -115858.0;
constexpr double kAstronomicalUnitKm = 149597869.0;

// Banker's rounding, as the display and the shading expect.
double roundEven(double x) {
    return std::nearbyint(x);
}

double put360(double x) {
    double result = x - 360.0 * roundEven(x / 360.0);
    while (result < 0.0)
        result += 360.0;
    return result;
}

double sind(double x) {
    return std::sin(put360(x) * kDegree);
}
double cosd(double x) {
    return std::cos(put360(x) * kDegree);
}

// Julian centuries from 2000 January 1.5. Taken from the continuous day
// count, so that positions stay right before 1582 too.
double centuries(DateTime instant) {
    const double jd = elapsedDays(instant) + kJulianDateOfEpoch;
    return (jd - 2451545.0) / 36525.0;
}

// Periodic terms of the moon's longitude and distance: multiples of D, M,
// M', F; longitude in 1e-6 degree, distance in 1e-3 km.
struct LongitudeTerm {
    signed char d, m, mp, f;
    int l, r;
};

constexpr std::array<LongitudeTerm, 60> kLongitudeTerms{{
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
}};

// Periodic terms of the moon's latitude, in 1e-6 degree.
struct LatitudeTerm {
    signed char d, m, mp, f;
    int b;
};

constexpr std::array<LatitudeTerm, 60> kLatitudeTerms{{
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},  {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},    {0, 0, 1, -3, 777},    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},    {2, 0, 2, -1, 596},    {2, -1, 1, -1, 491},   {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},    {2, 0, 2, 1, 422},     {2, 0, -3, -1, 421},   {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},    {4, 0, 0, 1, 331},     {2, -1, 1, 1, 315},    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},    {2, 1, 1, -1, -229},   {1, 1, 0, -1, 223},    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},  {2, 1, -1, -1, -220},  {1, 0, 1, 1, -185},    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},    {4, 0, -2, -1, 176},   {4, -1, -1, -1, 166},  {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},    {1, 0, -1, -1, -119},  {4, -1, 0, -1, 115},   {2, -2, 0, 1, 107},
}};

// E for |multiple of M| = 1, E^2 for 2.
double eccentricityFactor(int m, double e) {
    switch (std::abs(m)) {
        case 1:
            return e;
        case 2:
            return e * e;
        default:
            return 1.0;
    }
}

EclipticPosition sunAt(double t) {
    const double t2 = t * t;
    const double l0 = 280.46645 + 36000.76983 * t + 0.0003032 * t2;
    const double e = 0.016708617 - 0.000042037 * t - 0.0000001236 * t2;
    const double m = 357.5291 + 35999.0503 * t - 0.0001559 * t2 - 0.00000048 * t2 * t;
    const double c = (1.9146 - 0.004817 * t - 0.000014 * t2) * sind(m) +
                     (0.019993 - 0.000101 * t) * sind(2.0 * m) + 0.00029 * sind(3.0 * m);
    const double theta = put360(l0 + c);
    const double nu = m + c;
    const double r = 1.000001018 * (1.0 - e * e) / (1.0 + e * cosd(nu)) * kAstronomicalUnitKm;
    const double omega = 125.04452 - 1934.136261 * t + 0.0020708 * t2 + t2 * t / 450000.0;
    const double lambda =
        put360(theta - 0.00569 - 0.00478 * sind(omega) - 0.0056916111 / (r * 6.684587198230745e-9));
    return {lambda, 0.0, r};
}

EclipticPosition moonAt(double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    const double d =
        297.8502042 + 445267.1115168 * t - 0.00163 * t2 + t3 / 545868.0 - t4 / 113065000.0;
    const double m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0;
    const double mp =
        134.9634114 + 477198.8676313 * t + 0.008997 * t2 + t3 / 69699.0 - t4 / 14712000.0;
    const double f =
        93.2720993 + 483202.0175273 * t - 0.0034029 * t2 - t3 / 3526000.0 + t4 / 863310000.0;
    const double lp =
        218.3164591 + 481267.88134236 * t - 0.0013268 * t2 + t3 / 538841.0 - t4 / 65194000.0;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double a1 = 119.75 + 131.849 * t;
    const double a2 = 53.09 + 479264.29 * t;
    const double a3 = 313.45 + 481266.484 * t;

    double sumL = 0.0;
    double sumR = 0.0;
    for (const LongitudeTerm& term : kLongitudeTerms) {
        const double argument = term.d * d + term.m * m + term.mp * mp + term.f * f;
        const double factor = eccentricityFactor(term.m, e);
        sumL += term.l * factor * sind(argument);
        sumR += term.r * factor * cosd(argument);
    }
    double sumB = 0.0;
    for (const LatitudeTerm& term : kLatitudeTerms) {
        const double argument = term.d * d + term.m * m + term.mp * mp + term.f * f;
        sumB += term.b * eccentricityFactor(term.m, e) * sind(argument);
    }
    sumL += 3958.0 * sind(a1) + 1962.0 * sind(lp - f) + 318.0 * sind(a2);
    sumB += -2235.0 * sind(lp) + 382.0 * sind(a3) + 175.0 * sind(a1 - f) + 175.0 * sind(a1 + f) +
            127.0 * sind(lp - mp) - 115.0 * sind(lp + mp);
    return {lp + sumL / 1e6, sumB / 1e6, 385000.56 + sumR / 1000.0};
}

double ageFrom(const EclipticPosition& sun, const EclipticPosition& moon) {
    return put360(moon.longitude - sun.longitude) / 360.0 * kSynodicMonthDays;
}

double phaseFrom(const EclipticPosition& sun, const EclipticPosition& moon) {
    const double elongation = std::acos(cosd(moon.latitude) * cosd(moon.longitude - sun.longitude));
    double i = std::atan(sun.distance * std::sin(elongation) /
                         (moon.distance - sun.distance * std::cos(elongation))) /
               kDegree;
    if (i < 0.0)
        i += 180.0;
    return put360(moon.longitude - sun.longitude) > 180.0 ? -i : i;
}

double illuminationFrom(double phase) {
    return (1.0 + cosd(phase)) / 2.0;
}

}  // namespace

double JulianDate(DateTime instant) {
    const double days = elapsedDays(instant);
    if (days < kGregorianStart)
        return 0.0;
    return days + kJulianDateOfEpoch;
}

EclipticPosition SunPosition(DateTime instant) {
    return sunAt(centuries(instant));
}

EclipticPosition MoonPosition(DateTime instant) {
    return moonAt(centuries(instant));
}

double MoonAge(DateTime instant) {
    const double t = centuries(instant);
    return ageFrom(sunAt(t), moonAt(t));
}

double PhaseAngle(DateTime instant) {
    const double t = centuries(instant);
    return phaseFrom(sunAt(t), moonAt(t));
}

double Illumination(DateTime instant) {
    return illuminationFrom(PhaseAngle(instant));
}

MoonValues moonValues(DateTime instant) {
    const double t = centuries(instant);
    const EclipticPosition sun = sunAt(t);
    const EclipticPosition moon = moonAt(t);
    MoonValues values;
    values.julianDate = JulianDate(instant);
    values.age = ageFrom(sun, moon);
    values.phaseAngle = phaseFrom(sun, moon);
    values.illumination = illuminationFrom(values.phaseAngle);
    return values;
}

std::string julianDateText(double julianDate) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%12.5f", julianDate);
    return buffer;
}

std::string moonAgeText(double age) {
    const double days = std::trunc(age);
    const ClockTime time = decodeTime(age - days);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.0f days, %d hours, %d minutes.", days, time.hour,
                  time.minute);
    return buffer;
}

int illuminationPercent(double illumination) {
    return static_cast<int>(roundEven(100.0 * illumination));
}

std::string illuminationText(double illumination) {
    return std::to_string(illuminationPercent(illumination)) + "% (0%=New,100%=Full)";
}

}  // namespace hinagiku
