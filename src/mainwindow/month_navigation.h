#pragma once

namespace hinagiku::mainwindow {

struct GridDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const GridDate&, const GridDate&) = default;
};

// "翌月へ" and "先月へ": the neighbour month; a day it does not have is
// lowered until it does (31 March -> 28 or 29 February).
GridDate nextMonthDate(const GridDate& date);
GridDate previousMonthDate(const GridDate& date);

}  // namespace hinagiku::mainwindow
