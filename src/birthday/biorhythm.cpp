#include "birthday/biorhythm.h"

#include <cmath>
#include <numbers>

namespace hinagiku::birthday {

int biorhythmY(int phaseDay, int cycleDays, int height) {
    const int half = height / 2;
    const int phase = phaseDay % cycleDays;  // sign of phaseDay, as the chart has always had it
    const double s = std::sin(2.0 * std::numbers::pi * phase / cycleDays);
    return half - static_cast<int>(half * s);  // the cast truncates toward zero
}

Biorhythm biorhythmFor(const CivilDate& birth, int year, int month, int width, int height) {
    Biorhythm chart;
    chart.columnWidth = width / 30;
    chart.n = dayNumberOf({year, month, 1}) - dayNumberOf(birth) - 1;
    for (int i = 0; i < kBiorhythmPoints; ++i) {
        const int x = i * chart.columnWidth;
        chart.physical[i] = {x, biorhythmY(chart.n + i, kPhysicalDays, height)};
        chart.emotional[i] = {x, biorhythmY(chart.n + i, kEmotionalDays, height)};
        chart.intellectual[i] = {x, biorhythmY(chart.n + i, kIntellectualDays, height)};
    }
    return chart;
}

YearMonth stepMonth(YearMonth shown, int delta) {
    long long index = static_cast<long long>(shown.year) * 12 + (shown.month - 1) + delta;
    const long long first = 12;               // 0001-01
    const long long last = 9999LL * 12 + 11;  // 9999-12
    if (index < first)
        index = first;
    if (index > last)
        index = last;
    return {static_cast<int>(index / 12), static_cast<int>(index % 12) + 1};
}

}  // namespace hinagiku::birthday
