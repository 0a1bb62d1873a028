#pragma once

#include <QWidget>

#include <array>

#include "platform/clock.h"
#include "platform/settings.h"
#include "tools/day_calculation.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace hinagiku::tools {

// "日数計算": the span between two date-times, or the date-time a given
// offset before or after a start. Keeps only its position ([DayCalc]).
class DayCalculatorWindow : public QWidget {
    Q_OBJECT
  public:
    DayCalculatorWindow(platform::Settings& settings, const platform::Clock& clock,
                        QWidget* parent = nullptr);

    // The one window, opened or brought to the front; and whether it is open.
    static DayCalculatorWindow* open(platform::Settings& settings, const platform::Clock& clock);
    static bool isOpen();

    // One date-time row: year, month, day, hour, minute, second.
    struct Row {
        std::array<QSpinBox*, 6> fields{};
        QPushButton* today = nullptr;
        QPushButton* zero = nullptr;
    };
    const Row& rowA() const { return rows_[0]; }
    const Row& rowB() const { return rows_[1]; }
    std::array<QSpinBox*, 4> offsetFields() const { return offset_; }
    QToolButton* periodButton() const { return periodButton_; }
    QToolButton* countButton() const { return countButton_; }
    QToolButton* beforeButton() const { return beforeButton_; }
    QToolButton* afterButton() const { return afterButton_; }
    QPushButton* calculateButton() const { return calculate_; }
    QPlainTextEdit* result() const { return result_; }
    QMenu* contextMenu() const { return menu_; }
    bool countMode() const;

    void setRow(int row, const DateTimeFields& fields);
    DateTimeFields rowFields(int row) const;
    void setCountMode(bool count);
    void calculate();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QWidget* buildRow(int row);
    QWidget* buildCountPanel();
    void validate(int row);
    void setRowToNow(int row);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    std::array<Row, 2> rows_;
    std::array<QSpinBox*, 4> offset_{};
    QStackedWidget* rowBStack_ = nullptr;
    QToolButton* periodButton_ = nullptr;
    QToolButton* countButton_ = nullptr;
    QToolButton* beforeButton_ = nullptr;
    QToolButton* afterButton_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QPlainTextEdit* result_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* periodItem_ = nullptr;
    QAction* countItem_ = nullptr;
    bool validating_ = false;
    bool shown_ = false;
};

}  // namespace hinagiku::tools
