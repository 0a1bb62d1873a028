#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

#include "calendar/date_time.h"
#include "core/data_folders.h"
#include "core/ui/privacy_gate.h"
#include "core/ui/session_end.h"
#include "core/ui/settings_dialog_hook.h"
#include "diary/ui/diary_list_window.h"
#include "diary/ui/diary_search_window.h"
#include "diary/ui/diary_tool.h"
#include "diary/ui/diary_window.h"
#include "diary_fixture.h"
#include "mainwindow/ui/main_window.h"
#include "support/fake_clock.h"

using namespace hinagiku;
using diary::ui::DiaryTool;
using diary::ui::DiaryWindow;
using testing::dayOf;

class DiaryListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::DiaryFixture> fx_;
    std::unique_ptr<testing::FakeClock> clock_;
    std::unique_ptr<DiaryTool> tool_;
    std::vector<std::string> folderErrors_;
    int settingsDialogs_ = 0;

    DiaryTool& tool() {
        tool_ = std::make_unique<DiaryTool>(fx_->settings, *clock_);
        tool_->pageCreated = [this](DiaryWindow* window) { window->dialogs() = fx_->dialogs(); };
        tool_->warn = [this](const QString& text) { fx_->warnings << text; };
        return *tool_;
    }

  private slots:
    void init() {
        fx_ = std::make_unique<testing::DiaryFixture>();
        clock_ = std::make_unique<testing::FakeClock>(dayOf(2024, 3, 12) + 0.5);
        folderErrors_.clear();
        settingsDialogs_ = 0;
        core::setSettingsDialogOpener([this] { ++settingsDialogs_; });
        core::setFolderHooks({[this] { ++settingsDialogs_; },
                              [this](std::string_view text) { folderErrors_.emplace_back(text); }});
    }
    void cleanup() {
        tool_.reset();
        QList<QPointer<QWidget>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            windows << widget;
        for (const QPointer<QWidget>& window : windows) {
            if (qobject_cast<DiaryWindow*>(window.data()))
                delete window.data();
        }
        core::setFolderHooks({});
        core::setSettingsDialogOpener({});
        core::setPrivacyGate({});
        fx_.reset();
    }

    void listShowsTheMonthAndSelectsToday() {
        fx_->write("20240301.JNL", platform::toCp932("TITLE:一日\r\n:END\r\n"));
        fx_->write("ni240302.day", platform::toCp932("昔\r\n"));
        DiaryTool& t = tool();
        t.open();
        QVERIFY(t.isOpen());
        auto* list = t.list();
        QCOMPARE(list->windowTitle(), QStringLiteral("日記リスト"));
        QCOMPARE(list->listView()->count(), 31);
        QCOMPARE(list->listView()->item(0)->text(), QStringLiteral("2024/03/01 (金) : 一日"));
        QCOMPARE(list->listView()->item(1)->text(), QStringLiteral("2024/03/02 (土) : 【昔】"));
        QCOMPARE(list->listView()->currentRow(), 11);
        QCOMPARE(list->progressBar()->value(), 2);
        QCOMPARE(list->progressBar()->toolTip(),
                 QStringLiteral("月あたり\n日記の記入状況 2件(6%)"));
        emit list->contextMenu()->aboutToShow();
        QCOMPARE(list->contextMenu()->actions().front()->text(),
                 QStringLiteral("2024年03月12日を綴る"));
        list->monthBox()->setValue(2);
        QCOMPARE(list->listView()->count(), 29);
        QCOMPARE(list->listView()->currentRow(), 11);  // the remembered index
        list->backToToday();
        QCOMPARE(list->month(), 3);
        // A second request raises the same list.
        t.open();
        QCOMPARE(t.list(), list);
    }

    // The jump window's "日記を綴る" opens the day's page behind the same gate.
    void dayPageOpensBehindTheGate() {
        DiaryTool& t = tool();
        const int day = *encodeDate(2024, 3, 15);
        core::setPrivacyGate([](core::GuardedFeature) { return false; });
        QVERIFY(t.openDay(day) == nullptr);
        QVERIFY(!t.page(day));
        core::setPrivacyGate({});
        DiaryWindow* page = t.openDay(day);
        QVERIFY(page != nullptr);
        QCOMPARE(t.page(day), page);
        QCOMPARE(t.openDay(day), page);  // raised, not a second window
    }

    void hookRunsGateThenDataFolderThenDiaryFolder() {
        DiaryTool& t = tool();
        std::vector<core::GuardedFeature> asked;
        core::setPrivacyGate([&](core::GuardedFeature feature) {
            asked.push_back(feature);
            return false;
        });
        std::filesystem::remove_all(fx_->folder);
        t.open();
        QCOMPARE(asked.size(), std::size_t{1});
        QVERIFY(asked.front() == core::GuardedFeature::Diary);
        QVERIFY(!t.isOpen());
        QVERIFY(!std::filesystem::exists(fx_->folder));  // refused: nothing made
        core::setPrivacyGate({});
        fx_->settings.writeText("Calendar", "Directory", ".");
        t.open();
        QCOMPARE(settingsDialogs_, 1);
        QVERIFY(!t.isOpen());
        // An unmounted private folder: the box, then the settings dialog.
        fx_->settings.writeText("Calendar", "Directory", (fx_->home->path() / "data").string());
        fx_->settings.writeText("Privacy", "Directory", (fx_->home->path() / "media/usb").string());
        t.open();
        QVERIFY(!t.isOpen());
        QCOMPARE(settingsDialogs_, 2);
        QCOMPARE(fx_->warnings.size() + folderErrors_.size(), std::size_t{1});
        QVERIFY(!std::filesystem::exists(fx_->home->path() / "media"));
        // Set right, the diary folder is made and the list opens.
        fx_->settings.writeText("Privacy", "Directory", "");
        t.open();
        QVERIFY(t.isOpen());
        QVERIFY(std::filesystem::is_directory(fx_->folder));
    }

    void pagesAreFoundByDateNotCaption() {
        DiaryTool& t = tool();
        t.open();
        t.list()->listView()->setCurrentRow(2);
        t.list()->openSelected();
        DiaryWindow* page = t.page(dayOf(2024, 3, 3));
        QVERIFY(page != nullptr);
        page->toggleReadOnly();  // " (RO)" changes the caption
        t.list()->openSelected();
        QCOMPARE(t.pages().size(), std::size_t{1});
        page->close();
    }

    void closingTheListClosesPagesAndKeepsARefusingOne() {
        DiaryTool& t = tool();
        t.open();
        DiaryWindow* a = t.openPage(dayOf(2024, 3, 4));
        DiaryWindow* b = t.openPage(dayOf(2024, 3, 5));
        testing::typeText(a->editor(), QStringLiteral("page a"));
        testing::typeText(b->editor(), QStringLiteral("page b"));
        // Page c cannot save: a folder holds its name.
        DiaryWindow* c = t.openPage(dayOf(2024, 3, 6));
        testing::typeText(c->editor(), QStringLiteral("page c"));
        std::filesystem::create_directory(fx_->folder / "20240306.JNL");
        QPointer<DiaryWindow> refusing = c;
        t.list()->close();
        QVERIFY(fx_->read("20240304.JNL").find("page a") != std::string::npos);
        QVERIFY(fx_->read("20240305.JNL").find("page b") != std::string::npos);
        QVERIFY(refusing && refusing->isVisible());
        QCOMPARE(t.pages().size(), std::size_t{1});
        QCOMPARE(fx_->warnings.size(), 1);
    }

    void searchJumpsToTheBodyMatch() {
        fx_->write("20240210.JNL",
                   platform::toCp932("TITLE:山\r\n:END\r\n一行目\r\n二行目に海がある\r\n"));
        fx_->write("20240311.JNL", platform::toCp932("TITLE:海の日\r\n:END\r\n"));
        DiaryTool& t = tool();
        t.open();
        t.list()->openSearch();
        auto* search = t.list()->searchWindow();
        QCOMPARE(search->width(), 372);
        search->startYear()->setValue(2024);
        search->startMonth()->setValue(3);
        search->endYear()->setValue(2024);
        search->endMonth()->setValue(1);
        search->textField()->setText(QStringLiteral("海"));
        search->search();
        QCOMPARE(search->results()->count(), 2);
        QCOMPARE(search->results()->item(0)->text(),
                 QStringLiteral("2024/02/10 (土) : 【本文】山"));
        QCOMPARE(search->results()->item(1)->text(),
                 QStringLiteral("2024/03/11 (月) : 【題名】海の日"));
        QCOMPARE(search->statusLine()->text(), QStringLiteral("日記を検索します。"));
        // A title match only moves the list.
        search->jump(1);
        QCOMPARE(t.list()->listView()->currentRow(), 10);
        QVERIFY(t.pages().empty());
        // A body match opens the page with the occurrence selected.
        search->jump(0);
        QCOMPARE(t.list()->month(), 2);
        QCOMPARE(t.list()->listView()->currentRow(), 9);
        DiaryWindow* page = t.page(dayOf(2024, 2, 10));
        QVERIFY(page != nullptr);
        QCOMPARE(page->editor()->textCursor().selectedText(), QStringLiteral("海"));
        QCOMPARE(page->editor()->textCursor().selectionStart(), 8);
        // Closing the list closes the search and remembers it was open.
        t.list()->close();
        QCOMPARE(fx_->settings.readInt("Nikki", "Serch_open", 0), 1);
        QCOMPARE(fx_->settings.readInt("Nikki", "Serch_Syear", 0), 2024);
        QCOMPARE(fx_->settings.readText("Nikki", "Serch_String", ""), std::string("海"));
        t.open();
        QVERIFY(t.list()->searchWindow() != nullptr);
    }

    void tickPromptReachesTheListThroughTheToolPath() {
        fx_->settings.writeInt("Horiday", "Set", 1);
        fx_->settings.writeText("Tokeiya", "Ver", "Version 2.70");
        fx_->settings.writeInt("Nikki", "Auto", 1);
        fx_->settings.writeInt("Nikki", "Auto_H", 12);
        fx_->settings.writeInt("Nikki", "Auto_M", 0);
        DiaryTool& t = tool();
        clock_->set(dayOf(2024, 3, 12) + 11.0 / 24 + 59.0 / 1440);
        mainwindow::MainWindow window(fx_->settings, *clock_, fx_->home->path());
        window.setWarningSink([](const QString&) {});
        window.setTool(mainwindow::Tool::DiaryList,
                       {[&] { t.open(); }, [&] { return t.isOpen(); }});
        window.FormCreate();
        int gateCalls = 0;
        core::setPrivacyGate([&](core::GuardedFeature) {
            ++gateCalls;
            return false;
        });
        QCOMPARE(gateCalls, 0);
        clock_->set(dayOf(2024, 3, 12) + 0.5);
        window.popupTimer().Timer1Timer();
        QCOMPARE(gateCalls, 1);
        QVERIFY(!t.isOpen());
        core::setPrivacyGate({});
        clock_->set(dayOf(2024, 3, 12) + 0.5 + 1.0 / 1440);
        window.popupTimer().Timer1Timer();
        clock_->set(dayOf(2024, 3, 13) + 0.5);
        window.popupTimer().Timer1Timer();
        QVERIFY(t.isOpen());
    }

    void programEndSavesEveryOpenPage() {
        DiaryTool& t = tool();
        t.open();
        DiaryWindow* a = t.openPage(dayOf(2024, 3, 7));
        testing::typeText(a->editor(), QStringLiteral("ending"));
        core::SessionEnd::instance().end();
        QVERIFY(fx_->read("20240307.JNL").find("ending") != std::string::npos);
    }
};

QTEST_MAIN(DiaryListTest)
#include "test_diary_list.moc"
