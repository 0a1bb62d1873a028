#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/agenda/entry_listing.h"
#include "schedule/agenda/ui/agenda_host.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextEdit;

namespace hinagiku::schedule {

// "スケジュール管理": the entry files of the data folder as one-line
// descriptions, in three listings (all, past, the chosen day), with a
// preview, delete and edit.
class ScheduleManagementWindow : public QWidget {
    Q_OBJECT
  public:
    ScheduleManagementWindow(platform::Settings& settings, const platform::Clock& clock,
                             AgendaHost host, QWidget* parent = nullptr);

    void listAll();
    void listPast();
    void listDay();
    // The listing of the current mode again (after an editor closed).
    void relist();
    void previousDay();
    void nextDay();
    // "今日に戻す｡", also the menu's "本日の一覧": today's dated entries.
    void backToToday();
    // "削除": every selected item, after one question.
    void deleteSelected();
    // "修正": the editor of the selected item.
    void editSelected();
    // The window closes; `changed`: it deleted or edited something.
    std::function<void(bool changed)> closed;

    ListingMode mode() const { return mode_; }
    CivilDate chosenDate() const { return chosen_; }
    bool changedSomething() const { return changed_; }
    const std::vector<ListedEntry>& entries() const { return entries_; }
    QListWidget* list() const { return list_; }
    QString headingText() const;
    // The status bar: a hint while the mouse is over a part of the window,
    // otherwise the selected entry's file name.
    QString statusText() const;
    QString selectedFileName() const;
    QString previewText() const;
    QString dayButtonText() const;
    bool deleteEnabled() const;
    void selectRow(int row);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void listing(ListingMode mode);
    void selectionChanged();
    void setHeading(const QString& text, int colourValue);
    void refreshDateControls();
    void setHint(QWidget* widget, const char* text);
    void showListMenu(const QPoint& globalPos);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    AgendaHost host_;
    ListingMode mode_ = ListingMode::Day;
    CivilDate chosen_;
    std::vector<ListedEntry> entries_;
    QString fileName_;
    bool changed_ = false;
    bool shown_ = false;

    QPushButton* pastButton_;
    QPushButton* allButton_;
    QPushButton* dayButton_;
    QPushButton* previousButton_;
    QPushButton* todayButton_;
    QPushButton* nextButton_;
    QPushButton* deleteButton_;
    QPushButton* popupButton_;
    QPushButton* todoButton_;
    QCheckBox* noConfirm_;
    QListWidget* list_;
    QLabel* heading_;
    QTextEdit* preview_;
    QSplitter* splitter_;
    QLabel* status_;
};

}  // namespace hinagiku::schedule
