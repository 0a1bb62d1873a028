#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "calendar/date_time.h"
#include "cycle/cycle_data.h"
#include "cycle/cycle_tracker.h"
#include "platform/clock.h"
#include "platform/settings.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace hinagiku::cycle {

// "Period": the recorded start dates, the two forecasts with their day
// details, and a one-line memo per date. Every change is in the cycle file
// before the action ends.
class CycleWindow : public QWidget {
    Q_OBJECT
  public:
    // `settings` is the settings file (window position, [Form] Delete);
    // `data` the cycle file. `selectedDate` fills the date boxes.
    CycleWindow(platform::Settings& settings, const platform::Clock& clock,
                std::unique_ptr<CycleData> data, DateTime selectedDate, QWidget* parent = nullptr);
    ~CycleWindow() override;

    // "削除しますか？"; tests answer for the user.
    void setDeleteQuestion(std::function<bool(const QString&)> question);

    // The actions, as the controls run them.
    void add();
    void deleteSelected();
    void backToToday();
    void chooseDate(int row);
    void chooseForecast(Forecast list, int row);

    const CycleTracker& tracker() const { return tracker_; }
    QSpinBox* yearBox() const { return year_; }
    QSpinBox* monthBox() const { return month_; }
    QSpinBox* dayBox() const { return day_; }
    QSpinBox* periodBox() const { return period_; }
    QLineEdit* fieldBox(Field field) const;
    QLineEdit* memoBox() const { return memo_; }
    QLabel* memoLabel() const { return memoLabel_; }
    QLabel* statusLine() const { return status_; }
    QListWidget* dateList() const { return dates_; }
    QListWidget* forecastList(Forecast list) const;
    QListWidget* detailList(Forecast list) const;
    QGroupBox* detailGroup(Forecast list) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    void dateBoxChanged();
    void fieldEdited(Field field, const QString& text);
    void memoEdited(const QString& text);
    void refresh();
    void refreshDetails();
    void reportWriteErrors();
    void placeOnScreen();
    void setStatus(const QString& text);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    std::unique_ptr<CycleData> data_;
    CycleTracker tracker_;
    DateTime selectedDate_;
    std::function<bool(const QString&)> deleteQuestion_;
    int updating_ = 0;
    bool shownOnce_ = false;

    QSpinBox* year_ = nullptr;
    QSpinBox* month_ = nullptr;
    QSpinBox* day_ = nullptr;
    QSpinBox* period_ = nullptr;
    QListWidget* dates_ = nullptr;
    QLineEdit* fields_[3] = {nullptr, nullptr, nullptr};
    QListWidget* forecasts_[2] = {nullptr, nullptr};
    QListWidget* details_[2] = {nullptr, nullptr};
    QGroupBox* detailGroups_[2] = {nullptr, nullptr};
    QLabel* memoLabel_ = nullptr;
    QLineEdit* memo_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace hinagiku::cycle
