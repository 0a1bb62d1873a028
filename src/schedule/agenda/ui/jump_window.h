#pragma once

#include <QWidget>

#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/agenda/ui/agenda_host.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace hinagiku::schedule {

// "指定日に移動": moves the main calendar to a chosen date. Dates follow the
// calendar grid's own days (Julian before the reform of 1582).
class JumpWindow : public QWidget {
    Q_OBJECT
  public:
    JumpWindow(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
               QWidget* parent = nullptr);

    // The fields as typed, corrected (the day lowered until the date exists).
    void setFields(long long year, long long month, long long day);
    CivilDate date() const { return date_; }
    QString weekdayText() const;
    bool todayEnabled() const;

    // "指定日にセット": the main calendar to the date, then close.
    void setAndClose();
    void backToToday();
    // The popup menu's editors at the window's date.
    void openPopupEditorHere();
    void openToDoEditorHere();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void fieldsChanged();
    void refresh();

    platform::Settings& settings_;
    const platform::Clock& clock_;
    AgendaHost host_;
    CivilDate date_;
    int updating_ = 0;
    bool shown_ = false;
    QSpinBox* year_;
    QSpinBox* month_;
    QSpinBox* day_;
    QLabel* weekday_;
    QPushButton* todayButton_;
    QPushButton* setButton_;
};

}  // namespace hinagiku::schedule
