#include "mainwindow/month_grid.h"

#include "mainwindow/calex_date.h"

namespace hinagiku::mainwindow {
namespace {

constexpr int kGapFirst = 5;
constexpr int kGapLength = 10;

bool isReformMonth(int year, int month) {
    return year == 1582 && month == 10;
}

void previousMonth(int& year, int& month) {
    if (--month < 1) {
        month = 12;
        --year;
    }
}

void nextMonth(int& year, int& month) {
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

}  // namespace

MonthGrid::MonthGrid(int year, int month)
    : year_(year), month_(month), firstWeekday_(calex::weekday(year, month, 1)) {}

int MonthGrid::lastDay() const {
    return calex::daysInMonth(year_, month_);
}

int MonthGrid::length() const {
    return lastDay() - (isReformMonth(year_, month_) ? kGapLength : 0);
}

bool MonthGrid::exists(int day) const {
    return day >= 1 && day <= lastDay() && !calex::inReformGap(year_, month_, day);
}

int MonthGrid::dayAt(int sequence) const {
    if (isReformMonth(year_, month_) && sequence >= kGapFirst)
        return sequence + kGapLength;
    return sequence;
}

int MonthGrid::sequenceOf(int day) const {
    if (!exists(day))
        return 0;
    if (isReformMonth(year_, month_) && day > kGapFirst)
        return day - kGapLength;
    return day;
}

int MonthGrid::cellCode(int column, int row) const {
    const int n = column + 7 * row - firstWeekday_ - 5;
    if (n <= 0) {
        int y = year_;
        int m = month_;
        previousMonth(y, m);
        const MonthGrid before(y, m);
        return kPreviousMonth + before.dayAt(n + before.length());
    }
    if (n > length()) {
        int y = year_;
        int m = month_;
        nextMonth(y, m);
        return kNextMonth + MonthGrid(y, m).dayAt(n - length());
    }
    return dayAt(n);
}

std::optional<MonthGrid::Cell> MonthGrid::cellOfDay(int day) const {
    const int sequence = sequenceOf(day);
    if (sequence == 0)
        return std::nullopt;
    const int v = firstWeekday_ + sequence;
    return Cell{(v + 5) % 7, (v - 2) / 7 + 1};
}

}  // namespace hinagiku::mainwindow
