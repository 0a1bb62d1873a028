#pragma once

#include <optional>

namespace hinagiku::mainwindow {

// The six week rows of the calendar grid for one month. Days are laid out
// in sequence from the weekday column of the 1st; the reform gap of
// October 1582 is skipped, so 4 October and 15 October stand side by side.
class MonthGrid {
  public:
    static constexpr int kRows = 6;     // week rows 1..6 below the weekday row
    static constexpr int kColumns = 7;  // Sunday first
    static constexpr int kPreviousMonth = 100;
    static constexpr int kNextMonth = 200;

    MonthGrid(int year, int month);

    int year() const { return year_; }
    int month() const { return month_; }
    // Weekday of the 1st, 1 = Sunday.
    int firstWeekday() const { return firstWeekday_; }
    // Number of days that exist in the month.
    int length() const;
    // Highest day number of the month.
    int lastDay() const;
    bool exists(int day) const;

    // Code of the cell in `column` 0..6 and `row` 1..6: the day for a day of
    // the month, 100 + day for the previous month, 200 + day for the next.
    int cellCode(int column, int row) const;

    struct Cell {
        int column = 0;
        int row = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };
    // Where `day` stands, or nothing for a day the month does not have.
    std::optional<Cell> cellOfDay(int day) const;

    // Day at position `sequence` (1 = the 1st) of the month's existing days.
    int dayAt(int sequence) const;
    // Position of `day` among the existing days, 0 when it does not exist.
    int sequenceOf(int day) const;

  private:
    int year_;
    int month_;
    int firstWeekday_;
};

}  // namespace hinagiku::mainwindow
