#include "mainwindow/month_navigation.h"

#include "mainwindow/month_grid.h"

namespace hinagiku::mainwindow {
namespace {

GridDate settle(GridDate date) {
    const MonthGrid grid(date.year, date.month);
    while (date.day > 1 && !grid.exists(date.day))
        --date.day;
    return date;
}

}  // namespace

GridDate nextMonthDate(const GridDate& date) {
    GridDate next = date;
    if (++next.month > 12) {
        next.month = 1;
        ++next.year;
    }
    return settle(next);
}

GridDate previousMonthDate(const GridDate& date) {
    GridDate previous = date;
    if (--previous.month < 1) {
        previous.month = 12;
        --previous.year;
    }
    return settle(previous);
}

}  // namespace hinagiku::mainwindow
