// The jump-to-date window: its caption, weekday, corrections and the set.

#include <QPushButton>
#include <QSpinBox>

#include "agenda_fixture.h"
#include "schedule/agenda/ui/agenda_tools.h"
#include "schedule/agenda/ui/jump_window.h"
#include "schedule/agenda/ui/todo_editor.h"

using hinagiku::CivilDate;
using hinagiku::schedule::AgendaTools;
using hinagiku::schedule::JumpWindow;
using hinagiku::testing::HostRecord;
using hinagiku::testing::PopupWorld;

class TestJumpWindow : public QObject {
    Q_OBJECT
  private slots:
    void captionsAndWeekdays() {
        PopupWorld world;
        HostRecord record;
        record.calendar = {2024, 3, 27};
        AgendaTools tools(world.settings, world.clock, record.host());
        tools.showJump();
        JumpWindow* jump = tools.jump();
        QVERIFY(QTest::qWaitForWindowExposed(jump));
        QVERIFY(tools.jumpOpen());
        // It starts at the main calendar's date.
        QCOMPARE(jump->windowTitle(), QStringLiteral("12日後"));
        QCOMPARE(jump->weekdayText(), QStringLiteral("(水)"));
        QVERIFY(jump->todayEnabled());
        struct Case {
            int y, m, d;
            CivilDate expected;
            const char* caption;
            const char* weekday;
        };
        const Case cases[] = {
            {2024, 3, 15, {2024, 3, 15}, "本日", "(金)"},
            {2024, 3, 14, {2024, 3, 14}, "1日前", "(木)"},
            {2024, 2, 31, {2024, 2, 29}, "15日前", "(木)"},
            {1582, 10, 10, {1582, 10, 4}, nullptr, "(木)"},
            {1582, 10, 15, {1582, 10, 15}, nullptr, "(金)"},
        };
        for (const auto& c : cases) {
            jump->setFields(c.y, c.m, c.d);
            QCOMPARE(jump->date(), c.expected);
            if (c.caption != nullptr)
                QCOMPARE(jump->windowTitle(), QString::fromUtf8(c.caption));
            QCOMPARE(jump->weekdayText(), QString::fromUtf8(c.weekday));
            QCOMPARE(hinagiku::testing::child<QSpinBox>(jump, "day")->value(), c.expected.day);
        }
        jump->backToToday();
        QCOMPARE(jump->windowTitle(), QStringLiteral("本日"));
        QVERIFY(!jump->todayEnabled());
    }

    void setMovesTheCalendarAndCloses() {
        PopupWorld world;
        HostRecord record;
        AgendaTools tools(world.settings, world.clock, record.host());
        tools.showJump();
        QPointer<JumpWindow> jump = tools.jump();
        QVERIFY(QTest::qWaitForWindowExposed(jump));
        tools.showJump();  // a second request: the same window
        QCOMPARE(tools.jump(), jump.data());
        jump->setFields(2030, 1, 2);
        jump->move(30, 40);
        jump->setAndClose();
        QTRY_VERIFY(jump.isNull());
        QVERIFY(!tools.jumpOpen());
        QCOMPARE(record.calendarSets.size(), 1u);
        QCOMPARE(record.calendarSets[0], (CivilDate{2030, 1, 2}));
        QCOMPARE(world.settings.readInt("Jump", "left", -1), 30);
        QCOMPARE(world.cueCount("clo"), 1);
    }

    void menuOpensTheEditorsAtItsDate() {
        PopupWorld world;
        HostRecord record;
        AgendaTools tools(world.settings, world.clock, record.host());
        tools.showJump();
        JumpWindow* jump = tools.jump();
        jump->setFields(2024, 5, 6);
        jump->openToDoEditorHere();
        hinagiku::schedule::ToDoEditor* editor = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* e = qobject_cast<hinagiku::schedule::ToDoEditor*>(w))
                editor = e;
        }
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->choice().date, (CivilDate{2024, 5, 6}));
        editor->close();
        jump->close();
    }
};

QTEST_MAIN(TestJumpWindow)
#include "test_jump_window.moc"
