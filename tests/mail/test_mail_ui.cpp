// The mail windows and the mail tool as the main window uses them, against
// scripted servers on 127.0.0.1 (offscreen, test clock, recorded sounds).
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "mail/mail_log.h"
#include "mail/stored_password.h"
#include "mail/ui/mail_tool.h"
#include "mail/ui/panel_colors.h"
#include "schedule/ui/sound_chooser.h"
#include "schedule_ui/test_popup_fixture.h"
#include "scripted_server.h"

using hinagiku::mail::MailCheck;
using hinagiku::mail::MailTool;
using hinagiku::mail::PanelColor;
using hinagiku::testing::PopupWorld;
using hinagiku::testing::ScriptedServer;

namespace {

template <typename Done>
bool runUntil(Done done, int guardMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < guardMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return done();
}

std::vector<std::string> pop3Replies(int count) {
    return {"+OK ready\r\n", "+OK\r\n", "+OK\r\n",
            "+OK " + std::to_string(count) + " " + std::to_string(count * 100) + "\r\n",
            "+OK bye\r\n"};
}

std::vector<std::string> smtpReplies() {
    return {"220 ready\r\n", "250 hello\r\n",  "250 ok\r\n", "250 ok\r\n",
            "354 go\r\n",    "250 queued\r\n", "221 bye\r\n"};
}

// The mail tool with its hooks recorded.
struct ToolRig {
    explicit ToolRig(PopupWorld& world, std::array<int, 3> waits = {3000, 3000, 2000})
        : tool(world.settings, world.clock,
               {[this](PanelColor c) { colors.push_back(c); },
                [this](int minutes) { countdowns.push_back(minutes); }, [this] { ++mailerStarts; }},
               options(waits)) {}
    static MailCheck::Options options(std::array<int, 3> waits) {
        MailCheck::Options o;
        o.waitMilliseconds = waits;
        o.flashMilliseconds = 100;
        o.connection.timeoutMilliseconds = 5000;
        return o;
    }
    bool checkDone(std::size_t countdownsBefore) {
        return runUntil([&] { return countdowns.size() > countdownsBefore; });
    }
    std::vector<PanelColor> colors;
    std::vector<int> countdowns;
    int mailerStarts = 0;
    MailTool tool;
};

void account(PopupWorld& world, int n, const char* name, quint16 port) {
    const std::string p = "pop" + std::to_string(n) + "_";
    world.settings.writeBool("pop", p + "check", true);
    world.settings.writeText("pop", p + "name", name);
    world.settings.writeText("pop", p + "server", "127.0.0.1");
    world.settings.writeText("pop", p + "user", "taro");
    hinagiku::mail::writePassword(world.settings, "pop", p + "password", "pw");
    world.settings.writeText("pop", p + "port", std::to_string(port));
}

}  // namespace

class MailUiTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { hinagiku::mail::setOutcomeEcho(false); }
    void reminderOfATwoEntryTickIsOneMail();
    void checkShowsResultsInAccountColours();
    void resultWindowClosesWhenNothingWaits();
    void checkMeetingAnOpenConversationFlashesGrey();
    void resultWindowActions();
    void settingsWrittenPerField();
};

void MailUiTest::reminderOfATwoEntryTickIsOneMail() {
    struct Case {
        bool firstAsks;
        bool lastAsks;
        int mails;
    };
    const Case cases[] = {{false, true, 1}, {true, false, 0}, {true, true, 1}};
    for (const Case& c : cases) {
        PopupWorld world(3600 * 1000, 3000);
        ScriptedServer server({smtpReplies()});
        ToolRig rig(world);
        hinagiku::schedule::PopupHooks hooks;
        hooks.sendReminderMail = [&](const std::string& text, const std::string& date) {
            rig.tool.sendReminderMail(text, date);
        };
        hinagiku::schedule::setPopupHooks(hooks);
        world.settings.writeBool("smtp", "smtp_check", true);
        world.settings.writeText("smtp", "smtp_server", "127.0.0.1");
        world.settings.writeText("smtp", "smtp_port", std::to_string(server.port()));
        world.settings.writeText("smtp", "smtp_mailaddr", "u@example.jp");
        hinagiku::schedule::EntryOptions ask;
        ask.smtp = true;
        world.saveEntry("0900____.__", "薬",
                        c.firstAsks ? ask : hinagiku::schedule::EntryOptions{});
        world.saveEntry("09000315.__", ".花",
                        c.lastAsks ? ask : hinagiku::schedule::EntryOptions{});
        world.setTime(8, 59, 59);
        world.timer.Timer1Timer();
        world.tickAfter(1);
        runUntil([&] { return !rig.tool.smtp().busy(); }, 5000);
        QCOMPARE(static_cast<int>(server.messages().size()), c.mails);
        QCOMPARE(server.connections(), c.mails);
        if (c.mails == 1) {
            const std::string& m = server.messages()[0];
            // Date line, then both texts (the second's dot doubled), in ISO-2022-JP.
            const std::string body =
                "\r\n\r\n24/03/15 (\x1B$B6b\x1B(B) 09:00\r\n\x1B$BLt\x1B(B\r\n..\x1B$B2V\x1B(B\r\n";
            QVERIFY2(m.ends_with(body), m.c_str());
            QVERIFY(m.find("To: u@example.jp\r\n") != std::string::npos);
            QVERIFY(server.sawLine("MAIL FROM:<>"));
        }
    }
}

void MailUiTest::checkShowsResultsInAccountColours() {
    PopupWorld world;
    ScriptedServer home({pop3Replies(3)});
    ScriptedServer work({pop3Replies(0)});
    account(world, 1, "Home", home.port());
    account(world, 2, "Work", work.port());
    world.settings.writeInt("pop", "min", 15);
    ToolRig rig(world);
    rig.tool.checkFromMenu();
    QVERIFY(rig.checkDone(0));
    const std::vector<PanelColor> expected = {PanelColor::Maroon, PanelColor::Black,
                                              PanelColor::Navy, PanelColor::Black};
    QCOMPARE(rig.colors, expected);
    QCOMPARE(rig.countdowns, std::vector<int>{15});
    auto* window = rig.tool.resultWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("pop3"));
    QCOMPARE(window->line(0)->text(), QStringLiteral("Home：3通"));
    QCOMPARE(window->line(1)->text(), QString());
    QCOMPARE(window->line(2)->text(), QString());
    QCOMPARE(world.cueCount("rml"), 1);
    QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(home.lines().back(), std::string("QUIT"));

    // Colours as the main window's panels show them.
    QLabel panel;
    hinagiku::mail::paintPanels({&panel}, PanelColor::Navy);
    QCOMPARE(panel.palette().color(QPalette::Window), QColor(0, 0, 128));
}

void MailUiTest::resultWindowClosesWhenNothingWaits() {
    PopupWorld world;
    ScriptedServer first({pop3Replies(2)});
    account(world, 3, "Third", first.port());
    ToolRig rig(world);
    rig.tool.checkFromTick();
    QVERIFY(rig.checkDone(0));
    QPointer<hinagiku::mail::MailResultWindow> window = rig.tool.resultWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->line(2)->text(), QStringLiteral("Third：2通"));
    QCOMPARE(rig.colors.front(), PanelColor::Green);

    ScriptedServer empty({pop3Replies(0)});
    world.settings.writeText("pop", "pop3_port", std::to_string(empty.port()));
    rig.tool.checkFromMenu();
    QVERIFY(rig.checkDone(1));
    QTRY_VERIFY(window.isNull());
    QCOMPARE(world.cueCount("clo"), 1);
}

void MailUiTest::checkMeetingAnOpenConversationFlashesGrey() {
    PopupWorld world;
    ScriptedServer::Script silent;
    silent.silent = true;
    ScriptedServer server(silent);
    account(world, 1, "Home", server.port());
    ToolRig rig(world, {150, 150, 150});
    rig.tool.checkFromMenu();
    QVERIFY(rig.checkDone(0));
    QVERIFY(rig.tool.check().anyConversationOpen());
    QVERIFY(rig.tool.resultWindow() == nullptr);

    // From the countdown: grey, then black, and the countdown retries.
    rig.colors.clear();
    rig.tool.checkFromTick();
    QCOMPARE(rig.colors, std::vector<PanelColor>{PanelColor::Grey});
    QTRY_COMPARE(rig.colors.size(), std::size_t(2));
    QCOMPARE(rig.colors.back(), PanelColor::Black);
    QCOMPARE(rig.countdowns, (std::vector<int>{60, 0}));

    // From the menu: the countdown is left alone.
    rig.tool.checkFromMenu();
    QTRY_COMPARE(rig.colors.size(), std::size_t(4));
    QCOMPARE(rig.colors[2], PanelColor::Grey);
    QTest::qWait(50);
    QCOMPARE(rig.countdowns, (std::vector<int>{60, 0}));
}

void MailUiTest::resultWindowActions() {
    PopupWorld world;
    world.settings.writeInt("pop", "left", -40);
    world.settings.writeInt("pop", "top", 30);
    int checks = 0, mailers = 0, settingsOpened = 0;
    auto* window = new hinagiku::mail::MailResultWindow(
        world.settings, {[&] { ++checks; }, [&] { ++mailers; }, [&] { ++settingsOpened; }});
    QPointer<hinagiku::mail::MailResultWindow> guard = window;
    QCOMPARE(window->pos(), QPoint(0, 30));
    window->setTexts({"A：1通", "", "C：2通"});
    window->show();
    QStringList captions;
    for (QAction* a : window->contextMenu()->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions,
             (QStringList{"メールチェック", "メーラー起動", "-", "メールの設定", "閉じる(&C)"}));
    window->contextMenu()->actions()[0]->trigger();
    QCOMPARE(checks, 1);
    window->move(70, 80);
    QTest::keyClick(window, Qt::Key_Return);
    QCOMPARE(mailers, 1);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(world.settings.readInt("pop", "left", 0), 70);
    QCOMPARE(world.settings.readInt("pop", "top", 0), 80);

    window = new hinagiku::mail::MailResultWindow(world.settings, {});
    guard = window;
    window->show();
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(mailers, 1);
    QCOMPARE(world.cueCount("clo"), 2);
}

void MailUiTest::settingsWrittenPerField() {
    PopupWorld world;
    ToolRig rig(world);
    world.settings.writeText("pop", "pop2_password", hinagiku::mail::scramblePassword("old"));
    rig.tool.openSettings();
    auto* w = rig.tool.settingsWindow();
    QVERIFY(w != nullptr && rig.tool.settingsOpen());
    QCOMPARE(w->windowTitle(), QStringLiteral("メールサーバーの設定"));
    QCOMPARE(world.cueCount("ope"), 1);
    QStringList tabs;
    for (int i = 0; i < w->pages()->count(); ++i)
        tabs << w->pages()->tabText(i);
    QCOMPARE(tabs, (QStringList{"全般", "受信１", "受信２", "受信３", "送信"}));
    QCOMPARE(w->account(2).password->text(), QStringLiteral("old"));
    QCOMPARE(w->account(1).port->text(), QStringLiteral("110"));
    QCOMPARE(w->sendPage().port->text(), QStringLiteral("25"));
    QCOMPARE(w->account(1).port->maxLength(), 5);
    QCOMPARE(w->sendPage().port->maxLength(), 5);

    struct Field {
        QLineEdit* edit;
        const char* section;
        const char* key;
        const char* typed;
    };
    const Field fields[] = {
        {w->mailerBox(), "pop", "pop1_program", "/usr/bin/mailer?-x"},
        {w->account(1).name, "pop", "pop1_name", "Home"},
        {w->account(1).server, "pop", "pop1_server", "pop.example.jp"},
        {w->account(3).user, "pop", "pop3_user", "hanako"},
        {w->account(2).port, "pop", "pop2_port", "995"},
        {w->sendPage().server, "smtp", "smtp_server", "smtp.example.jp"},
        {w->sendPage().from, "smtp", "smtp_fromaddr", "t@example.jp"},
        {w->sendPage().to, "smtp", "smtp_mailaddr", "u@example.jp"},
        {w->sendPage().user, "smtp", "smtp_user", "taro"},
    };
    for (const Field& f : fields) {
        f.edit->clear();
        QTest::keyClicks(f.edit, QString::fromUtf8(f.typed));
        QCOMPARE(world.settings.readText(f.section, f.key, "?"), std::string(f.typed));
    }

    w->account(1).password->clear();
    QTest::keyClicks(w->account(1).password, QStringLiteral("p w"));
    QVERIFY(world.home.readFile("hinagiku.ini")
                .find("pop1_password=\"" + hinagiku::mail::scrambleBytes("p w") + "\"") !=
            std::string::npos);
    QCOMPARE(hinagiku::mail::readPassword(world.settings, "pop", "pop1_password"), "p w");
    // Not printable ASCII: refused with a message, the stored one stays.
    QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("é"));
    QApplication::sendEvent(w->account(1).password, &accented);
    QCOMPARE(w->account(1).password->text(), QStringLiteral("p w"));
    QVERIFY(!w->account(1).passwordMessage->isHidden());
    QCOMPARE(hinagiku::mail::readPassword(world.settings, "pop", "pop1_password"), "p w");

    w->periodicBox()->click();
    QCOMPARE(world.settings.readBool("pop", "check", false), true);
    w->minutesBox()->setValue(5);
    QCOMPARE(world.settings.readInt("pop", "min", 0), 5);
    w->account(2).check->click();
    QCOMPARE(world.settings.readBool("pop", "pop2_check", false), true);
    w->account(3).tls->setCurrentIndex(2);
    QCOMPARE(world.settings.readInt("pop", "pop3_tls", 0), 2);
    w->sendPage().agree->click();
    QCOMPARE(world.settings.readBool("smtp", "smtp_check", false), true);

    // The sound through the sound chooser, which starts at the stored one.
    const std::string wav = world.writeFile("sounds/mail.wav", "RIFF0000WAVE");
    world.settings.writeText("pop", "sound", "");
    QString startedAt = QStringLiteral("?");
    hinagiku::testing::onNextDialog<hinagiku::schedule::SoundChooser>(
        [&](hinagiku::schedule::SoundChooser* chooser) {
            startedAt = chooser->fileName();
            chooser->setFileName(QString::fromStdString(wav));
            chooser->closeChooser();
        });
    w->findChild<QPushButton*>(QStringLiteral("ChooseSound"))->click();
    QCOMPARE(startedAt, QString());
    QCOMPARE(world.settings.readText("pop", "sound", ""), wav);
    QCOMPARE(w->soundLabel()->text(), QString::fromStdString(wav));

    const int c1 = world.cueCount("c1");
    w->pages()->setCurrentIndex(4);
    QCOMPARE(world.cueCount("c1"), c1 + 1);

    // A second request brings the same window to the front.
    rig.tool.openSettings();
    QCOMPARE(rig.tool.settingsWindow(), w);
    w->close();
    QTRY_VERIFY(!rig.tool.settingsOpen());
    QCOMPARE(world.cueCount("clo"), 1);
}

QTEST_MAIN(MailUiTest)
#include "test_mail_ui.moc"
