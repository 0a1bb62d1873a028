#pragma once

#include <QDialog>

class QPushButton;

namespace hinagiku::memo {

// The drop choice window: a stay-on-top tool window captioned
// "Drop-[title]" at the memo's top-left corner, as wide as the memo (230
// pixels when the memo is narrower than 143), with three buttons as wide as
// itself. For one file: into this memo (1), into a new memo (2), cancel;
// for several: the first file into this memo (1), every file into new memos
// (3), cancel. Button 1 is off in sticky-paper mode.
class MemoDropWindow : public QDialog {
    Q_OBJECT
  public:
    MemoDropWindow(const QString& title, int fileCount, bool stickyPaper, const QRect& memo,
                   QWidget* parent = nullptr);

    // 0 cancel, 1, 2 or 3 as above.
    int choice() const { return choice_; }
    QPushButton* button(int index) const { return buttons_[index]; }

  private:
    void choose(int choice);

    QPushButton* buttons_[3] = {};
    int choice_ = 0;
};

}  // namespace hinagiku::memo
