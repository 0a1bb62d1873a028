#pragma once

#include <QWidget>
#include <vector>

#include "diary/diary_list.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace hinagiku::diary::ui {

class DiaryListWindow;
class DiaryTool;

// The diary search: titles, weather lines and texts of the pages in a range
// of months; a double click on a result moves the list to its day (and
// opens the page at the match when the match was in the text).
class DiarySearchWindow : public QWidget {
    Q_OBJECT

  public:
    DiarySearchWindow(DiaryTool& tool, DiaryListWindow& list, QWidget* parent = nullptr);

    void search();
    void jump(int row);

    QSpinBox* startYear() const { return startYear_; }
    QSpinBox* startMonth() const { return startMonth_; }
    QSpinBox* endYear() const { return endYear_; }
    QSpinBox* endMonth() const { return endMonth_; }
    QLineEdit* textField() const { return text_; }
    QListWidget* results() const { return results_; }
    QLabel* statusLine() const { return status_; }
    const std::vector<SearchHit>& hits() const { return hits_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    DiaryTool& tool_;
    DiaryListWindow& list_;
    QSpinBox* startYear_;
    QSpinBox* startMonth_;
    QSpinBox* endYear_;
    QSpinBox* endMonth_;
    QLineEdit* text_;
    QPushButton* searchButton_;
    QListWidget* results_;
    QLabel* status_;
    std::vector<SearchHit> hits_;
    QString searched_;
};

}  // namespace hinagiku::diary::ui
