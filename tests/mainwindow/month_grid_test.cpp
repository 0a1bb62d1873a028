#include "mainwindow/month_grid.h"

#include <gtest/gtest.h>

#include "mainwindow/calex_date.h"

namespace hinagiku::mainwindow {
namespace {

// Date a cell code stands for.
int cellDayNumber(const MonthGrid& grid, int code) {
    int y = grid.year();
    int m = grid.month();
    if (code > MonthGrid::kNextMonth) {
        if (++m > 12) {
            m = 1;
            ++y;
        }
        return calex::dayNumber(y, m, code - MonthGrid::kNextMonth);
    }
    if (code > MonthGrid::kPreviousMonth) {
        if (--m < 1) {
            m = 12;
            --y;
        }
        return calex::dayNumber(y, m, code - MonthGrid::kPreviousMonth);
    }
    return calex::dayNumber(y, m, code);
}

// Every cell continues the day before it and stands in its weekday column.
void expectContinuous(const MonthGrid& grid) {
    int previous = 0;
    for (int row = 1; row <= MonthGrid::kRows; ++row) {
        for (int column = 0; column < MonthGrid::kColumns; ++column) {
            const int j = cellDayNumber(grid, grid.cellCode(column, row));
            if (previous != 0) {
                ASSERT_EQ(j, previous + 1) << "cell " << column << ',' << row;
            }
            ASSERT_EQ(calex::weekday(j), column + 1);
            previous = j;
        }
    }
}

struct StartCase {
    int year, month, weekday, previousLength;
};

class MonthStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(MonthStart, DayOneInItsWeekdayColumn) {
    const StartCase c = GetParam();
    const MonthGrid grid(c.year, c.month);
    EXPECT_EQ(grid.firstWeekday(), c.weekday);
    EXPECT_EQ(grid.cellOfDay(1), (MonthGrid::Cell{c.weekday - 1, 1}));
    EXPECT_EQ(grid.cellCode(c.weekday - 1, 1), 1);
    if (c.weekday == 1) {
        // Nothing of the previous month in row 1.
        for (int column = 0; column < 7; ++column)
            EXPECT_LT(grid.cellCode(column, 1), 100);
    } else {
        EXPECT_EQ(grid.cellCode(c.weekday - 2, 1), 100 + c.previousLength);
    }
    const int last = grid.lastDay();
    const auto lastCell = grid.cellOfDay(last);
    ASSERT_TRUE(lastCell);
    EXPECT_EQ(grid.cellCode(lastCell->column, lastCell->row), last);
    const int nextColumn = (lastCell->column + 1) % 7;
    const int nextRow = lastCell->row + (lastCell->column == 6 ? 1 : 0);
    if (nextRow <= 6) {
        EXPECT_EQ(grid.cellCode(nextColumn, nextRow), 201);
    }
    for (int d = 1; d <= last; ++d) {
        const auto cell = grid.cellOfDay(d);
        ASSERT_TRUE(cell);
        EXPECT_EQ(grid.cellCode(cell->column, cell->row), d);
    }
    EXPECT_FALSE(grid.cellOfDay(0));
    EXPECT_FALSE(grid.cellOfDay(last + 1));
    expectContinuous(grid);
}

INSTANTIATE_TEST_SUITE_P(EachWeekday, MonthStart,
                         ::testing::Values(StartCase{2024, 9, 1, 31}, StartCase{2024, 1, 2, 31},
                                           StartCase{2024, 10, 3, 30}, StartCase{2024, 5, 4, 30},
                                           StartCase{2024, 2, 5, 31}, StartCase{2024, 3, 6, 29},
                                           StartCase{2024, 6, 7, 31}));

TEST(MonthGrid, ReformMonthSkipsTheGap) {
    const MonthGrid grid(1582, 10);
    EXPECT_EQ(grid.firstWeekday(), 2);  // Monday
    EXPECT_EQ(grid.length(), 21);
    EXPECT_EQ(grid.lastDay(), 31);
    for (int d = 5; d <= 14; ++d) {
        EXPECT_FALSE(grid.exists(d));
        EXPECT_FALSE(grid.cellOfDay(d));
    }
    EXPECT_EQ(grid.cellOfDay(4), (MonthGrid::Cell{4, 1}));   // Thursday
    EXPECT_EQ(grid.cellOfDay(15), (MonthGrid::Cell{5, 1}));  // Friday
    EXPECT_EQ(grid.cellOfDay(31), (MonthGrid::Cell{0, 4}));  // Sunday
    expectContinuous(grid);
    // The month after shows the reform month's last days before its 1st.
    expectContinuous(MonthGrid(1582, 11));
    expectContinuous(MonthGrid(1582, 9));
}

TEST(MonthGrid, February4000HasTwentyEightDays) {
    const MonthGrid grid(4000, 2);
    EXPECT_EQ(grid.lastDay(), 28);
    const auto last = grid.cellOfDay(28);
    ASSERT_TRUE(last);
    EXPECT_FALSE(grid.cellOfDay(29));
    expectContinuous(grid);
    expectContinuous(MonthGrid(4000, 3));
}

TEST(MonthGrid, JanuaryTakesDecemberOfThePreviousYear) {
    const MonthGrid grid(2024, 1);  // starts on Monday
    EXPECT_EQ(grid.cellCode(0, 1), 131);
    expectContinuous(grid);
}

}  // namespace
}  // namespace hinagiku::mainwindow
