#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "tools/launcher_levels.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace hinagiku::tools {

// The launcher menu's editor for one level ([Execmenu] SubStack): a modal
// window whose lists are working copies until "保存"; submenus open nested
// editors of their own.
class LauncherEditor : public QDialog {
    Q_OBJECT
  public:
    LauncherEditor(platform::Settings& settings, QWidget* parent = nullptr);

    // "メニューの編集": [Execmenu] SubStack = "Main", the editor shown
    // modally; `rebuild` runs when it closes (the launcher menu is built
    // again).
    static void openTopLevel(platform::Settings& settings, QWidget* parent,
                             const std::function<void()>& rebuild);
    // How a nested editor is shown; tests replace it to drive it.
    static void setNestedRunner(std::function<void(LauncherEditor&)> runner);

    const std::string& level() const { return level_; }
    int depth() const { return depth_; }
    const std::vector<LevelItem>& items() const { return items_; }
    const std::vector<LevelItem>& stack() const { return stack_; }

    QListWidget* itemList() const { return list_; }
    QListWidget* stackList() const { return stackList_; }
    QLineEdit* titleField() const { return title_; }
    QLineEdit* fileField() const { return file_; }
    QToolButton* browseButton() const { return browse_; }
    QCheckBox* submenuBox() const { return submenu_; }
    QPushButton* submenuEditButton() const { return submenuEdit_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* separatorButton() const { return separator_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* toStackButton() const { return toStack_; }
    QPushButton* fromStackButton() const { return fromStack_; }
    QPushButton* stackDeleteButton() const { return stackDelete_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* statusBar() const { return status_; }

    void addItem(bool separator);  // "新規追加" / "セパレーター追加"
    bool writeItem();              // "書き込み"
    void moveToStack();
    void moveFromStack();
    void deleteFromStack();
    bool saveLevel();  // "保存" without closing
    void saveAndClose();
    void editSubmenu();
    void dropFiles(const std::vector<std::string>& paths);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void load();
    void refreshList(int select);
    void selectionChanged();
    void updateButtons();
    void browse();
    void submenuToggled(bool on);
    void help(QWidget* widget, const char* text);
    bool submenuHasItems(const LevelItem& item) const;
    void finish();

    platform::Settings& settings_;
    std::string level_;
    int depth_ = 1;
    std::vector<LevelItem> items_;
    std::vector<LevelItem> stack_;
    QListWidget* list_;
    QListWidget* stackList_;
    QLineEdit* title_;
    QLineEdit* file_;
    QToolButton* browse_;
    QCheckBox* submenu_;
    QPushButton* submenuEdit_;
    QPushButton* add_;
    QPushButton* separator_;
    QPushButton* write_;
    QPushButton* toStack_;
    QPushButton* fromStack_;
    QPushButton* stackDelete_;
    QPushButton* save_;
    QPushButton* cancel_;
    QLabel* status_;
    int updating_ = 0;
    bool shown_ = false;
    bool finished_ = false;
};

}  // namespace hinagiku::tools
