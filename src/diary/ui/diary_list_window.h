#pragma once

#include <QPointer>
#include <QWidget>

#include "diary/diary_list.h"

class QListWidget;
class QMenu;
class QProgressBar;
class QSpinBox;
class QToolButton;

namespace hinagiku::diary::ui {

class DiarySearchWindow;
class DiaryTool;

// The diary list: one line per day of a month with each day's title; a
// double click opens the day's page.
class DiaryListWindow : public QWidget {
    Q_OBJECT

  public:
    explicit DiaryListWindow(DiaryTool& tool, QWidget* parent = nullptr);
    ~DiaryListWindow() override;

    // Rebuilds the lines of the shown month.
    void refill();
    // Shows the day's month with the day selected (the search's jump).
    void showDay(int day);
    void backToToday();
    void openSearch();
    // Opens the selected line's page.
    void openSelected();

    int year() const;
    int month() const;
    const MonthList& lines() const { return list_; }
    QListWidget* listView() const { return view_; }
    QProgressBar* progressBar() const { return progress_; }
    QSpinBox* yearBox() const { return year_; }
    QSpinBox* monthBox() const { return month_; }
    QMenu* contextMenu() const { return menu_; }
    DiarySearchWindow* searchWindow() const { return search_; }
    // The day of a list line's text (its first ten characters).
    static int dayOfLine(const QString& line);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void writePlacement();
    void updateMenuCaption();
    void selectLine(int index);

    DiaryTool& tool_;
    MonthList list_;
    QSpinBox* year_;
    QSpinBox* month_;
    QToolButton* today_;
    QToolButton* searchButton_;
    QProgressBar* progress_;
    QListWidget* view_;
    QMenu* menu_;
    QAction* writeAction_;
    QPointer<DiarySearchWindow> search_;
    int requestedDay_ = 0;  // the search window's jump
    bool placed_ = false;
};

}  // namespace hinagiku::diary::ui
