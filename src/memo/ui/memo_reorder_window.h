#pragma once

#include <QDialog>

#include "memo/memo_reorder.h"
#include "platform/settings.h"

class QComboBox;
class QMouseEvent;
class QListWidget;
class QPushButton;

namespace hinagiku::memo {

// "Memoの並び替え": rearranges a category's memos and moves memos to
// another category. Nothing is written before "保存", which writes both
// categories in one replacement of the settings file. An open memo moves
// only within its category.
class MemoReorderWindow : public QDialog {
    Q_OBJECT

  public:
    MemoReorderWindow(platform::Settings& settings, int category, QWidget* parent = nullptr);

    const MemoReorder& state() const { return reorder_; }
    QComboBox* sourceBox() const { return sourceBox_; }
    QComboBox* targetBox() const { return targetBox_; }
    QListWidget* sourceList() const { return sourceList_; }
    QListWidget* targetList() const { return targetList_; }
    QPushButton* moveAllButton() const { return moveAll_; }
    QPushButton* moveSelectedButton() const { return moveSelected_; }
    QPushButton* restartButton() const { return restart_; }
    QPushButton* saveButton() const { return save_; }

    void moveSelected();
    void moveAll();
    void restart();
    void save();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void showLists();
    void warnOpen();
    void writePlacement();

    platform::Settings& settings_;
    MemoReorder reorder_;
    QComboBox* sourceBox_;
    QComboBox* targetBox_;
    QListWidget* sourceList_;
    QListWidget* targetList_;
    QPushButton* moveAll_;
    QPushButton* moveSelected_;
    QPushButton* restart_;
    QPushButton* save_;
    bool placementWritten_ = false;
};

}  // namespace hinagiku::memo
