// The schedule editor: the entry it names, save, delete, the discard
// warning, names in another case, entries that cannot be read or written.

#include <sys/resource.h>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTextEdit>

#include <csignal>
#include <filesystem>

#include "agenda_fixture.h"
#include "platform/file_search.h"
#include "schedule/agenda/ui/todo_editor.h"

using hinagiku::CivilDate;
using hinagiku::schedule::ToDoChoice;
using hinagiku::schedule::ToDoEditor;
using hinagiku::schedule::ToDoKind;
using hinagiku::testing::answerNextMessageBox;
using hinagiku::testing::child;
using hinagiku::testing::HostRecord;
using hinagiku::testing::PopupWorld;
using hinagiku::testing::readBytes;

namespace fs = std::filesystem;

namespace {

QPointer<ToDoEditor> open(PopupWorld& world, HostRecord& record, const CivilDate& date,
                          ToDoKind kind = ToDoKind::Dated) {
    ToDoChoice choice;
    choice.kind = kind;
    choice.date = date;
    QPointer<ToDoEditor> editor =
        hinagiku::schedule::openToDoEditorOn(world.settings, world.clock, record.host(), choice);
    if (editor && !QTest::qWaitForWindowExposed(editor))
        qWarning("editor not exposed");
    return editor;
}

void typeText(ToDoEditor* editor, const QString& text) {
    QTextEdit* edit = editor->textArea();
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit->setTextCursor(cursor);
    edit->insertPlainText(text);
}

std::string plainOf(const std::string& path) {
    const auto content = hinagiku::schedule::LoadEntry(path);
    return content ? content->plainText() : std::string("<none>");
}

}  // namespace

class TestToDoEditor : public QObject {
    Q_OBJECT
  private slots:
    void savesUnderTheBuiltName() {
        PopupWorld world;
        HostRecord record;
        auto editor = open(world, record, {2024, 3, 15});
        QCOMPARE(editor->windowTitle(), QStringLiteral("スケジュールの登録"));
        QVERIFY(!editor->saveEnabled());
        QVERIFY(!editor->deleteEnabled());
        QCOMPARE(editor->copyString(), QStringLiteral("【24年3月15日】"));
        QCOMPARE(editor->editorHint(), QStringLiteral("2024/3/15のｽｹｼﾞｭｰﾙ"));
        QCOMPARE(editor->offsetText(), QStringLiteral("0"));
        typeText(editor, QStringLiteral("歯医者"));
        QVERIFY(editor->saveEnabled());
        QCOMPARE(editor->editorHint(), QStringLiteral("Saveしないと有効になりません｡"));
        QVERIFY(editor->save());
        QCOMPARE(plainOf(world.pathOf("____0315.24")), std::string("歯医者"));
        QCOMPARE(readBytes(world.pathOf("____0315.24")).rfind("{\\rtf1", 0), 0u);
        QVERIFY(!editor->saveEnabled());
        QVERIFY(editor->deleteEnabled());
        QCOMPARE(record.dayViewRefreshes, 1);
        QCOMPARE(record.markRefreshes, 1);
        QCOMPARE(world.cueCount("sav"), 1);

        // Another kind for the same date is another entry.
        editor->tabs()->setCurrentIndex(1);
        QCOMPARE(editor->editorHint(), QStringLiteral("毎年3/15のｽｹｼﾞｭｰﾙ"));
        typeText(editor, QStringLiteral("毎年"));
        editor->saveAndClose();
        QTRY_VERIFY(editor.isNull());
        QCOMPARE(plainOf(world.pathOf("____0315.__")), std::string("毎年"));
        QCOMPARE(plainOf(world.pathOf("____0315.24")), std::string("歯医者"));
    }

    void loadsAnExistingEntryAndDeletesIt() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("______15.__", "月末");
        world.settings.writeInt("Form", "Delete", 1);
        auto editor = open(world, record, {2024, 3, 15}, ToDoKind::Monthly);
        QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("月末"));
        QVERIFY(editor->deleteEnabled());
        editor->deleteEntry();
        QTRY_VERIFY(editor.isNull());
        QVERIFY(!fs::exists(world.pathOf("______15.__")));
        QCOMPARE(world.cueCount("del"), 1);
        QCOMPARE(record.dayViewRefreshes, 1);
    }

    void deleteAsksFirst() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0315.24", "x");
        auto editor = open(world, record, {2024, 3, 15});
        QString question;
        answerNextMessageBox(QMessageBox::No, &question);
        editor->deleteEntry();
        QCOMPARE(question, QStringLiteral("削除しますか？"));
        QVERIFY(fs::exists(world.pathOf("____0315.24")));
        QVERIFY(!editor.isNull());
        answerNextMessageBox(QMessageBox::Yes);
        editor->deleteEntry();
        QTRY_VERIFY(editor.isNull());
        QVERIFY(!fs::exists(world.pathOf("____0315.24")));
    }

    void discardsOnlyWhenTheNameChanges() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("______15.__", "毎月の");
        auto editor = open(world, record, {2024, 3, 15}, ToDoKind::Monthly);
        typeText(editor, QStringLiteral("追加"));
        // Another month: the same monthly entry, the typing stays.
        editor->setDateFields(2024, 4, 15);
        QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("毎月の追加"));
        QVERIFY(editor->saveEnabled());
        // Another tab: another entry; the typing is discarded with a warning.
        QString warning;
        answerNextMessageBox(QMessageBox::Ok, &warning);
        editor->tabs()->setCurrentIndex(0);
        QCOMPARE(warning,
                 QStringLiteral("日付の設定が変更されたので\n編集中のものは破棄されました。"));
        QCOMPARE(editor->textArea()->toPlainText(), QString());
        QVERIFY(!editor->saveEnabled());
        QCOMPARE(editor->entryPath(), world.pathOf("____0415.24"));
        QCOMPARE(plainOf(world.pathOf("______15.__")), std::string("毎月の"));
        editor->close();
    }

    void correctsTheDate() {
        PopupWorld world;
        HostRecord record;
        auto editor = open(world, record, {2024, 3, 15});
        editor->setDateFields(2024, 2, 31);
        QCOMPARE(editor->choice().date, (CivilDate{2024, 2, 29}));
        editor->setDateFields(2023, 2, 31);
        QCOMPARE(editor->choice().date, (CivilDate{2023, 2, 28}));
        QCOMPARE(editor->offsetText(), QString::number(-381));
        QVERIFY(child<QPushButton>(editor, "today")->isEnabled());
        editor->backToToday();
        QCOMPARE(editor->choice().date, (CivilDate{2024, 3, 15}));
        QVERIFY(!child<QPushButton>(editor, "today")->isEnabled());
        QCOMPARE(editor->tabs()->tabText(3), QStringLiteral("金曜日"));
        editor->close();
    }

    void aNameInAnotherCaseIsThatFile() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("________.fri", "毎週");
        auto editor = open(world, record, {2024, 3, 15}, ToDoKind::Weekday);
        QCOMPARE(editor->textArea()->toPlainText(), QStringLiteral("毎週"));
        QCOMPARE(editor->entryPath(), world.pathOf("________.fri"));
        typeText(editor, QStringLiteral("金曜"));
        QVERIFY(editor->save());
        QCOMPARE(plainOf(world.pathOf("________.fri")), std::string("毎週金曜"));
        QVERIFY(!hinagiku::platform::fileExists(world.dataFolder, "________.FRI") ||
                hinagiku::platform::findFiles(world.dataFolder, "*").size() == 1);
        QCOMPARE(hinagiku::platform::findFiles(world.dataFolder, "*").size(), 1u);
        world.settings.writeInt("Form", "Delete", 1);
        editor->deleteEntry();
        QTRY_VERIFY(editor.isNull());
        QVERIFY(hinagiku::platform::findFiles(world.dataFolder, "*").empty());
    }

    void anEntryThatCannotBeReadIsNeverOverwritten() {
        PopupWorld world;
        HostRecord record;
        // A file that exists but whose reading fails, whoever runs the test.
        fs::create_symlink("/proc/self/mem", world.pathOf("____0315.24"));
        QString message;
        answerNextMessageBox(QMessageBox::Ok, &message);
        auto editor = open(world, record, {2024, 3, 15});
        QTRY_VERIFY(!message.isEmpty());
        QVERIFY(message.contains(QStringLiteral("____0315.24")));
        typeText(editor, QStringLiteral("上書き"));
        QVERIFY(!editor->saveEnabled());
        QVERIFY(!editor->save());
        QVERIFY(fs::is_symlink(world.pathOf("____0315.24")));
        editor->close();
    }

    void aFailedSaveKeepsTheTextAndTheWindow() {
        PopupWorld world;
        HostRecord record;
        auto editor = open(world, record, {2024, 3, 15});
        typeText(editor, QString(3000, QLatin1Char('a')));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &small);
        answerNextMessageBox(QMessageBox::Ok);
        const bool saved1 = editor->save();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!saved1);
        QVERIFY(!editor.isNull());
        QVERIFY(editor->saveEnabled());
        QCOMPARE(editor->textArea()->toPlainText().size(), 3000);
        QVERIFY(!fs::exists(world.pathOf("____0315.24")));
        QVERIFY(editor->save());
        editor->close();
    }

    void noDataFolderNamesNoFile() {
        PopupWorld world;
        HostRecord record;
        auto editor = open(world, record, {2024, 3, 15});
        world.settings.writeText("Calendar", "Directory", ".");
        editor->setDateFields(2024, 3, 16);
        QVERIFY(editor->entryPath().empty());
        typeText(editor, QStringLiteral("x"));
        QVERIFY(!editor->save());
        editor->close();
    }

    void closingPositionAndHandler() {
        PopupWorld world;
        HostRecord record;
        world.settings.writeInt("To_do", "left", -50);
        world.settings.writeInt("To_do", "top", 100000);
        std::vector<ToDoChoice> closed;
        auto host = record.host();
        host.editorClosed = [&](const ToDoChoice& c) { closed.push_back(c); };
        ToDoChoice choice;
        choice.date = {2024, 3, 15};
        QPointer<ToDoEditor> editor =
            hinagiku::schedule::openToDoEditorOn(world.settings, world.clock, host, choice);
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        QVERIFY(editor->pos().x() >= 0);
        editor->close();
        QCOMPARE(closed.size(), 1u);
        QVERIFY(world.settings.readInt("To_do", "top", -1) >= 0);
        QCOMPARE(world.cueCount("ope"), 1);
        QCOMPARE(world.cueCount("clo"), 1);
    }
};

QTEST_MAIN(TestToDoEditor)
#include "test_todo_editor.moc"
