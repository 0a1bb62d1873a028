// The schedule management window: its three listings and headings, delete
// with the entry options section, and "修正" opening the editor of the
// item's own file for each family.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

#include <filesystem>

#include "agenda_fixture.h"
#include "platform/file_search.h"
#include "schedule/agenda/ui/agenda_tools.h"
#include "schedule/agenda/ui/schedule_management_window.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/ui/popup_editor.h"

using hinagiku::schedule::AgendaTools;
using hinagiku::schedule::ListingMode;
using hinagiku::schedule::PopupEditor;
using hinagiku::schedule::ScheduleManagementWindow;
using hinagiku::schedule::ToDoEditor;
using hinagiku::testing::HostRecord;
using hinagiku::testing::PopupWorld;

namespace fs = std::filesystem;

namespace {

ScheduleManagementWindow* openManagement(AgendaTools& tools) {
    tools.showManagement();
    ScheduleManagementWindow* window = tools.management();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("not exposed");
    return window;
}

QStringList items(const ScheduleManagementWindow* window) {
    QStringList out;
    for (int i = 0; i < window->list()->count(); ++i)
        out << window->list()->item(i)->text();
    return out;
}

template <typename T>
T* newest() {
    T* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t != nullptr && t->isVisible())
            found = t;
    }
    return found;
}

void closeAll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<ToDoEditor*>(w) || qobject_cast<PopupEditor*>(w))
            w->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestScheduleManagement : public QObject {
    Q_OBJECT
  private slots:
    void emptyFolder() {
        PopupWorld world;
        HostRecord record;
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        QCOMPARE(window->windowTitle(), QStringLiteral("スケジュール管理"));
        QCOMPARE(window->mode(), ListingMode::Day);
        QCOMPARE(window->dayButtonText(), QStringLiteral("2024/03/15(金)"));
        QCOMPARE(window->headingText(), QStringLiteral("この日のｽｹｼﾞｭｰﾙはありません｡"));
        window->listAll();
        QCOMPARE(window->headingText(), QStringLiteral("ｽｹｼﾞｭｰﾙはありません｡"));
        QVERIFY(!window->deleteEnabled());
        window->listPast();
        QCOMPARE(window->headingText(), QStringLiteral("過去のｽｹｼﾞｭｰﾙはありません｡"));
        QCOMPARE(world.cueCount("c1"), 3);
        window->close();
    }

    void modesAndSelection() {
        PopupWorld world;
        HostRecord record;
        world.setTime(12, 0, 0);
        for (const char* name : {"____0315.24", "____0314.24", "09000315.24", "______15.__",
                                 "________.FRI", "BORN0315.1970", "W0003600.__"}) {
            world.saveEntry(name, std::string("text of ") + name);
        }
        fs::create_directories(world.pathOf("Memo"));
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        QCOMPARE(items(window), (QStringList{QStringLiteral("Popup : 24年03月15日 09時00分"),
                                             QStringLiteral("To_do : 24年03月15日 ")}));
        // The first item is selected and shown.
        QCOMPARE(window->selectedFileName(), QStringLiteral("09000315.24"));
        auto* past = hinagiku::testing::child<QPushButton>(window, "past");
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(past, &enter);
        QCOMPARE(window->statusText(), QStringLiteral("過去のデータを一覧表示"));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(past, &leave);
        QCOMPARE(window->statusText(), QStringLiteral("09000315.24"));
        QCOMPARE(window->headingText(), QStringLiteral("24年3月15日(金) 9時0分"));
        QCOMPARE(window->previewText(), QStringLiteral("text of 09000315.24"));
        QVERIFY(window->deleteEnabled());
        window->listPast();
        QCOMPARE(items(window), (QStringList{QStringLiteral("Popup : 24年03月15日 09時00分"),
                                             QStringLiteral("To_do : 24年03月14日 ")}));
        window->listAll();
        QCOMPARE(items(window).size(), 6);
        QVERIFY(!items(window).join('|').contains(QStringLiteral("Birth")));
        window->selectRow(items(window).indexOf(QStringLiteral("Week6 : 金曜日")));
        QCOMPARE(window->headingText(), QStringLiteral("金曜日"));
        window->previousDay();
        QCOMPARE(window->mode(), ListingMode::Day);
        QCOMPARE(items(window), QStringList{QStringLiteral("To_do : 24年03月14日 ")});
        window->backToToday();
        QCOMPARE(window->chosenDate(), (hinagiku::CivilDate{2024, 3, 15}));
        window->nextDay();
        QVERIFY(items(window).isEmpty());
        window->close();
    }

    void deleteRemovesFileAndSection() {
        PopupWorld world;
        HostRecord record;
        hinagiku::schedule::EntryOptions options;
        options.execute = "prog";
        const std::string popup = world.saveEntry("09000315.24", "p", options);
        const std::string todo = world.saveEntry("____0315.24", "t");
        world.settings.writeText(todo, "stale", "1");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        QVERIFY(!world.settings.listKeys(popup).empty());
        QString question;
        hinagiku::testing::answerNextMessageBox(QMessageBox::Yes, &question);
        window->deleteSelected();
        QCOMPARE(question, QStringLiteral("削除しますか？"));
        QVERIFY(!fs::exists(popup));
        QVERIFY(world.settings.listKeys(popup).empty());
        QCOMPARE(items(window), QStringList{QStringLiteral("To_do : 24年03月15日 ")});
        QCOMPARE(window->headingText(), QStringLiteral("ｽｹｼﾞｭｰﾙを削除しました｡"));
        QVERIFY(!window->deleteEnabled());
        QCOMPARE(world.cueCount("del"), 1);
        QCOMPARE(record.dayViewRefreshes, 1);
        QCOMPARE(record.markRefreshes, 1);
        QVERIFY(window->changedSomething());

        // A file already gone: its item goes quietly; the section too.
        window->selectRow(0);
        fs::remove(todo);
        hinagiku::testing::child<QCheckBox>(window, "noConfirm")->setChecked(true);
        window->deleteSelected();
        QVERIFY(items(window).isEmpty());
        QVERIFY(world.settings.listKeys(todo).empty());
        window->close();
    }

    void deleteSeveralAndRefusals() {
        PopupWorld world;
        HostRecord record;
        world.settings.writeInt("Form", "Delete", 1);
        world.saveEntry("____0315.24", "a");
        world.saveEntry("07000315.24", "b");
        world.saveEntry("08000315.24", "c");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        auto* box = hinagiku::testing::child<QCheckBox>(window, "noConfirm");
        QVERIFY(box->isChecked());
        QVERIFY(!box->isEnabled());
        window->list()->item(0)->setSelected(true);
        window->list()->item(2)->setSelected(true);
        window->deleteSelected();
        QCOMPARE(items(window), QStringList{QStringLiteral("Popup : 24年03月15日 08時00分")});
        QVERIFY(!fs::exists(world.pathOf("____0315.24")));
        QVERIFY(!fs::exists(world.pathOf("07000315.24")));
        window->close();
    }

    void editOpensTheEditorOfTheItemsOwnFile() {
        PopupWorld world;
        HostRecord record;
        const char* todos[] = {"____0315.24", "_~~~0229.__", "~_____31.__", "_~_~~___.fri"};
        const char* popups[] = {"07300315.24", "07300316.~_",  "0730__15.-~",
                                "0730____.__", "0730__05.FRI", "W0003600.__"};
        for (const char* n : todos)
            world.saveEntry(n, n);
        for (const char* n : popups)
            world.saveEntry(n, n);
        world.saveEntry("0730__31.MON", "odd");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        window->listAll();
        auto rowOf = [&](const char* name) {
            for (std::size_t i = 0; i < window->entries().size(); ++i) {
                if (window->entries()[i].name == name)
                    return static_cast<int>(i);
            }
            return -1;
        };
        for (const char* name : todos) {
            window->selectRow(rowOf(name));
            window->editSelected();
            ToDoEditor* editor = newest<ToDoEditor>();
            QVERIFY2(editor != nullptr, name);
            QCOMPARE(editor->entryPath(), world.pathOf(name));
            QCOMPARE(editor->textArea()->toPlainText(), QString::fromLatin1(name));
            closeAll();
        }
        for (const char* name : popups) {
            window->selectRow(rowOf(name));
            window->editSelected();
            PopupEditor* editor = newest<PopupEditor>();
            QVERIFY2(editor != nullptr, name);
            QCOMPARE(QString::fromStdString(editor->entryPath()).toLower(),
                     QString::fromStdString(world.pathOf(name)).toLower());
            closeAll();
        }
        QVERIFY(window->changedSomething());
        // A name no editor builds: a message, no editor.
        window->selectRow(rowOf("0730__31.MON"));
        QString message;
        hinagiku::testing::answerNextMessageBox(QMessageBox::Ok, &message);
        window->editSelected();
        QVERIFY(message.contains(QStringLiteral("0730__31.MON")));
        QVERIFY(newest<PopupEditor>() == nullptr);
        window->close();
    }

    // A popup whose name is on disk in another case: the popup editor the
    // item opens loads that very file and saves into it.
    void popupEditorOnANameInAnotherCase() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("0730____.fri", "小文字");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        window->listAll();
        window->selectRow(0);
        window->editSelected();
        PopupEditor* editor = newest<PopupEditor>();
        QVERIFY(editor != nullptr);
        auto* text = editor->findChild<QTextEdit*>(QStringLiteral("text"));
        QCOMPARE(text->toPlainText(), QStringLiteral("小文字"));
        text->moveCursor(QTextCursor::End);
        text->insertPlainText(QStringLiteral("追加"));
        QVERIFY(editor->save());
        QCOMPARE(hinagiku::platform::findFiles(world.dataFolder, "*"),
                 std::vector<std::string>{"0730____.fri"});
        closeAll();
        window->close();
    }

    void folderGoneBetweenListings() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0315.24", "x");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleManagementWindow* window = openManagement(tools);
        QCOMPARE(items(window).size(), 1);
        fs::remove_all(world.dataFolder);
        window->relist();
        QVERIFY(items(window).isEmpty());
        QCOMPARE(window->headingText(), QStringLiteral("この日のｽｹｼﾞｭｰﾙはありません｡"));
        window->close();
    }
};

QTEST_MAIN(TestScheduleManagement)
#include "test_schedule_management.moc"
