// The schedule list window: one at a time, its boxes, the rebuild at a
// change of date, the popups' Exec_List and Kill_List, printing to PDF and
// the text file.

#include <sys/resource.h>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>

#include <csignal>

#include "agenda_fixture.h"
#include "platform/cp932.h"
#include "schedule/agenda/ui/agenda_tools.h"
#include "schedule/agenda/ui/schedule_list_window.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_window.h"

using hinagiku::schedule::AgendaTools;
using hinagiku::schedule::ScheduleListWindow;
using hinagiku::testing::HostRecord;
using hinagiku::testing::PopupWorld;

namespace {

ScheduleListWindow* openList(AgendaTools& tools) {
    tools.showScheduleList();
    ScheduleListWindow* list = tools.scheduleList();
    if (!QTest::qWaitForWindowExposed(list))
        qWarning("list not exposed");
    return list;
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TestScheduleList : public QObject {
    Q_OBJECT
  private slots:
    void oneWindowWithThreeBoxes() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0315.24", "本日の予定");
        world.saveEntry("____0314.24", "昨日の予定");
        world.saveEntry("____0318.24", "来週の予定");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleListWindow* list = openList(tools);
        tools.showScheduleList();
        QCOMPARE(tools.scheduleList(), list);
        QCOMPARE(list->windowTitle(), QStringLiteral("2024/03/13 (水)～2024/03/22 (金)"));
        QVERIFY(list->box(0)->toPlainText().contains(QStringLiteral("昨日の予定")));
        QVERIFY(list->box(1)->toPlainText().startsWith(
            QStringLiteral("2024年3月15日(金)       〔本日〕\n本日の予定")));
        QVERIFY(list->box(2)->toPlainText().contains(QStringLiteral("来週の予定")));
        QCOMPARE(list->width(), 240);
        QCOMPARE(world.settings.readText("Sch_List", "year", ""), std::string("0"));
        QCOMPARE(world.settings.readText("Sch_List", "mae", ""), std::string("2"));
        QCOMPARE(world.cueCount("ope"), 1);
        QVERIFY(!list->listEnabled());

        // A week ago with 0 and 10: seven past blocks, today, three future.
        list->setBaseFields(2024, 3, 8);
        list->setSpan(0, 10);
        QVERIFY(list->listEnabled());
        list->build();
        const QString separator = QString::fromUtf8(hinagiku::schedule::kListSeparator);
        QCOMPARE(list->box(0)->toPlainText().count(separator), 7);
        QCOMPARE(list->box(1)->toPlainText().count(separator), 1);
        QCOMPARE(list->box(2)->toPlainText().count(separator), 3);
        QCOMPARE(world.settings.readText("Sch_List", "day", ""), std::string("8"));
        QCOMPARE(world.settings.readText("Sch_List", "ato", ""), std::string("10"));
        list->close();
        QTRY_VERIFY(!tools.scheduleListOpen());
        QCOMPARE(world.cueCount("clo"), 1);
        QVERIFY(world.settings.readInt("Sch_List", "Height", 0) > 0);
    }

    void rebuiltAtTheChangeOfDate() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0316.24", "土曜の予定");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleListWindow* list = openList(tools);
        list->setBaseFields(2024, 1, 1);
        world.clock.set(*hinagiku::encodeDate(2024, 3, 16) + 0.0001);
        tools.scheduleListBackToToday();
        QCOMPARE(list->baseDate(),
                 static_cast<hinagiku::DateTime>(*hinagiku::encodeDate(2024, 3, 16)));
        QVERIFY(list->box(1)->toPlainText().contains(QStringLiteral("土曜の予定")));
        // An editor's close rebuilds it too.
        world.saveEntry("____0317.24", "日曜の予定");
        record.calendar = {2024, 3, 17};
        auto* editor = tools.openToDoEditor();
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->choice().date, (hinagiku::CivilDate{2024, 3, 17}));
        QVERIFY(!list->box(2)->toPlainText().contains(QStringLiteral("日曜の予定")));
        const int marks = record.markRefreshes;
        editor->close();
        QVERIFY(list->box(2)->toPlainText().contains(QStringLiteral("日曜の予定")));
        QCOMPARE(record.markRefreshes, marks + 1);
        list->close();
    }

    void popupHooksShowAndClose() {
        PopupWorld world;
        HostRecord record;
        AgendaTools tools(world.settings, world.clock, record.host());
        tools.installPopupHooks();
        hinagiku::schedule::popupHooks().showScheduleList();
        QTRY_VERIFY(tools.scheduleListOpen());
        ScheduleListWindow* list = tools.scheduleList();
        hinagiku::schedule::popupHooks().showScheduleList();
        QCOMPARE(tools.scheduleList(), list);
        // The popup editor's "スケジュールに追加" rebuilds a list that shows the day.
        world.saveEntry("____0316.24", "追加");
        hinagiku::schedule::popupHooks().scheduleListEntryAdded(*hinagiku::encodeDate(2024, 3, 16));
        QVERIFY(list->box(2)->toPlainText().contains(QStringLiteral("追加")));
        hinagiku::schedule::popupHooks().closeScheduleList();
        QTRY_VERIFY(!tools.scheduleListOpen());
    }

    // [Form] Exec_List and Kill_List: a popup window shown opens the list,
    // its close closes it.
    void popupWindowOpensAndClosesTheList() {
        PopupWorld world;
        HostRecord record;
        AgendaTools tools(world.settings, world.clock, record.host());
        tools.installPopupHooks();
        world.settings.writeBool("Form", "Exec_List", true);
        world.settings.writeBool("Form", "Kill_List", true);
        world.saveEntry("0900____.__", "会議");
        world.setTime(8, 59, 59);
        world.timer.Timer1Timer();
        world.tickAfter(1);
        QCOMPARE(world.presenter.windows().size(), std::size_t(1));
        QPointer<hinagiku::schedule::PopupWindow> popup = world.presenter.windows().front();
        QTRY_VERIFY(tools.scheduleListOpen());
        popup->close();
        QTRY_VERIFY(!tools.scheduleListOpen());
    }

    void printsToPdf() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0315.24", "印刷の予定");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleListWindow* list = openList(tools);
        world.clock.set(*hinagiku::encodeDate(2024, 3, 15) + *hinagiku::encodeTime(10, 11, 12));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = QString::fromStdString((world.home.path() / "list.pdf").string());
        printer.setOutputFileName(pdf);
        list->printTo(printer);
        // The CJK font's glyphs read back as compatibility characters (⽔ for
        // 水, 〜 for ～): compare in their normal form.
        QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
                           .normalized(QString::NormalizationForm_KC);
        text.replace(QChar(0x301C), QLatin1Char('~'));
        QVERIFY2(text.contains(QStringLiteral("Title:2024/03/13 (水)~2024/03/22 (金)")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Print:2024/03/15 (金) 10:11:12")));
        QVERIFY(text.contains(QStringLiteral("印刷の予定")));
        QVERIFY(text.indexOf(QStringLiteral("3月13日")) < text.indexOf(QStringLiteral("3月22日")));
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QStringLiteral("2024/03/13 (水)～2024/03/22 (金)")),
                 qPrintable(info));
        list->close();
    }

    void writesTheTextFile() {
        PopupWorld world;
        HostRecord record;
        world.saveEntry("____0315.24", "テキスト～出力");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleListWindow* list = openList(tools);
        const auto path = world.home.path() / "TODOLIST.TXT";
        QVERIFY(list->writeTextFile(path));
        const std::string bytes = hinagiku::testing::readBytes(path.string());
        QCOMPARE(bytes.rfind("Title:2024/03/13 (", 0), 0u);
        QVERIFY(bytes.find(hinagiku::platform::toCp932("テキスト～出力\r\n")) != std::string::npos);
        QCOMPARE(bytes.substr(bytes.size() - 2), std::string("\r\n"));

        // A write the system refuses: a message, and the old file intact.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &small);
        QString message;
        hinagiku::testing::answerNextMessageBox(QMessageBox::Ok, &message);
        const bool written = list->writeTextFile(path);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!written);
        QVERIFY(!message.isEmpty());
        QCOMPARE(hinagiku::testing::readBytes(path.string()), bytes);

        // Characters Shift-JIS lacks: written as "?" and the user is told.
        world.saveEntry("____0316.24", "€");
        list->build();
        hinagiku::testing::answerNextMessageBox(QMessageBox::Ok, &message);
        message.clear();
        QVERIFY(list->writeTextFile(path));
        QVERIFY(message.contains(QStringLiteral("?")));
        list->close();
    }

    void storedSizesBeyondTheScreen() {
        PopupWorld world;
        HostRecord record;
        world.settings.writeInt("Sch_List", "Height", 100000);
        world.settings.writeInt("Sch_List", "PastHeight", 90000);
        world.settings.writeInt("Sch_List", "TodayHeight", -4);
        world.settings.writeInt("Sch_List", "top", 99999);
        world.settings.writeText("Sch_List", "mae", "abc");
        world.settings.writeText("Sch_List", "ato", "500");
        AgendaTools tools(world.settings, world.clock, record.host());
        ScheduleListWindow* list = openList(tools);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(list->height() <= screen.height());
        QVERIFY2(list->frameGeometry().bottom() <= screen.bottom(),
                 qPrintable(QStringLiteral("%1 %2 %3")
                                .arg(list->frameGeometry().bottom())
                                .arg(screen.bottom())
                                .arg(list->height())));
        for (int size : list->splitter()->sizes())
            QVERIFY(size > 1);
        QCOMPARE(hinagiku::testing::child<QSpinBox>(list, "before")->value(), 2);
        QCOMPARE(hinagiku::testing::child<QSpinBox>(list, "after")->value(), 99);
        list->close();
    }
};

QTEST_MAIN(TestScheduleList)
#include "test_schedule_list.moc"
