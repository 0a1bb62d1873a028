#pragma once

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/clock.h"
#include "platform/settings.h"
#include "todo/outline.h"
#include "todo/todo_store.h"

class QLabel;
class QMenu;
class QPagedPaintDevice;
class QPushButton;
class QSplitter;
class QTextEdit;
class QTreeWidgetItem;

namespace hinagiku::richtext::ui {
class FindDialog;
class FormatBar;
class TextFinder;
}  // namespace hinagiku::richtext::ui

namespace hinagiku::todo::ui {

class OutlineTree;

// The ToDo board: the outline on the left, the selected item's note on the
// right. Every change of the outline is written at once; a note is written
// when it was modified and the user leaves it (selection change, outline
// focus, close, program end).
class TodoBoard : public QWidget {
    Q_OBJECT
  public:
    // Opens the board on `folder`, or shows why the outline cannot be read
    // (file, line) and returns nothing; then nothing was written.
    static TodoBoard* open(platform::Settings& settings, const platform::Clock& clock,
                           const std::filesystem::path& folder);

    TodoBoard(platform::Settings& settings, const platform::Clock& clock,
              std::unique_ptr<TodoStore> store, Outline outline, QWidget* parent = nullptr);
    ~TodoBoard() override;

    // The user's actions, also for tests.
    void addItem();
    void emptyTrash();
    bool saveNote();  // false: the write failed (message shown, text kept)
    void selectPosition(std::size_t pos);
    std::optional<std::size_t> selectedPosition() const;
    void moveNode(std::uint64_t from, std::uint64_t to);
    void printTo(QPagedPaintDevice& device);
    void print();
    int replaceAll(const QString& text, const QString& replacement);
    // "検索" of the text menu: the shared find dialog, searching from the
    // start of the note.
    void findText();
    // The dialog's search: closes the dialog, selects the first occurrence.
    bool findFromDialog();
    richtext::ui::FindDialog* findDialog() const { return findDialog_; }
    // The pop-up menus of the outline and of the text area, as they would
    // show now.
    std::unique_ptr<QMenu> outlineMenu();
    std::unique_ptr<QMenu> textMenu();

    const Outline& outline() const { return outline_; }
    OutlineTree* tree() const { return tree_; }
    QTextEdit* editor() const { return editor_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QLabel* statusLine() const { return status_; }
    QSplitter* splitter() const { return splitter_; }
    richtext::ui::FormatBar* formatBar() const { return bar_; }

    // Where the board's messages go (a message box); tests record them.
    static std::function<void(const QString&)>& messageSink();
    // Asks "削除しますか？"; tests answer it.
    static std::function<bool(QWidget* parent)>& confirmDelete();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void rebuildTree();
    void showNode(std::uint64_t id);
    void onCurrentChanged(QTreeWidgetItem* current);
    void onItemEdited(QTreeWidgetItem* item);
    bool saveOutline();
    void updateDeleteButton();
    void refreshIcon(QTreeWidgetItem* item);
    bool closePath();
    void showOutlineMenu(const QPoint& point);
    void showTextMenu(const QPoint& point);
    void replaceText();

    platform::Settings& settings_;
    const platform::Clock& clock_;
    std::unique_ptr<TodoStore> store_;
    Outline outline_;
    std::uint64_t selected_ = 0;  // node id of the shown node
    bool noteWritable_ = false;   // the shown node is an item whose note can be written
    bool rebuilding_ = false;
    bool closed_ = false;
    OutlineTree* tree_;
    QTextEdit* editor_;
    QPushButton* add_;
    QPushButton* delete_;
    QLabel* status_;
    QSplitter* splitter_;
    richtext::ui::FormatBar* bar_;
    std::unique_ptr<richtext::ui::TextFinder> finder_;
    richtext::ui::FindDialog* findDialog_ = nullptr;
};

}  // namespace hinagiku::todo::ui
