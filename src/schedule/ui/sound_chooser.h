#pragma once

#include <QDialog>
#include <QString>

#include <vector>

#include "schedule/ui/drive_list.h"

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace hinagiku::schedule {

class FileBrowser;

// The sound chooser: a modal dialog that browses drives and folders for a
// .WAV or .MID file and plays it on request. There is no cancel: whatever is
// selected when the dialog closes is the result, and the caller decides what
// a path that names no file means. It writes no setting.
class SoundChooser : public QDialog {
    Q_OBJECT
  public:
    explicit SoundChooser(QWidget* parent = nullptr, std::vector<Drive> drives = systemDrives());

    // The initially selected file; the dialog opens at its folder. An empty
    // or invalid name leaves nothing selected.
    void setFileName(const QString& path);
    // The full path of the selected file (the path label); empty when none.
    QString fileName() const;

    // For callers and tests that drive the dialog.
    FileBrowser* browser() const { return browser_; }
    QComboBox* filterBox() const { return filterBox_; }
    QPushButton* testButton() const { return testButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QMenu* contextMenu() const { return menu_; }

    // "試聴", a double-click or "音色テスト": plays the selected file when it
    // exists.
    void playSelected();
    // "設定して閉じる" or "閉じる(&C)": stops the sound, then closes.
    void closeChooser();

    void reject() override;  // Esc closes the same way

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void selectionChanged();

    FileBrowser* browser_;
    QComboBox* filterBox_;
    QLabel* pathLabel_;
    QPushButton* testButton_;
    QPushButton* closeButton_;
    QMenu* menu_;
};

}  // namespace hinagiku::schedule
