#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/day_kinds.h"
#include "mainwindow/month_grid.h"

namespace hinagiku::mainwindow {

// The month calendar grid: 7 columns x 7 rows, the weekday names in the
// fixed top row, the days of the displayed month coloured by their kind
// and the free cells filled with the neighbour months' days.
class TCalendarEx : public QWidget {
    Q_OBJECT

  public:
    explicit TCalendarEx(QWidget* parent = nullptr);

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    // Each setter keeps the selection on an existing day and fires OnChange
    // when something changed; a day the month does not have is ignored.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);
    // Year, month and day at once, with one OnChange; false (and nothing
    // changed) for a date the calendar does not have or the date shown.
    bool setDate(int year, int month, int day);
    // 1 = Sunday .. 7 = Saturday of the selected date.
    int dayOfWeek() const;

    const std::vector<std::string>& typeOfDayList() const { return lists_.typeOfDay; }
    void setTypeOfDayList(std::vector<std::string> list);
    const std::vector<std::string>& specialDayList() const { return lists_.specialDay; }
    void setSpecialDayList(std::vector<std::string> list);
    // Names of the selected day's kinds, one per line.
    QString typeOfDayText() const;

    QColor color(DayColor which) const { return colors_[static_cast<int>(which)]; }
    void setColor(DayColor which, const QColor& color);
    QColor colorAt(int index) const;
    void setColorAt(int index, const QColor& color);

    bool autoEquinox() const { return lists_.autoEquinox; }
    void setAutoEquinox(bool on);
    bool showNeighbor() const { return showNeighbor_; }
    void setShowNeighbor(bool on);
    int gridLineWidth() const { return gridLineWidth_; }
    void setGridLineWidth(int width);

    // Cell inspection (column 0..6, row 0..6; row 0 holds the weekday names).
    int cellCode(int column, int row) const;
    QString cellText(int column, int row) const;
    // Colour of a day cell of rows 1..6 (text colour when unselected).
    QColor cellColor(int column, int row) const;
    QRect cellRect(int column, int row) const;
    std::optional<MonthGrid::Cell> selectedCell() const;
    std::optional<MonthGrid::Cell> cellAt(QPoint position) const;

    int columnWidth() const;
    int rowHeight() const;
    QSize sizeHint() const override;

  signals:
    // Selection or displayed month changed, or a day cell was clicked.
    void OnChange();
    // A day cell was clicked; sent before the selection moves.
    void OnClick();
    void OnDblClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void setYearMonth(int year, int month);
    void changed();

    int year_;
    int month_;
    int day_;
    MonthGrid grid_;
    DayLists lists_;
    std::array<QColor, kDayColorCount> colors_;
    bool showNeighbor_ = true;
    int gridLineWidth_ = 1;
};

}  // namespace hinagiku::mainwindow
