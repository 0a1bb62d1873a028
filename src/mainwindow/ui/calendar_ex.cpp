#include "mainwindow/ui/calendar_ex.h"

#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

#include "mainwindow/calex_date.h"

namespace hinagiku::mainwindow {
namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
constexpr int kGridRows = 7;

}  // namespace

TCalendarEx::TCalendarEx(QWidget* parent)
    : QWidget(parent),
      year_(QDate::currentDate().year()),
      month_(QDate::currentDate().month()),
      day_(QDate::currentDate().day()),
      grid_(year_, month_),
      colors_{QColor(0, 0, 0),    QColor(0x80, 0, 0), QColor(0, 0, 0x80),
              QColor(0x80, 0, 0), QColor(0xFF, 0, 0), QColor(0x80, 0x80, 0x80)} {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TCalendarEx::sizeHint() const {
    return {7 * 32 + 7 * gridLineWidth_, 7 * 18 + 7 * gridLineWidth_};
}

void TCalendarEx::changed() {
    update();
    emit OnChange();
}

void TCalendarEx::setYearMonth(int year, int month) {
    year_ = year;
    month_ = month;
    grid_ = MonthGrid(year_, month_);
    // Keep the selection on an existing day: the last day for a shorter
    // month, the last day before the gap for the reform month.
    if (day_ > grid_.lastDay())
        day_ = grid_.lastDay();
    while (day_ > 1 && !grid_.exists(day_))
        --day_;
}

void TCalendarEx::setYear(int year) {
    if (year < kMinYear || year > kMaxYear || year == year_)
        return;
    setYearMonth(year, month_);
    changed();
}

void TCalendarEx::setMonth(int month) {
    if (month < 1 || month > 12 || month == month_)
        return;
    setYearMonth(year_, month);
    changed();
}

void TCalendarEx::setDay(int day) {
    if (!grid_.exists(day) || day == day_)
        return;
    day_ = day;
    changed();
}

bool TCalendarEx::setDate(int year, int month, int day) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12)
        return false;
    if (!MonthGrid(year, month).exists(day))
        return false;
    if (year == year_ && month == month_ && day == day_)
        return false;
    year_ = year;
    month_ = month;
    grid_ = MonthGrid(year_, month_);
    day_ = day;
    changed();
    return true;
}

int TCalendarEx::dayOfWeek() const {
    return calex::weekday(year_, month_, day_);
}

void TCalendarEx::setTypeOfDayList(std::vector<std::string> list) {
    lists_.typeOfDay = std::move(list);
    update();
}

void TCalendarEx::setSpecialDayList(std::vector<std::string> list) {
    lists_.specialDay = std::move(list);
    update();
}

QString TCalendarEx::typeOfDayText() const {
    return QString::fromStdString(mainwindow::typeOfDayText(year_, month_, day_, lists_));
}

void TCalendarEx::setColor(DayColor which, const QColor& color) {
    colors_[static_cast<int>(which)] = color;
    update();
}

QColor TCalendarEx::colorAt(int index) const {
    if (index < 0 || index >= kDayColorCount)
        return {};
    return colors_[index];
}

void TCalendarEx::setColorAt(int index, const QColor& color) {
    if (index < 0 || index >= kDayColorCount)
        return;
    setColor(static_cast<DayColor>(index), color);
}

void TCalendarEx::setAutoEquinox(bool on) {
    lists_.autoEquinox = on;
    update();
}

void TCalendarEx::setShowNeighbor(bool on) {
    showNeighbor_ = on;
    update();
}

void TCalendarEx::setGridLineWidth(int width) {
    gridLineWidth_ = std::max(0, width);
    // Refit the cells to the new line width.
    QResizeEvent event(size(), size());
    resizeEvent(&event);
    update();
}

int TCalendarEx::columnWidth() const {
    return std::max(0, (width() - 7 * gridLineWidth_) / 7);
}

int TCalendarEx::rowHeight() const {
    return std::max(0, (height() - kGridRows * gridLineWidth_) / kGridRows);
}

int TCalendarEx::cellCode(int column, int row) const {
    if (column < 0 || column >= MonthGrid::kColumns || row < 1 || row > MonthGrid::kRows)
        return 0;
    return grid_.cellCode(column, row);
}

QString TCalendarEx::cellText(int column, int row) const {
    if (row == 0) {
        if (column < 0 || column >= MonthGrid::kColumns)
            return {};
        // Qt counts Monday as 1 and Sunday as 7.
        return QLocale().dayName(column == 0 ? 7 : column, QLocale::ShortFormat);
    }
    const int code = cellCode(column, row);
    if (code == 0)
        return {};
    if (code > MonthGrid::kPreviousMonth && !showNeighbor_)
        return {};
    return QString::number(code % 100);
}

QColor TCalendarEx::cellColor(int column, int row) const {
    const int code = cellCode(column, row);
    if (code == 0)
        return {};
    if (code > MonthGrid::kPreviousMonth)
        return color(DayColor::NeighborDay);
    return color(dayColor(dayKinds(year_, month_, code, lists_)));
}

QRect TCalendarEx::cellRect(int column, int row) const {
    const int w = columnWidth();
    const int h = rowHeight();
    return {column * (w + gridLineWidth_), row * (h + gridLineWidth_), w, h};
}

std::optional<MonthGrid::Cell> TCalendarEx::selectedCell() const {
    return grid_.cellOfDay(day_);
}

std::optional<MonthGrid::Cell> TCalendarEx::cellAt(QPoint position) const {
    const int w = columnWidth() + gridLineWidth_;
    const int h = rowHeight() + gridLineWidth_;
    if (w <= 0 || h <= 0 || position.x() < 0 || position.y() < 0)
        return std::nullopt;
    const int column = position.x() / w;
    const int row = position.y() / h;
    if (column >= MonthGrid::kColumns || row >= kGridRows)
        return std::nullopt;
    return MonthGrid::Cell{column, row};
}

void TCalendarEx::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Shrink by the remainders so that the cells fill the control exactly.
    const int extraW = (width() - 7 * gridLineWidth_) % 7;
    const int extraH = (height() - kGridRows * gridLineWidth_) % kGridRows;
    if ((extraW > 0 && width() > extraW) || (extraH > 0 && height() > extraH)) {
        resize(width() - std::max(0, extraW), height() - std::max(0, extraH));
    }
}

void TCalendarEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(),
                     gridLineWidth_ > 0 ? pal.color(QPalette::Mid) : pal.color(QPalette::Base));
    const QFontMetrics metrics(font());
    const auto selected = selectedCell();
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < MonthGrid::kColumns; ++column) {
            const QRect cell = cellRect(column, row);
            QColor background = pal.color(QPalette::Base);
            QColor text;
            if (row == 0) {
                background = pal.color(QPalette::Button);
                text = Qt::black;
            } else if (selected && selected->column == column && selected->row == row) {
                background = cellColor(column, row);
                text = pal.color(QPalette::HighlightedText);
            } else {
                text = cellColor(column, row);
            }
            painter.fillRect(cell, background);
            const QString caption = cellText(column, row);
            if (caption.isEmpty())
                continue;
            painter.setPen(text);
            const int x = cell.left() + (cell.width() - metrics.horizontalAdvance(caption)) / 2;
            const int y = cell.top() + (cell.height() - metrics.height()) / 2 + metrics.ascent();
            painter.drawText(x, y, caption);
        }
    }
}

void TCalendarEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const auto cell = cellAt(event->position().toPoint());
    if (!cell || cell->row == 0)
        return;
    emit OnClick();
    const int code = cellCode(cell->column, cell->row);
    if (code > 0 && code < MonthGrid::kPreviousMonth)
        day_ = code;
    changed();
}

void TCalendarEx::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const auto cell = cellAt(event->position().toPoint());
    if (cell && cell->row > 0)
        emit OnDblClick();
}

void TCalendarEx::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -7;
            break;
        case Qt::Key_Down:
            step = 7;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    // Moves stay inside the displayed month, like clicks.
    const int target = grid_.sequenceOf(day_) + step;
    if (target >= 1 && target <= grid_.length())
        setDay(grid_.dayAt(target));
}

}  // namespace hinagiku::mainwindow
