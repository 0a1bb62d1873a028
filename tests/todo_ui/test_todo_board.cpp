// The ToDo board window, offscreen, with recorded sounds and messages.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <filesystem>
#include <string>

#include "core/sound_cues.h"
#include "core/ui/message_box.h"
#include "core/ui/session_end.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "platform/sound_recorder.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/format_bar.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"
#include "todo/ui/node_icons.h"
#include "todo/ui/outline_tree.h"
#include "todo/ui/todo_board.h"
#include "todo/ui/todo_tool.h"

using namespace hinagiku;
namespace fs = std::filesystem;

class TestTodoBoard : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::TempHome> home_;
    fs::path folder_;
    platform::MemorySettings settings_;
    testing::FakeClock clock_{45356.375};  // 2024-03-05 09:00
    platform::SoundRecorder sounds_;
    QStringList messages_;
    const std::function<Qt::DropAction(QDrag&)> realDragRunner_ =
        todo::ui::OutlineTree::dragRunner();

    void put(const std::string& name, const std::string& bytes) {
        platform::writeFileAtomically(folder_ / name, bytes);
    }
    std::string get(const std::string& name) {
        std::string bytes;
        platform::readWholeFile(folder_ / name, bytes);
        return bytes;
    }
    int cues(std::string_view name) const {
        int count = 0;
        for (const auto& call : sounds_.calls())
            count += call.kind == platform::SoundRecorder::Kind::Cue &&
                     call.wave == core::soundCueData(name);
        return count;
    }
    todo::ui::TodoBoard* open() {
        auto* board = todo::ui::TodoBoard::open(settings_, clock_, folder_);
        if (board)
            board->setAttribute(Qt::WA_DeleteOnClose, false);
        return board;
    }
    QTreeWidgetItem* row(todo::ui::TodoBoard& board, std::size_t pos) {
        const auto id = board.outline().at(pos).id;
        for (QTreeWidgetItemIterator it(board.tree()); *it; ++it)
            if (todo::ui::OutlineTree::nodeId(*it) == id)
                return *it;
        return nullptr;
    }
    // A synthetic drop; `tree` is the outline the drag started in.
    void drop(todo::ui::TodoBoard& board, const todo::ui::OutlineTree* tree, std::size_t from,
              QPoint point) {
        QMimeData mime;
        mime.setData("application/x-hinagiku-todo-node",
                     todo::ui::OutlineTree::dragData(tree, board.outline().at(from).id));
        QDragEnterEvent enter(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board.tree()->viewport(), &enter);
        QDropEvent event(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board.tree()->viewport(), &event);
    }

  private slots:
    void init() {
        home_ = std::make_unique<testing::TempHome>();
        folder_ = home_->path() / "data" / "Todo";
        fs::create_directories(folder_);
        settings_ = platform::MemorySettings();
        sounds_.clear();
        platform::setSoundOutput(&sounds_);
        messages_.clear();
        todo::ui::TodoBoard::messageSink() = [this](const QString& m) { messages_ << m; };
        todo::ui::TodoBoard::confirmDelete() = [](QWidget*) { return true; };
        // Errors that reach an action's guard are recorded, not shown.
        core::setMessageFunction([this](const core::MessageRequest& request) {
            messages_ << request.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup() {
        todo::ui::OutlineTree::dragRunner() = realDragRunner_;
        platform::setSoundOutput(nullptr);
        core::setMessageFunction({});
    }

    void firstStartAddsNoteZero() {
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        QVERIFY(board);
        QCOMPARE(board->tree()->topLevelItemCount(), 4);
        QCOMPARE(cues("ope"), 1);
        QVERIFY(!board->deleteButton()->isEnabled());
        board->addItem();
        QCOMPARE(board->outline().at(1).marker, std::string("0.z32"));
        QCOMPARE(QString::fromStdString(platform::fromCp932(board->outline().at(1).title)),
                 QStringLiteral("2024/03/05(火) 09:00:00登録"));
        QCOMPARE(board->selectedPosition().value_or(99), std::size_t{1});
        QVERIFY(get("TreeFile.z32").find("\t0.z32\r\n") != std::string::npos);
        QVERIFY(!fs::exists(folder_ / "0.z32"));  // written when the note is saved
        board->tree()->closePersistentEditor(board->tree()->currentItem());
        board->editor()->textCursor().insertText(QStringLiteral("note text"));  // as typed
        board->selectPosition(0);  // the selection moves: the note is saved
        QVERIFY(get("0.z32").rfind("{\\rtf1", 0) == 0);
        // A folder shows its children's titles, read-only.
        QVERIFY(board->editor()->isReadOnly());
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("2024/03/05(火) 09:00:00登録"));
        board->close();
        QCOMPARE(settings_.readText("TodoBoard", "Index", ""), std::string("0"));
        QCOMPARE(cues("clo"), 1);
    }

    void damagedPairOpensNothing() {
        put("TreeData.z32", "F\r\n\t\t\tx\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t\t\t1.z32\r\n");
        QVERIFY(!open());
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].contains(QStringLiteral("不正な階層に対する代入")));
        QVERIFY(messages_[0].contains(QStringLiteral("TreeData.z32")));
        QCOMPARE(get("TreeData.z32"), std::string("F\r\n\t\t\tx\r\n"));
        QCOMPARE(settings_.readText("Borad", "Count", "none"), std::string("none"));
    }

    void clickingThroughNotesWritesNothing() {
        const std::string titles = "F\r\n\t\x81\xE6 a\r\n\tb\r\n\x82\xB2\x82\xDD\x94\xA0\r\n";
        const std::string markers = "%$#Z32#$%\r\n\t0.z32\r\n\t1.Z32\r\n%$#G32#$%\r\n";
        put("TreeData.z32", titles);
        put("TreeFile.z32", markers);
        put("0.z32", "{\\rtf1\\ansi\\ansicpg932 windows \\'81\\'e6\\par}");
        put("1.Z32", "plain \x87\x9A");
        const auto before0 = fs::last_write_time(folder_ / "0.z32");
        const auto before1 = fs::last_write_time(folder_ / "1.Z32");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        QVERIFY(board);
        QVERIFY(board->editor()->toPlainText().contains(QStringLiteral("windows")));
        for (std::size_t pos : {2u, 1u, 0u, 3u, 2u})
            board->selectPosition(pos);
        board->close();
        QCOMPARE(get("0.z32"), std::string("{\\rtf1\\ansi\\ansicpg932 windows \\'81\\'e6\\par}"));
        QCOMPARE(get("1.Z32"), std::string("plain \x87\x9A"));
        QCOMPARE(fs::last_write_time(folder_ / "0.z32"), before0);
        QCOMPARE(fs::last_write_time(folder_ / "1.Z32"), before1);
        QCOMPARE(get("TreeData.z32"), titles);
        QCOMPARE(get("TreeFile.z32"), markers);
    }

    void indexPastTheEndSelectsTheFirst() {
        settings_.writeText("TodoBoard", "Index", "40");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        QCOMPARE(board->selectedPosition().value_or(99), std::size_t{0});
    }

    void emptyingTheTrash() {
        put("TreeData.z32", "F\r\n\tkeep\r\nT\r\n\ta\r\n\tb\r\n\tc\r\n");
        put("TreeFile.z32",
            "%$#Z32#$%\r\n\t9.z32\r\n%$#G32#$%\r\n\t1.z32\r\n\t2.z32\r\n\t3.z32\r\n");
        for (const char* name : {"1.z32", "2.z32", "3.z32"})
            put(name, "x");
        settings_.writeText("TodoBoard", "Index", "4");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->editor()->textCursor().insertText(QStringLiteral("typed into a trashed note"));
        QVERIFY(board->editor()->document()->isModified());
        QVERIFY(board->deleteButton()->isEnabled());
        board->emptyTrash();
        QCOMPARE(cues("del"), 3);
        QVERIFY(!board->deleteButton()->isEnabled());
        QCOMPARE(board->selectedPosition().value_or(99), std::size_t{2});
        board->close();
        // The trashed note was deleted, not written again.
        QVERIFY(!fs::exists(folder_ / "2.z32"));
        QCOMPARE(get("TreeFile.z32"), std::string("%$#Z32#$%\r\n\t9.z32\r\n%$#G32#$%\r\n"));
    }

    void dropsCountOnLabelsOnly() {
        put("TreeData.z32", "F\r\n\ta\r\n\tb\r\nG\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n\t2.z32\r\n%$#Z32#$%\r\n%$#G32#$%\r\n");
        put("2.z32", "second note");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->resize(652, 402);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        board->selectPosition(2);
        auto* tree = board->tree();
        const QRect onG = tree->visualItemRect(row(*board, 3));
        // Far right of the label: no move.
        drop(*board, tree, 2, QPoint(onG.right() - 2, onG.center().y()));
        QCOMPARE(board->outline().at(2).marker, std::string("2.z32"));
        // From another widget: no move.
        todo::ui::OutlineTree other;
        drop(*board, &other, 2, QPoint(onG.left() + 20, onG.center().y()));
        QCOMPARE(board->outline().at(2).marker, std::string("2.z32"));
        // On the folder's label: first child of G.
        drop(*board, tree, 2, QPoint(onG.left() + 20, onG.center().y()));
        QCOMPARE(board->outline().at(3).marker, std::string("2.z32"));
        QCOMPARE(board->outline().at(3).level, 1);
        // The selected note follows its item.
        QCOMPARE(board->selectedPosition().value_or(99), std::size_t{3});
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("second note"));
        QVERIFY(cues("c1") >= 2);
    }

    void hints() {
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        struct Case {
            QWidget* widget;
            QString text;
        };
        for (const Case& c :
             {Case{board->formatBar(), QStringLiteral("文字を修飾します。")},
              Case{board->editor()->viewport(), QStringLiteral("ToDoの内容を記述します。")},
              Case{board->tree()->viewport(),
                   QStringLiteral("ドラッグ & ドロップで項目を移動できます。")},
              Case{board->addButton(), QStringLiteral("新しいToDo項目を追加します。")},
              Case{board->deleteButton(), QStringLiteral("ごみ箱のToDo項目を全て削除します。")},
              Case{board->statusLine(), QStringLiteral("やるべき事、やった事を管理できます。")}}) {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(c.widget, &enter);
            QCOMPARE(board->statusLine()->text(), c.text);
        }
        QCOMPARE(board->addButton()->toolTip(), QStringLiteral("新規登録"));
        QCOMPARE(board->deleteButton()->toolTip(), QStringLiteral("ごみ箱を全て空にします。"));
    }

    void replaceAllAndPrintLeaveTheNote() {
        put("TreeData.z32", "F\r\n\titem\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n%$#G32#$%\r\n");
        put("1.z32", "cat and cat and cat");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        // Through the read-only folder and back: the note has its undo again.
        board->selectPosition(0);
        board->selectPosition(1);
        QCOMPARE(board->replaceAll(QStringLiteral("cat"), QStringLiteral("dog")), 3);
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("dog and dog and dog"));
        board->editor()->undo();
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("cat and cat and cat"));
        board->editor()->redo();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("out.pdf");
        {
            QPdfWriter writer(pdf);
            board->printTo(writer);
        }
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("dog and dog and dog"));
        board->editor()->undo();
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("cat and cat and cat"));
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        QVERIFY(text.waitForFinished());
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("【F】")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("【タイトル：item】")));
        QVERIFY(out.contains(QStringLiteral("dog and dog")));
    }

    void failedWriteKeepsWindowAndText() {
        put("TreeData.z32", "F\r\n\titem\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n%$#G32#$%\r\n");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->show();
        board->editor()->textCursor().insertText(QStringLiteral("typed"));
        // A folder where the note goes: the write fails even for root.
        fs::create_directory(folder_ / "1.z32");
        QVERIFY(!board->close());
        QVERIFY(board->isVisible());
        QVERIFY(board->editor()->toPlainText().contains(QStringLiteral("typed")));
        QVERIFY(!messages_.isEmpty());
        QVERIFY(messages_.last().contains(QStringLiteral("1.z32")));
        fs::remove(folder_ / "1.z32");
        QVERIFY(board->close());
        QVERIFY(get("1.z32").find("typed") != std::string::npos);
    }

    void findSearchesFromTheStartAndCloses() {
        put("TreeData.z32", "F\r\n\titem\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n%$#G32#$%\r\n");
        put("1.z32", "one cat\ntwo cat\nthree");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        // "ツール" > "検索" of the text menu opens the shared find dialog.
        auto menu = board->textMenu();
        QMenu* tools = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("ツール"))
                tools = action->menu();
        QVERIFY(tools);
        QCOMPARE(tools->actions().value(0)->text(), QStringLiteral("検索"));
        tools->actions().value(0)->trigger();
        auto* dialog = board->findDialog();
        QVERIFY(dialog && dialog->isVisible());
        // No case, word or direction choices.
        QVERIFY(dialog->findChildren<QCheckBox*>().isEmpty());
        QVERIFY(dialog->findChildren<QRadioButton*>().isEmpty());
        struct Case {
            QString text;
            int start;  // -1: none, nothing selected
        };
        // Each search starts at the beginning again, wherever the cursor is.
        for (const Case& c : {Case{QStringLiteral("cat"), 4}, Case{QStringLiteral("cat"), 4},
                              Case{QStringLiteral("three"), 16}, Case{QStringLiteral("dog"), -1}}) {
            QTextCursor end(board->editor()->document());
            end.movePosition(QTextCursor::End);
            board->editor()->setTextCursor(end);
            board->findText();
            QVERIFY(dialog->isVisible());
            dialog->textField()->setText(c.text);
            QTest::mouseClick(dialog->findButton(), Qt::LeftButton);
            QVERIFY(!dialog->isVisible());  // closes after every search
            const QTextCursor cursor = board->editor()->textCursor();
            if (c.start < 0) {
                QVERIFY(!cursor.hasSelection());
            } else {
                QCOMPARE(cursor.selectionStart(), c.start);
                QCOMPARE(cursor.selectedText(), c.text);
            }
        }
        QVERIFY(!board->editor()->document()->isModified());
    }

    void printDialogPrintsACopy() {
        put("TreeData.z32", "F\r\n\titem\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n%$#G32#$%\r\n");
        put("1.z32", "printed note");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->editor()->textCursor().insertText(QStringLiteral("typed "));
        QVERIFY(board->editor()->document()->isUndoAvailable());
        const QString before = board->editor()->toHtml();
        QTemporaryDir dir;
        for (const bool accept : {false, true}) {
            const QString pdf = dir.filePath(accept ? "accepted.pdf" : "cancelled.pdf");
            bool seen = false;
            QTimer::singleShot(0, board.get(), [&] {
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                seen = true;
                // Qt's own print dialog: the last printer entry prints to a file.
                auto* printers = dialog->findChild<QComboBox*>("printers");
                auto* file = dialog->findChild<QLineEdit*>("filename");
                if (printers && file) {
                    printers->setCurrentIndex(printers->count() - 1);
                    file->setText(pdf);
                }
                if (accept)
                    dialog->accept();
                else
                    dialog->reject();
            });
            board->print();
            QVERIFY(seen);
            QCOMPARE(QFileInfo::exists(pdf), accept);
            if (!accept)
                continue;
            QProcess text;
            text.start("pdftotext", {pdf, "-"});
            QVERIFY(text.waitForFinished());
            const QString out = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY2(out.contains(QStringLiteral("【F】")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("【タイトル：item】")));
            QVERIFY(out.contains(QStringLiteral("typed printed note")));
            QProcess info;
            info.start("pdfinfo", {pdf});
            QVERIFY(info.waitForFinished());
            QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                        .contains(QRegularExpression("Title: +Todo Board")));
        }
        // The note and its undo are as they were.
        QCOMPARE(board->editor()->toHtml(), before);
        board->editor()->undo();
        QCOMPARE(board->editor()->toPlainText(), QStringLiteral("printed note"));
        QVERIFY(!board->editor()->document()->isUndoAvailable());
    }

    void addedTitlesAreEditedInPlace() {
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        board->addItem();
        auto* tree = board->tree();
        struct Case {
            QString typed;
            std::string stored;  // CP932; empty: refused, the title stays
        };
        const std::string added = "2024/03/05(\x89\xCE) 09:00:00\x93\x6F\x98\x5E";
        for (const Case& c : {Case{QStringLiteral("a\tb\rc\nd"), "a b c d"},
                              Case{QStringLiteral("  lead \u2235"), "  lead \x81\xE6"},
                              Case{QStringLiteral("snow \u2603"), ""}}) {
            messages_.clear();
            const std::string old = board->outline().at(1).title;
            if (tree->viewport()->findChildren<QLineEdit*>().isEmpty())
                tree->editItem(tree->currentItem());
            auto* field = tree->viewport()->findChild<QLineEdit*>();
            QVERIFY(field);
            field->setText(c.typed);
            QTest::keyClick(field, Qt::Key_Return);
            QCoreApplication::processEvents();  // the delegate commits queued
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const std::string expected = c.stored.empty() ? old : c.stored;
            QCOMPARE(board->outline().at(1).title, expected);
            QVERIFY(get("TreeData.z32").find("\t" + expected + "\r\n") != std::string::npos);
            QCOMPARE(messages_.size(), c.stored.empty() ? 1 : 0);
            QCOMPARE(platform::toCp932(tree->currentItem()->text(0).toStdString()), expected);
        }
        QCOMPARE(board->outline().at(1).title.find(added), std::string::npos);
        // The trash's title cannot be edited.
        QVERIFY(!(row(*board, 4)->flags() & Qt::ItemIsEditable));
        // Closing while a title is typed keeps it.
        tree->editItem(tree->currentItem());
        tree->viewport()->findChild<QLineEdit*>()->setText(QStringLiteral("typed at close"));
        QVERIFY(board->close());
        QVERIFY(get("TreeData.z32").find("\ttyped at close\r\n") != std::string::npos);
    }

    void showAtStartToggle() {
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        for (const bool expected : {true, false, true}) {
            auto menu = board->outlineMenu();
            QAction* toggle = nullptr;
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("起動時に表示"))
                    toggle = action;
            QVERIFY(toggle && toggle->isCheckable());
            QCOMPARE(toggle->isChecked(), !expected);
            toggle->trigger();
            QCOMPARE(settings_.readBool("Form", "Todo_pop", !expected), expected);
        }
        // "ごみ箱を空に" follows "削除".
        auto menu = board->outlineMenu();
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
            if (action->text() == QStringLiteral("ごみ箱を空に"))
                QCOMPARE(action->isEnabled(), board->deleteButton()->isEnabled());
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("新規登録"), QStringLiteral("ごみ箱を空に"),
                                     QStringLiteral("起動時に表示"), QStringLiteral("閉じる")}));
    }

    void sessionEndRunsTheClosePath() {
        put("TreeData.z32", "F\r\n\titem\r\nT\r\n");
        put("TreeFile.z32", "%$#Z32#$%\r\n\t1.z32\r\n%$#G32#$%\r\n");
        settings_.writeText("TodoBoard", "Index", "1");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->show();
        board->editor()->textCursor().insertText(QStringLiteral("unsaved at logout"));
        fs::remove(folder_ / "TreeData.z32");
        core::SessionEnd::instance().end();
        QVERIFY(get("1.z32").find("unsaved at logout") != std::string::npos);
        QCOMPARE(get("TreeData.z32"), std::string("F\r\n\titem\r\nT\r\n"));
        QCOMPARE(settings_.readText("TodoBoard", "Index", ""), std::string("1"));
        QCOMPARE(cues("clo"), 1);
        QVERIFY(!board->isVisible());
        board->close();  // the close path ran once
        QCOMPARE(cues("clo"), 1);
    }

    void mouseDragMovesTheSubtree() {
        put("TreeData.z32", "F\r\n\ta\r\n\t\ta1\r\n\tb\r\nG\r\nT\r\n");
        put("TreeFile.z32",
            "%$#Z32#$%\r\n\t1.z32\r\n\t\t2.z32\r\n\t3.z32\r\n%$#Z32#$%\r\n%$#G32#$%\r\n");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        board->resize(652, 402);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board.get()));
        auto* tree = board->tree();
        QWidget* viewport = tree->viewport();
        const QRect a = tree->visualItemRect(row(*board, 1));
        const QRect g = tree->visualItemRect(row(*board, 4));
        const QPoint from(a.left() + 20, a.center().y());
        const QPoint to(g.left() + 20, g.center().y());
        const int cuesBefore = cues("c1");
        // The drag the mouse starts, carried to the target as the window
        // system would: the offscreen platform ends real drags at once.
        int drags = 0;
        todo::ui::OutlineTree::dragRunner() = [&](QDrag& drag) {
            ++drags;
            QDragEnterEvent enter(to, Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &enter);
            QDragMoveEvent move(to, Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &move);
            if (!move.isAccepted())
                return Qt::IgnoreAction;
            QDropEvent dropped(to, Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &dropped);
            return dropped.dropAction();
        };
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, QApplication::startDragDistance() + 4));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(drags, 1);
        QCOMPARE(get("TreeFile.z32"), std::string("%$#Z32#$%\r\n\t3.z32\r\n%$#Z32#$%\r\n"
                                                  "\t1.z32\r\n\t\t2.z32\r\n%$#G32#$%\r\n"));
        QCOMPARE(get("TreeData.z32"), std::string("F\r\n\tb\r\nG\r\n\ta\r\n\t\ta1\r\nT\r\n"));
        QCOMPARE(cues("c1"), cuesBefore + 1);
        // Folders never drag.
        const QRect f = tree->visualItemRect(row(*board, 0));
        const QPoint fromFolder(f.left() + 20, f.center().y());
        QTest::mousePress(viewport, Qt::LeftButton, {}, fromFolder);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(drags, 1);
        QCOMPARE(get("TreeData.z32"), std::string("F\r\n\tb\r\nG\r\n\ta\r\n\t\ta1\r\nT\r\n"));
    }

    void nodeIconsFollowState() {
        using todo::ui::NodeIcon;
        put("TreeData.z32", "F\r\n\ta\r\nE\r\nG\r\n\tb\r\nT\r\n\tc\r\n");
        put("TreeFile.z32",
            "%$#Z32#$%\r\n\t1.z32\r\n%$#Z32#$%\r\n%$#Z32#$%\r\n\t2.z32\r\n%$#G32#$%\r\n\t3."
            "z32\r\n");
        std::unique_ptr<todo::ui::TodoBoard> board(open());
        const auto is = [&](std::size_t pos, NodeIcon icon) {
            return row(*board, pos)->icon(0).cacheKey() == todo::ui::nodeIcon(icon).cacheKey();
        };
        row(*board, 3)->setExpanded(false);  // G collapsed by the user
        struct Case {
            std::size_t pos;
            NodeIcon icon;
        };
        for (const Case& c : {Case{0, NodeIcon::FolderOpen}, Case{1, NodeIcon::Item},
                              Case{2, NodeIcon::FolderClosed}, Case{3, NodeIcon::FolderClosed},
                              Case{5, NodeIcon::TrashFull}})
            QVERIFY2(is(c.pos, c.icon), qPrintable(QString::number(c.pos)));
        row(*board, 3)->setExpanded(true);
        QVERIFY(is(3, NodeIcon::FolderOpen));
        row(*board, 3)->setExpanded(false);
        // A change of the outline keeps what the user collapsed.
        board->addItem();
        QVERIFY(!row(*board, 4)->isExpanded());
        QVERIFY(is(4, NodeIcon::FolderClosed));
        board->emptyTrash();
        QVERIFY(is(6, NodeIcon::TrashEmpty));
        // The item icon has its own look on the selected row.
        const QIcon& item = todo::ui::nodeIcon(NodeIcon::Item);
        QVERIFY(item.pixmap(16, QIcon::Selected).toImage() !=
                item.pixmap(16, QIcon::Normal).toImage());
        // All five states look different.
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j)
                QVERIFY(todo::ui::nodeIcon(NodeIcon(i)).pixmap(16).toImage() !=
                        todo::ui::nodeIcon(NodeIcon(j)).pixmap(16).toImage());
    }

    // A settings file written by hand names the data folder; the Todo folder
    // already holds a pair. The board opens on it and leaves it in place.
    void handWrittenSettingsKeepThePair() {
        struct Case {
            std::string directorySuffix;
            std::string folder, data, file;
        };
        const std::string titles = "F\r\n\titem one\r\n\x82\xB2\x82\xDD\x94\xA0\r\n";
        const std::string markers = "%$#Z32#$%\r\n\t0.z32\r\n%$#G32#$%\r\n";
        for (const Case& c : {Case{"", "Todo", "TreeData.z32", "TreeFile.z32"},
                              Case{"/", "Todo", "TreeData.z32", "TreeFile.z32"},
                              Case{"", "TODO", "TREEDATA.Z32", "TREEFILE.Z32"}}) {
            testing::TempHome home;
            const fs::path data = home.path() / "my data";
            home.writeFile("my data/" + c.folder + "/" + c.data, titles);
            home.writeFile("my data/" + c.folder + "/" + c.file, markers);
            home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data.string() +
                                               c.directorySuffix + "\r\n[Form]\r\nTodo_pop=1\r\n");
            platform::ProfileFile settings(home.iniPath());
            todo::ui::TodoTool tool(settings, clock_);
            tool.open();
            QVERIFY(tool.isOpen());
            QCOMPARE(tool.board()->outline().size(), std::size_t{3});
            core::SessionEnd::instance().end();
            QCOMPARE(home.readFile("my data/" + c.folder + "/" + c.data), titles);
            QCOMPARE(home.readFile("my data/" + c.folder + "/" + c.file), markers);
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(data))
                names.push_back(entry.path().filename().string());
            QCOMPARE(names, std::vector<std::string>{c.folder});  // no twin folder
            delete tool.board();
        }
        QVERIFY(messages_.isEmpty());
    }
};

QTEST_MAIN(TestTodoBoard)
#include "test_todo_board.moc"
