#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "memo/memo_index.h"
#include "platform/settings.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hinagiku::richtext::ui {
class FormatBar;
class IndentRuler;
}  // namespace hinagiku::richtext::ui

namespace hinagiku::memo {

class PictureView;

// "メモ一覧": the ten categories and their memos as a tree, with a preview
// of the selected memo's text and picture. A closed memo's text is edited
// in place and written back when it was edited; an open memo's text is
// shown read-only and never written from here (its window owns it).
// Opening goes through the memo registry, so a memo opens once.
class MemoListWindow : public QWidget {
    Q_OBJECT

  public:
    enum class NodeState { Category, ClosedMemo, OpenMemo };

    explicit MemoListWindow(platform::Settings& settings, QWidget* parent = nullptr);
    ~MemoListWindow() override;

    // Rebuilds the tree from the settings and selects `key` (or, without
    // it, category `category`; else the first node).
    // The busy notice shows while it runs when `notice` and the window is shown.
    void reload(const std::string& key = {}, int category = -1, bool notice = true);
    // After a change elsewhere (memo windows opened, closed, renamed): the
    // tree rebuilt with the same selection.
    void refresh();

    // The commands, as the buttons and menus run them.
    void addMemo();
    void deleteSelected();
    void openSelected();
    void openReorder();
    void renameSelected(const QString& caption);
    void setReadOnlyChecked(bool on);
    void chooseColor(bool background);
    // Writes the preview's text back to its memo when that is closed and
    // the text was edited.
    void writeBack();
    // "名前を付けて保存" and "ファイルの読みこみ" of the text.
    void saveTextAs();
    void loadTextFile();
    // A splitter handle let go: a pane pushed to nothing takes half the room.
    void splitterReleased();

    // The selection: a memo's key (empty for a category) and its category.
    std::string selectedKey() const;
    int selectedCategory() const;
    bool selectMemo(const std::string& key);
    void selectCategory(int category);

    QTreeWidget* tree() const { return tree_; }
    QSplitter* treeSplitter() const { return split_; }
    QSplitter* previewSplitter() const { return previewSplit_; }
    QTextEdit* editor() const { return editor_; }
    QGroupBox* group() const { return group_; }
    QPushButton* reorderButton() const { return reorder_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* addButton() const { return add_; }
    QLabel* statusLine() const { return status_; }
    richtext::ui::FormatBar* formatBar() const { return bar_; }
    PictureView* pictureView() const { return picture_; }
    QMenu* treeMenu() const { return treeMenu_; }
    QMenu* textMenu() const { return textMenu_; }
    static NodeState stateOf(const QTreeWidgetItem* item);

    // Tests answer the colour dialog here.
    std::function<std::optional<QColor>(const QColor&)> colorChooser;
    // Tests answer the save and open dialogs of the text here (the start
    // path and filter in, the chosen path out; empty: cancelled).
    std::function<QString(const QString& start, const QString& filter)> savePathChooser;
    std::function<QString(const QString& start, const QString& filter)> openPathChooser;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Shown {
        std::string key;  // empty: a category or nothing
        int category = -1;
        bool editable = false;
    };

    void buildMenus();
    void rebuildMemoMenu();
    void prepareTextMenu(bool overPicture);
    void showSelection();
    void showCategory(int category);
    void showMemo(const std::string& key, int category);
    void showPicture(const std::string& key);
    void clearPreview();
    void updateButtons();
    void currentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void itemEdited(QTreeWidgetItem* item);
    void writePlacement();
    void placeWindow();

    void loadPictureFile();
    void savePictureAs(bool jpeg);
    void saveWallpaper();
    void pastePicture();
    void copyPicture();
    std::filesystem::path folder() const;
    QTreeWidgetItem* categoryItem(int category) const;

    platform::Settings& settings_;
    QSplitter* split_ = nullptr;
    QSplitter* previewSplit_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QPushButton* reorder_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* add_ = nullptr;
    QGroupBox* group_ = nullptr;
    PictureView* picture_ = nullptr;
    richtext::ui::FormatBar* bar_ = nullptr;
    richtext::ui::IndentRuler* ruler_ = nullptr;
    QTextEdit* editor_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* treeMenu_ = nullptr;
    QMenu* textMenu_ = nullptr;
    QAction* renameAction_ = nullptr;
    QAction* readOnlyAction_ = nullptr;
    MemoIndex index_;  // as the tree was last built
    Shown shown_;
    std::string pictureFile_;
    bool deleting_ = false;
    bool building_ = false;
    bool rebuildingMenu_ = false;
    bool panesPlaced_ = false;
};

// The main window's "メモ一覧": the data folder rules, then the one list
// window opened or brought to the front.
MemoListWindow* openMemoList(platform::Settings& settings);
MemoListWindow* memoList();
// Refreshes the list when it is open (after memo windows changed).
void refreshMemoList();

}  // namespace hinagiku::memo
