// The memo list and reorder windows offscreen: the tree's names, the preview
// that writes back only a closed and edited memo (never an open one, never
// during a deletion), deleting, opening once, renaming, and reordering
// within and across categories with the open-memo warning.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

#include "core/ui/message_box.h"
#include "core/ui/session_end.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_list_window.h"
#include "memo/ui/memo_reorder_window.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/memory_settings.h"
#include "richtext/ui/format_bar.h"
#include "support/temp_home.h"

using namespace hinagiku;
namespace fs = std::filesystem;
using Keys = std::vector<std::string>;

namespace {
// A body as Windows wrote it, with what our reader does not keep.
const std::string kWindowsBody = "{\\rtf1\\ansi\\ansicpg932{\\*\\unknown keep}\\f0 abc\\par }\r\n";
const QString kOpenWarning = QStringLiteral(
    "現在、このメモが開かれています。\rメモを閉じてから実行してください。\r"
    "（表示中のメモが移動できるのは同一項目内のみです。）");
}  // namespace

class MemoListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;

    fs::path folder() const { return home->path() / "Memo"; }
    std::string body(const std::string& key) const {
        std::string bytes;
        platform::readWholeFile(folder() / key, bytes);
        return bytes;
    }
    bool bodyExists(const std::string& key) const { return fs::exists(folder() / key); }
    std::string newMemo(int category = 0, const std::string& text = kWindowsBody) {
        const std::string key = memo::MemoStore(*settings, folder()).create(category);
        platform::writeFileAtomically(folder() / key, text);
        return key;
    }
    Keys category(int c) const {
        Keys keys;
        for (const memo::MemoEntry& e : memo::listCategory(*settings, c))
            keys.push_back(e.key);
        return keys;
    }
    memo::MemoListWindow* openList() {
        memo::MemoListWindow* list = memo::openMemoList(*settings);
        if (list != nullptr)
            list->show();
        return list;
    }

  private slots:
    void init() {
        home = std::make_unique<testing::TempHome>();
        settings = std::make_unique<platform::MemorySettings>();
        settings->writeText("Calendar", "Directory", home->path().string());
        settings->writeInt("Form", "Waveplay", 0);
        // As the program wires it: every index change also refreshes the list.
        memo::setMemoHost(
            {[] { return QRect(100, 50, 240, 300); }, [] { memo::refreshMemoList(); }});
        messages.clear();
        answer = QMessageBox::Yes;
        core::setMessageFunction([this](const core::MessageRequest& request) {
            messages << request.text;
            return answer;
        });
    }
    void cleanup() {
        delete memo::memoList();
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        core::setMessageFunction({});
        settings.reset();
        home.reset();
    }

    void theTreeNamesCategoriesWithAsciiDigitsTheReorderBoxesWithFullWidth() {
        settings->writeText("Memo_bun", "1", "仕事");
        const std::string key = newMemo(1);
        settings->writeText("1_Memo", key, "買い物");
        memo::MemoListWindow* list = openList();
        QVERIFY(list != nullptr);
        QCOMPARE(list->windowTitle(), QStringLiteral("メモ一覧"));
        QTreeWidget* tree = list->tree();
        QCOMPARE(tree->topLevelItemCount(), 10);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("メモ1"));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("仕事"));
        QCOMPARE(tree->topLevelItem(9)->text(0), QStringLiteral("メモ10"));
        QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QStringLiteral("買い物"));
        QCOMPARE(
            list->statusLine()->text(),
            QStringLiteral("本のマークは未参照｡ メモは参照済､ 記入マークは操作可を意味します｡"));
        QCOMPARE(list->addButton()->toolTip(), QStringLiteral("新規にMemoを作成します｡"));
        // The first node is selected: a category lists its titles, read-only.
        QCOMPARE(list->selectedCategory(), 0);
        QCOMPARE(list->group()->title(), QStringLiteral("項目内のメモ一覧"));
        list->selectCategory(1);
        QCOMPARE(list->editor()->toPlainText(), QStringLiteral("買い物"));
        QVERIFY(list->editor()->isReadOnly());
        QVERIFY(!list->formatBar()->isEnabled());
        QVERIFY(list->addButton()->isEnabled());
        QVERIFY(!list->deleteButton()->isEnabled());

        memo::MemoReorderWindow reorder(*settings, 1);
        QCOMPARE(reorder.windowTitle(), QStringLiteral("Memoの並び替え"));
        QCOMPARE(reorder.sourceBox()->itemText(0), QStringLiteral("メモ１"));
        QCOMPARE(reorder.sourceBox()->itemText(1), QStringLiteral("仕事"));
        QCOMPARE(reorder.targetBox()->itemText(9), QStringLiteral("メモ１０"));
        QCOMPARE(reorder.sourceBox()->currentIndex(), 1);
        QCOMPARE(reorder.sourceList()->item(0)->text(), QStringLiteral("買い物"));
        QCOMPARE(reorder.width(), 517);
    }

    void withoutADataFolderTheListDoesNotOpen() {
        settings->writeText("Calendar", "Directory", ".");
        QVERIFY(memo::openMemoList(*settings) == nullptr);
        QVERIFY(memo::memoList() == nullptr);
    }

    void anOpenMemoIsShownReadOnlyAndNeverOverwritten() {
        const std::string open = newMemo();
        const std::string other = newMemo();
        memo::MemoWindow* window = memo::openMemo(*settings, open, open, 0);
        QTest::keyClicks(window->textArea(), "window text");
        window->save();
        const std::string saved = body(open);
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(open));
        QCOMPARE(list->group()->title(), QStringLiteral("メモ表示中（編集不可）"));
        QCOMPARE(list->group()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(list->editor()->isReadOnly());
        QVERIFY(!list->formatBar()->isEnabled());
        QVERIFY(!list->deleteButton()->isEnabled());
        QCOMPARE(memo::MemoListWindow::stateOf(list->tree()->currentItem()),
                 memo::MemoListWindow::NodeState::OpenMemo);
        QCOMPARE(list->statusLine()->text(),
                 QStringLiteral("このメモは開かれているので削除､リネームは出来ません｡"));
        // Even a text changed by other means is never written for an open memo.
        list->editor()->setPlainText(QStringLiteral("list text"));
        list->editor()->document()->setModified(true);
        list->writeBack();
        QVERIFY(list->selectMemo(other));
        list->selectCategory(0);
        QCOMPARE(body(open), saved);
        // Edited in its own window, then clicking around the list.
        QTest::keyClicks(window->textArea(), " more");
        window->save();
        QVERIFY(list->selectMemo(open));
        QVERIFY(list->selectMemo(other));
        QVERIFY(body(open).find("window text more") != std::string::npos);
    }

    void thePreviewWritesOnlyAClosedEditedMemo() {
        const std::string first = newMemo();
        const std::string second = newMemo();
        settings->writeInt(first, "BackColor", 255);
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(first));
        QCOMPARE(list->group()->title(), QStringLiteral("編集が可能です。"));
        QCOMPARE(list->editor()->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(list->editor()->toPlainText(), QStringLiteral("abc"));
        QVERIFY(!list->editor()->isReadOnly());
        QVERIFY(list->formatBar()->isEnabled());
        QVERIFY(list->deleteButton()->isEnabled());
        QVERIFY(!list->addButton()->isEnabled());
        QCOMPARE(list->statusLine()->text(),
                 QStringLiteral("ダブルクリックでメモ表示｡ 間隔を開けたクリックでリネーム｡"));
        // Looked at only: the Windows body stays byte for byte.
        QVERIFY(list->selectMemo(second));
        list->writeBack();
        QCOMPARE(body(first), kWindowsBody);
        QCOMPARE(settings->readText(first, "ReadOnly", "unset"), std::string("unset"));
        // Edited: written when the selection moves.
        QVERIFY(list->selectMemo(first));
        list->editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(list->editor(), "def");
        list->selectCategory(0);
        QVERIFY(body(first).find("abcdef") != std::string::npos);
        QCOMPARE(settings->readInt(first, "ReadOnly", -1), 0);
        QCOMPARE(body(second), kWindowsBody);
        // Edited, then opened from the memo menu before the list let go of
        // it: the window's text wins.
        QVERIFY(list->selectMemo(second));
        QTest::keyClicks(list->editor(), "lost");
        memo::openMemo(*settings, second, second, 0);
        list->writeBack();
        QCOMPARE(body(second), kWindowsBody);
    }

    void thePictureShowsAboveTheTextAndTheMenuFollowsThePointer() {
        const std::string key = newMemo();
        const std::string plain = newMemo();
        fs::create_directories(folder());
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(QString::fromStdString((folder() / (key + ".BMP")).string()), "BMP"));
        // A path from Windows: the memo folder's file of that name is shown.
        settings->writeText(key, "BmpFile", "D:\\Hinagiku\\Memo\\" + key + ".BMP");
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        QVERIFY(list->pictureView()->isVisible());
        QCOMPARE(list->pictureView()->picture().size(), QSize(20, 10));
        QVERIFY(list->selectMemo(plain));
        QVERIFY(!list->pictureView()->isVisible());
        QCOMPARE(settings->readText(key, "BmpFile", ""), "D:\\Hinagiku\\Memo\\" + key + ".BMP");

        QMenu* menu = list->textMenu();
        const auto item = [menu](const QString& text) -> QAction* {
            for (QAction* action : menu->actions())
                if (action->text() == text)
                    return action;
            return nullptr;
        };
        QVERIFY(list->selectMemo(key));
        menu->setProperty("overPicture", true);
        emit menu->aboutToShow();
        QVERIFY(item(QStringLiteral("画像メモ"))->isVisible());
        QVERIFY(!item(QStringLiteral("テキスト"))->isVisible());
        QVERIFY(!item(QStringLiteral("切り抜き(&T)"))->isVisible());
        menu->setProperty("overPicture", false);
        emit menu->aboutToShow();
        QVERIFY(!item(QStringLiteral("画像メモ"))->isVisible());
        QVERIFY(item(QStringLiteral("テキスト"))->isVisible());
        QVERIFY(item(QStringLiteral("テキスト"))->isEnabled());
        QVERIFY(item(QStringLiteral("やり直し(&U)"))->isVisible());
        // A category: no cut, paste or undo, both submenus disabled.
        list->selectCategory(0);
        emit menu->aboutToShow();
        QVERIFY(!item(QStringLiteral("切り抜き(&T)"))->isVisible());
        QVERIFY(!item(QStringLiteral("貼り付け(&P)"))->isVisible());
        QVERIFY(!item(QStringLiteral("やり直し(&U)"))->isVisible());
        QVERIFY(item(QStringLiteral("コピー(&C)"))->isVisible());
        QVERIFY(!item(QStringLiteral("テキスト"))->isEnabled());
        QVERIFY(!item(QStringLiteral("画像メモ"))->isEnabled());
    }

    void coloursAndReadOnlyAreWrittenForAClosedMemo() {
        const std::string key = newMemo();
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        list->colorChooser = [](const QColor&) { return std::optional<QColor>(QColor(0, 0, 255)); };
        list->chooseColor(true);
        QCOMPARE(settings->readInt(key, "BackColor", 0), 0xFF0000);
        list->chooseColor(false);
        QCOMPARE(settings->readInt(key, "FontColor", 0), 0xFF0000);
        list->setReadOnlyChecked(true);
        QCOMPARE(settings->readInt(key, "ReadOnly", 0), 1);
        QCOMPARE(body(key), kWindowsBody);
    }

    void anEditIsKeptWhenTheProgramEnds() {
        const std::string key = newMemo();
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        list->editor()->moveCursor(QTextCursor::End);
        QTest::keyClicks(list->editor(), "xyz");
        core::SessionEnd::instance().end();
        QVERIFY(body(key).find("abcxyz") != std::string::npos);
    }

    void theTextIsSavedAsRichOrPlainAndLoadedFromAFile() {
        const std::string key = newMemo();
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        QString offered;
        QString answerPath;
        list->savePathChooser = [&](const QString& start, const QString&) {
            offered = start;
            return answerPath;
        };
        const struct {
            const char* name;
            bool rich;
        } cases[] = {{"out.RTF", true}, {"out.rtf", true}, {"out.txt", false}, {"out.TXT", false}};
        for (const auto& c : cases) {
            answerPath = QString::fromStdString((home->path() / c.name).string());
            list->saveTextAs();
            std::string bytes;
            QVERIFY(platform::readWholeFile(home->path() / c.name, bytes));
            QCOMPARE(bytes.rfind("{\\rtf", 0) == 0, c.rich);
            if (!c.rich)
                QCOMPARE(bytes, std::string("abc"));
            fs::remove(home->path() / c.name);
        }
        QCOMPARE(offered, QString::fromStdString((folder() / (key + ".RTF")).string()));
        // The memo itself is untouched by saving elsewhere.
        QCOMPARE(body(key), kWindowsBody);

        home->writeFile("in.txt", "loaded\r\ntext");
        list->openPathChooser = [&](const QString&, const QString&) {
            return QString::fromStdString((home->path() / "in.txt").string());
        };
        list->loadTextFile();
        QCOMPARE(list->editor()->toPlainText(), QStringLiteral("loaded\ntext"));
        QVERIFY(body(key).find("loaded") != std::string::npos);
    }

    void anUnreadableBodyIsNeverReplacedFromTheList() {
        const std::string key = newMemo();
        fs::remove(folder() / key);
        fs::create_directory(folder() / key);  // there, but not a file to read
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        QVERIFY(list->editor()->isReadOnly());
        QVERIFY(list->statusLine()->text().contains(QStringLiteral("を読みこめません。")));
        list->editor()->setPlainText(QStringLiteral("x"));
        list->editor()->document()->setModified(true);
        list->writeBack();
        QVERIFY(fs::is_directory(folder() / key));
    }

    void deletingFromTheListRemovesTheMemoAndWritesNothingOfIt() {
        const std::string a = newMemo();
        const std::string b = newMemo();
        const std::string c = newMemo();
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(b));
        QTest::keyClicks(list->editor(), "edited before deleting");
        answer = QMessageBox::No;
        list->deleteSelected();
        QCOMPARE(messages, QStringList{QStringLiteral("削除しますか？")});
        QCOMPARE(category(0), (Keys{a, b, c}));
        answer = QMessageBox::Yes;
        QVERIFY(list->selectMemo(b));
        QTest::keyClicks(list->editor(), "edited again");
        list->deleteSelected();
        QCOMPARE(category(0), (Keys{a, c}));
        QVERIFY(!bodyExists(b));
        QVERIFY(settings->listEntries(b).empty());
        list->writeBack();
        QVERIFY(!bodyExists(b));
        QCOMPARE(list->tree()->topLevelItem(0)->childCount(), 2);
        // With [Form] Delete set, no question.
        settings->writeInt("Form", "Delete", 1);
        messages.clear();
        QVERIFY(list->selectMemo(c));
        list->deleteSelected();
        QVERIFY(messages.isEmpty());
        QCOMPARE(category(0), (Keys{a}));
        // An open memo is not deleted from the list.
        memo::openMemo(*settings, a, a, 0);
        QVERIFY(list->selectMemo(a));
        QVERIFY(!list->deleteButton()->isEnabled());
        list->deleteSelected();
        QCOMPARE(category(0), (Keys{a}));
    }

    void openingFromTheListOpensOnceThroughTheRegistry() {
        const std::string key = newMemo();
        memo::MemoListWindow* list = openList();
        QVERIFY(list->selectMemo(key));
        list->openSelected();
        list->openSelected();
        QCOMPARE(memo::memoWindows().size(), std::size_t{1});
        QVERIFY(memo::findMemoWindow(key) != nullptr);
        QVERIFY(list->selectMemo(key));
        QVERIFY(list->editor()->isReadOnly());
        QVERIFY(!list->deleteButton()->isEnabled());
        // Closed again: editable again.
        QVERIFY(memo::findMemoWindow(key)->close());
        QVERIFY(list->selectMemo(key));
        QVERIFY(!list->editor()->isReadOnly());
        QCOMPARE(memo::openMemoList(*settings), list);
        // The keyboard: Enter opens, Delete deletes a closed memo.
        const std::string other = newMemo();
        list->refresh();
        QVERIFY(list->selectMemo(other));
        QTest::keyClick(list->tree(), Qt::Key_Return);
        QVERIFY(memo::findMemoWindow(other) != nullptr);
        QVERIFY(memo::findMemoWindow(other)->close());
        QVERIFY(list->selectMemo(other));
        QTest::keyClick(list->tree(), Qt::Key_Delete);
        QCOMPARE(category(0), (Keys{key}));
    }

    void theListKeepsItsPlacement() {
        settings->writeInt("Memo_Tree", "left", 30);
        settings->writeInt("Memo_Tree", "top", 40);
        settings->writeInt("Memo_Tree", "TreeWidth", 200);
        memo::MemoListWindow* list = openList();
        QCOMPARE(list->pos(), QPoint(30, 40));
        QCOMPARE(list->size(), QSize(536, 368));
        // A pane pushed to nothing takes half the room when let go.
        QSplitter* split = list->treeSplitter();
        split->setSizes({split->width(), 0});
        list->splitterReleased();
        QVERIFY(std::abs(split->sizes()[0] - split->sizes()[1]) <= split->handleWidth() + 1);
        QSplitter* preview = list->previewSplitter();
        preview->setSizes({preview->height(), 0});
        list->splitterReleased();
        QVERIFY(preview->sizes()[1] >= preview->height() / 2 - 1);
        split->setSizes({200, split->width() - 200});
        list->resize(600, 400);
        QVERIFY(list->close());
        QVERIFY(memo::memoList() == nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(settings->readInt("Memo_Tree", "left", 0), 30);
        QCOMPARE(settings->readInt("Memo_Tree", "top", 0), 40);
        QCOMPARE(settings->readInt("Memo_Tree", "Width", 0), 600);
        QCOMPARE(settings->readInt("Memo_Tree", "Height", 0), 400);
        QCOMPARE(settings->readInt("Memo_Tree", "TreeWidth", 0), 200);
        QVERIFY(settings->readInt("Memo_Tree", "RichHeight", 0) > 0);
    }

    void addingCreatesAMemoInTheSelectedCategory() {
        memo::MemoListWindow* list = openList();
        list->selectCategory(3);
        list->addMemo();
        QCOMPARE(category(3), (Keys{"Memo1"}));
        QVERIFY(memo::findMemoWindow("Memo1") != nullptr);
        QCOMPARE(list->selectedKey(), std::string("Memo1"));
    }

    void renamingCategoriesAndMemos() {
        const std::string key = newMemo(2);
        memo::MemoListWindow* list = openList();
        list->selectCategory(2);
        list->renameSelected(QString());
        QCoreApplication::processEvents();
        QCOMPARE(settings->readText("Memo_Bun", "2", "unset"), std::string("unset"));
        QCOMPARE(list->tree()->topLevelItem(2)->text(0), QStringLiteral("メモ3"));
        list->selectCategory(2);
        list->renameSelected(QStringLiteral("趣味"));
        QCoreApplication::processEvents();
        QCOMPARE(settings->readText("Memo_bun", "2", ""), std::string("趣味"));
        QCOMPARE(list->tree()->topLevelItem(2)->text(0), QStringLiteral("趣味"));
        QVERIFY(list->selectMemo(key));
        list->renameSelected(QStringLiteral("新しい題名"));
        QCoreApplication::processEvents();
        QCOMPARE(memo::listCategory(*settings, 2).front().title, std::string("新しい題名"));
        QCOMPARE(list->selectedKey(), key);
        // A character the settings file cannot hold: refused, nothing changes.
        list->renameSelected(QStringLiteral("絵文字 \U0001F600"));
        QCoreApplication::processEvents();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(memo::listCategory(*settings, 2).front().title, std::string("新しい題名"));
        QCOMPARE(list->tree()->currentItem()->text(0), QStringLiteral("新しい題名"));
    }

    void reorderingWithinACategory() {
        const Keys keys = {newMemo(), newMemo(), newMemo()};
        memo::MemoReorderWindow reorder(*settings, 0);
        QVERIFY(reorder.moveAllButton()->isEnabled());
        QVERIFY(!reorder.moveSelectedButton()->isEnabled());
        reorder.sourceList()->setCurrentRow(2);
        QVERIFY(reorder.moveSelectedButton()->isEnabled());
        reorder.moveSelected();
        QCOMPARE(reorder.targetList()->count(), 1);
        QCOMPARE(reorder.sourceList()->count(), 2);
        reorder.save();
        QCOMPARE(category(0), (Keys{keys[2], keys[0], keys[1]}));
        QVERIFY(!reorder.saveButton()->isEnabled());
        QVERIFY(messages.isEmpty());
        reorder.reject();
        QCOMPARE(settings->readInt("Memo_chg", "height", 0), reorder.height());
    }

    void movingAcrossCategoriesRefusesAnOpenMemo() {
        const std::string open = newMemo();
        const std::string closed = newMemo();
        const std::string there = newMemo(2);
        memo::openMemo(*settings, open, open, 0);
        memo::MemoReorderWindow reorder(*settings, 0);
        reorder.targetBox()->setCurrentIndex(2);
        QVERIFY(!reorder.moveAllButton()->isEnabled());
        QCOMPARE(reorder.targetList()->count(), 1);
        reorder.sourceList()->setCurrentRow(0);
        QVERIFY(!reorder.moveSelectedButton()->isEnabled());
        reorder.moveSelected();  // a double click
        QCOMPARE(messages, QStringList{kOpenWarning});
        QCOMPARE(reorder.sourceList()->count(), 2);
        reorder.sourceList()->setCurrentRow(1);
        QVERIFY(reorder.moveSelectedButton()->isEnabled());
        reorder.moveSelected();
        reorder.save();
        QCOMPARE(category(0), (Keys{open}));
        QCOMPARE(category(2), (Keys{there, closed}));
        QCOMPARE(body(closed), kWindowsBody);
        // Moved while closed, opened before the save: refused, nothing written.
        messages.clear();
        reorder.sourceBox()->setCurrentIndex(2);
        reorder.targetBox()->setCurrentIndex(0);
        reorder.sourceList()->setCurrentRow(1);
        reorder.moveSelected();
        memo::openMemo(*settings, closed, closed, 2);
        reorder.save();
        QCOMPARE(messages, QStringList{kOpenWarning});
        QCOMPARE(category(0), (Keys{open}));
        QCOMPARE(category(2), (Keys{there, closed}));
    }

    // The width is fixed: the left and right edges offer a move, not a resize.
    void edgesOfTheReorderWindowMoveIt() {
        memo::MemoReorderWindow reorder(*settings, 0);
        reorder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reorder));
        // In the bottom margin, where the window itself takes the mouse.
        const int bottom = reorder.height() - 4;
        const struct {
            int x;
            Qt::CursorShape shape;
        } cases[] = {{1, Qt::SizeAllCursor},
                     {reorder.width() - 2, Qt::SizeAllCursor},
                     {reorder.width() / 2, Qt::ArrowCursor},
                     {0, Qt::SizeAllCursor}};
        for (const auto& c : cases) {
            QTest::mouseMove(&reorder, QPoint(c.x, bottom));
            QTRY_COMPARE(reorder.cursor().shape(), c.shape);
        }
        reorder.reject();
    }
};

QTEST_MAIN(MemoListTest)
#include "test_memo_list.moc"
