#pragma once

#include <array>

#include "calendar/date_time.h"

namespace hinagiku::birthday {

// The biorhythm chart of one month: 32 points per cycle, i = 0 (the last day
// of the previous month) to 31.
inline constexpr int kBiorhythmPoints = 32;
inline constexpr int kPhysicalDays = 23;
inline constexpr int kEmotionalDays = 28;
inline constexpr int kIntellectualDays = 33;

struct BiorhythmPoint {
    int x = 0;
    int y = 0;
};

struct Biorhythm {
    // Days from the birth date to the first day of the month, minus one.
    int n = 0;
    int columnWidth = 0;  // W div 30
    std::array<BiorhythmPoint, kBiorhythmPoints> physical{};
    std::array<BiorhythmPoint, kBiorhythmPoints> emotional{};
    std::array<BiorhythmPoint, kBiorhythmPoints> intellectual{};
};

// Points of the chart for a birth date, the shown year and month and the
// chart's width and height in pixels. Int truncates toward zero and the
// remainder keeps the sign of n + i, so months before the birth date give
// negative phases.
Biorhythm biorhythmFor(const CivilDate& birth, int year, int month, int width, int height);

// The y of one cycle at day offset `phaseDay` (n + i).
int biorhythmY(int phaseDay, int cycleDays, int height);

// The shown month stepped by `delta` months, kept within 0001-01 .. 9999-12.
struct YearMonth {
    int year = 1;
    int month = 1;
    friend bool operator==(const YearMonth&, const YearMonth&) = default;
};
YearMonth stepMonth(YearMonth shown, int delta);

}  // namespace hinagiku::birthday
