#include "calendar/lunisolar.h"

#include <array>
#include <cmath>

namespace hinagiku {

const char* const kSolarTermNames[24] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄"};

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kJapanOffset = 0.375;  // 9 hours
constexpr double kSynodicMonth = 29.530589;
// Days from 1899-12-30 (value 0) to N.
constexpr int kDayNumberOffset = 2415018;
// PrecedingTermTime converges in a handful of steps; the cap only keeps a
// corrupted input from spinning.
constexpr int kTermSearchLimit = 100;

double cosDeg(double degrees) {
    return std::cos(degrees * kDegree);
}

double trunc(double x) {
    return std::trunc(x);
}

double norm(double x) {
    if (x >= 0.0)
        return x - 360.0 * trunc(x / 360.0);
    return 360.0 - (-x - 360.0 * trunc(-x / 360.0));
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
        sum += term.a * cosDeg(norm(term.r * t + term.p));
    return sum;
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

int whole(double x) {
    return static_cast<int>(trunc(x));
}

}  // namespace

int lunisolarDayNumber(DateTime date) {
    return dayNumber(date) + kDayNumberOffset;
}

double lunisolarCenturies(double tm1, double tm2) {
    return (tm2 + 0.5) / 36525.0 + (tm1 - 2451545.0) / 36525.0;
}

double SunLongitude(double t) {
    double th = periodicSum(kSunTerms, t);
    const double g = norm(35999.05 * t + 267.52);
    th -= 0.0048 * t * cosDeg(g);
    th += 1.9147 * cosDeg(g);
    const double l = norm(norm(36000.7695 * t) + 280.4659);
    return norm(th + l);
}

double MoonLongitude(double t) {
    const double th = periodicSum(kMoonTerms, t);
    const double l = norm(norm(481267.8809 * t) + 218.3162);
    return norm(th + l);
}

TermTime PrecedingTermTime(double tm, int step) {
    double tm1 = trunc(tm);
    double tm2 = tm - tm1 - kJapanOffset;
    const double lambda = SunLongitude(lunisolarCenturies(tm1, tm2));
    const double target = step * trunc(lambda / step);
    double d1 = 0.0;
    double d2 = 1.0;
    for (int n = 0; std::fabs(d1 + d2) > kSecond && n < kTermSearchLimit; ++n) {
        double delta = SunLongitude(lunisolarCenturies(tm1, tm2)) - target;
        if (delta > 180.0) {
            delta -= 360.0;
        } else if (delta < -180.0) {
            delta += 360.0;
        }
        d1 = trunc(delta * 365.2 / 360.0);
        d2 = delta * 365.2 / 360.0 - d1;
        stepBack(tm1, tm2, d1, d2);
    }
    return {tm2 + kJapanOffset + tm1, target};
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

double NewMoonNear(double tm) {
    return searchNewMoon(tm).time;
}

namespace {

// The five months that follow from one solstice or equinox.
struct MonthWindow {
    TermTime first;
    std::array<int, 5> month{};
    std::array<bool, 5> leap{};
    std::array<int, 5> start{};
    LunisolarSearchStats searches;
};

MonthWindow monthWindow(const TermTime& first) {
    MonthWindow window;
    window.first = first;
    auto newMoon = [&window](double at) {
        const NewMoonSearch search = searchNewMoon(at);
        ++window.searches.newMoonSearches;
        if (!search.converged)
            ++window.searches.unconverged;
        return search.time;
    };

    // The solstice or equinox and the three major terms after it.
    std::array<double, 4> c{};
    c[0] = first.time;
    for (int i = 1; i < 4; ++i)
        c[i] = PrecedingTermTime(c[i - 1] + 32.0, 30).time;

    // Five new moons from the one before the first term.
    std::array<double, 5> s{};
    s[0] = newMoon(c[0]);
    for (int i = 1; i < 5; ++i) {
        s[i] = newMoon(s[i - 1] + 30.0);
        if (std::abs(whole(s[i - 1]) - whole(s[i])) <= 26)
            s[i] = newMoon(s[i - 1] + 35.0);
    }

    if (whole(s[1]) <= whole(c[0])) {
        for (int i = 0; i < 4; ++i)
            s[i] = s[i + 1];
        s[4] = newMoon(s[3] + 35.0);
    } else if (whole(s[0]) > whole(c[0])) {
        for (int i = 4; i > 0; --i)
            s[i] = s[i - 1];
        s[0] = newMoon(s[0] - 27.0);
    }

    // Five new moons within four major terms: one month holds none.
    bool leapPending = whole(s[4]) <= whole(c[3]);

    auto& month = window.month;
    auto& leap = window.leap;
    auto& start = window.start;
    month[0] = whole(first.longitude / 30.0) + 2;
    if (month[0] > 12)
        month[0] -= 12;
    leap[0] = false;
    start[0] = whole(s[0]);
    for (int i = 1; i < 5; ++i) {
        if (leapPending && i != 1 &&
            (whole(c[i - 1]) <= whole(s[i - 1]) || whole(c[i - 1]) >= whole(s[i]))) {
            month[i - 1] = month[i - 2];
            leap[i - 1] = true;
            start[i - 1] = whole(s[i - 1]);
            leapPending = false;
        }
        month[i] = month[i - 1] + 1;
        if (month[i] > 12)
            month[i] -= 12;
        leap[i] = false;
        start[i] = whole(s[i]);
    }
    return window;
}

// Everything but the last step depends on the date only through the
// preceding solstice or equinox, so the days of one quarter share their
// months. The last window is kept per thread; a window found again within
// the search's one-second limit is the same window.
struct WindowMemo {
    bool valid = false;
    MonthWindow window;
};

thread_local WindowMemo memo;

}  // namespace

void resetLunisolarMemo() {
    memo.valid = false;
}

LunisolarDay LunisolarDate(double tm, LunisolarSearchStats* stats) {
    const TermTime first = PrecedingTermTime(tm, 90);
    if (!memo.valid || memo.window.first.longitude != first.longitude ||
        std::fabs(memo.window.first.time - first.time) > kSecond) {
        memo.window = monthWindow(first);
        memo.valid = true;
    }
    const MonthWindow& window = memo.window;
    if (stats != nullptr) {
        stats->newMoonSearches += window.searches.newMoonSearches;
        stats->unconverged += window.searches.unconverged;
    }

    const int today = whole(tm);
    int index = 4;
    for (int i = 0; i < 5; ++i) {
        if (today < window.start[i]) {
            index = i - 1;
            break;
        }
        if (today == window.start[i]) {
            index = i;
            break;
        }
    }
    // A term found a second after midnight of tm can put tm before the first
    // month; the first month is then the nearest there is.
    if (index < 0)
        index = 0;
    return {window.month[index], window.leap[index], today - window.start[index] + 1};
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
    const double n = lunisolarDayNumber(date);
    const double lambda1 = SunLongitude(lunisolarCenturies(n, -kJapanOffset));
    const double lambda2 = SunLongitude(lunisolarCenturies(n + 1.0, -kJapanOffset));
    const int s1 = 15 * whole(lambda1 / 15.0);
    const int s2 = 15 * whole(lambda2 / 15.0);
    if (s1 == s2)
        return {};
    return kSolarTermNames[(s2 / 15) % 24];
}

}  // namespace hinagiku
