#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

#include "core/data_folders.h"
#include "core/ui/privacy_gate.h"
#include "core/ui/session_end.h"
#include "phonebook/tab_file.h"
#include "phonebook/tab_grid.h"
#include "phonebook/tone_plan.h"
#include "phonebook/ui/phone_book_tool.h"
#include "phonebook/ui/phone_book_window.h"
#include "phonebook/ui/tab_model.h"
#include "phonebook/ui/title_header.h"
#include "platform/command_line.h"
#include "platform/memory_settings.h"
#include "platform/recording_program_launcher.h"
#include "platform/recording_window_closer.h"
#include "platform/sound_recorder.h"
#include "support/temp_home.h"

using namespace hinagiku;
using phonebook::PhoneBookWindow;

namespace {

// An EchoProbe that answers after a delay with what the test set.
class FakeProbe final : public platform::EchoProbe {
  public:
    Outcome answer;
    int delayMs = 200;
    int probes = 0;
    QHostAddress last;
    void probe(const QHostAddress& address) override {
        ++probes;
        last = address;
        Outcome o = answer;
        o.address = address;
        timer_.singleShot(delayMs, this, [this, o] {
            if (!cancelled_)
                emit finished(o);
        });
        cancelled_ = false;
    }
    void cancel() override { cancelled_ = true; }

  private:
    QTimer timer_;
    bool cancelled_ = false;
};

struct Message {
    PhoneBookWindow::MessageKind kind;
    QString text;
};

}  // namespace

class PhoneBookWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;
    platform::SoundRecorder sound;
    platform::RecordingProgramLauncher launcher;
    std::vector<Message> messages;
    FakeProbe* probe = nullptr;

    std::filesystem::path folder() const { return home->path() / "Tel"; }

    std::unique_ptr<PhoneBookWindow> open() {
        auto fake = std::make_unique<FakeProbe>();
        probe = fake.get();
        auto w = std::make_unique<PhoneBookWindow>(*settings, folder(), std::move(fake));
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        return w;
    }

    static void setCell(PhoneBookWindow& w, int row, int column, const QString& text) {
        QVERIFY(w.model()->setData(w.model()->index(row, column), text, Qt::EditRole));
    }

  private slots:
    void init() {
        home = std::make_unique<testing::TempHome>();
        settings = std::make_unique<platform::MemorySettings>();
        std::filesystem::create_directories(folder());
        platform::setSoundOutput(&sound);
        platform::setProgramLauncher(&launcher);
        sound.clear();
        launcher.clear();
        messages.clear();
        PhoneBookWindow::setDefaultMessageSink(
            [this](PhoneBookWindow::MessageKind kind, const QString& text) {
                messages.push_back({kind, text});
            });
    }
    void cleanup() {
        PhoneBookWindow::setDefaultMessageSink(nullptr);
        platform::setSoundOutput(nullptr);
        platform::setProgramLauncher(nullptr);
        home.reset();
    }

    void editTabChangeAndBytesOnDisk() {
        // A Windows file with bytes glibc would write differently.
        const std::string windows = "\xED\x40,x\r\n";
        home->writeFile("Tel/1.csv", windows);
        auto w = open();
        setCell(*w, 3, 1, QStringLiteral("佐藤, 花子"));
        w->tabBar()->setCurrentIndex(1);
        QCOMPARE(w->currentTab(), 1);
        const auto saved = phonebook::readTabFile(folder(), 0);
        QCOMPARE(saved.content.grid.cell(3, 1), std::string("\x8d\xb2\x93\xa1, \x89\xd4\x8e\x71"));
        QVERIFY(saved.bytes.find("\"\x8d\xb2\x93\xa1, \x89\xd4\x8e\x71\"") != std::string::npos);
        QCOMPARE(saved.bytes.size(), 255u * 25 + 31u - 9u + 12u);
        // Opened and left untouched: byte-identical, same name.
        w->tabBar()->setCurrentIndex(2);
        QCOMPARE(home->readFile("Tel/1.csv"), windows);
        QVERIFY(!std::filesystem::exists(folder() / "2.CSV"));
        QVERIFY(messages.empty());
    }

    void refusedEditsAndTypedLineBreaks() {
        auto w = open();
        QVERIFY(!w->model()->setData(w->model()->index(0, 0), QStringLiteral("a😀"), Qt::EditRole));
        QCOMPARE(messages.size(), 1u);
        QVERIFY(!w->model()->setData(w->model()->index(0, 0), QString(4200, QLatin1Char('x')),
                                     Qt::EditRole));
        QCOMPARE(messages.size(), 2u);
        setCell(*w, 0, 0, QStringLiteral("a\nb"));
        QCOMPARE(w->model()->grid().cell(0, 0), std::string("a b"));
    }

    void damagedTabIsReadOnlyAndNeverWritten() {
        const std::string damaged = "keep,this\r\n\"open quote\r\n";
        home->writeFile("Tel/0.CSV", damaged);
        auto w = open();
        QCOMPARE(messages.size(), 1u);
        QVERIFY(messages[0].text.contains(QStringLiteral("0.CSV")));
        QVERIFY(w->model()->readOnly());
        QVERIFY(!w->model()->setData(w->model()->index(0, 0), QStringLiteral("x"), Qt::EditRole));
        QCOMPARE(w->model()->data(w->model()->index(0, 1), Qt::DisplayRole).toString(),
                 QStringLiteral("this"));
        w->tabBar()->setCurrentIndex(4);
        w->close();
        QCOMPARE(home->readFile("Tel/0.CSV"), damaged);
        // The edit lock setting was not stored by the forced lock.
        QCOMPARE(settings->readBool("TelePhone", "Edit", false), false);
    }

    void failedSaveKeepsEditsAndTheTab() {
        settings->writeInt("Telephone", "Tab", 3);
        auto w = open();
        QCOMPARE(w->currentTab(), 3);
        setCell(*w, 0, 0, QStringLiteral("unsaved"));
        // Something the file cannot replace appears under the name.
        std::filesystem::create_directories(folder() / "3.CSV");
        w->tabBar()->setCurrentIndex(5);
        QCOMPARE(w->currentTab(), 3);
        QCOMPARE(w->tabBar()->currentIndex(), 3);
        QCOMPARE(messages.size(), 1u);
        QCOMPARE(w->model()->grid().cell(0, 0), std::string("unsaved"));
        w->search(QStringLiteral("x"));
        QCOMPARE(w->currentTab(), 3);
        QVERIFY(!w->close());  // closing would lose the edit
        std::filesystem::remove(folder() / "3.CSV");
        QVERIFY(w->close());
        QCOMPARE(phonebook::readTabFile(folder(), 3).content.grid.cell(0, 0),
                 std::string("unsaved"));
    }

    void dragReorderSavesTheVisualOrder() {
        auto w = open();
        w->reorderMode()->setChecked(true);
        QVERIFY(w->view()->verticalHeader()->sectionsMovable());
        setCell(*w, 0, 0, QStringLiteral("first"));
        setCell(*w, 1, 0, QStringLiteral("second"));
        w->model()->setDirty(false);
        // Dragging row 0 below row 2 moves it only on screen.
        w->view()->verticalHeader()->moveSection(0, 2);
        QVERIFY(w->model()->dirty());
        QVERIFY(w->saveCurrentTab());
        const auto saved = phonebook::readTabFile(folder(), 0).content.grid;
        QCOMPARE(saved.cell(0, 0), std::string("second"));
        QCOMPARE(saved.cell(2, 0), std::string("first"));
        QCOMPARE(w->view()->verticalHeader()->logicalIndex(2), 2);
        QCOMPARE(w->model()->grid().cell(2, 0), std::string("first"));
        QCOMPARE(settings->readBool("TelePhone", "Sort", false), true);
    }

    // Drags splitter `splitter` of the title header by `dx` pixels.
    static void dragSplitter(phonebook::TitleHeader* header, int splitter, int dx) {
        const QRect cell = header->cellRect(splitter);
        const QPoint from(cell.left() + cell.width() + 1, header->height() / 2);
        QCOMPARE(header->splitterAt(from.x()), splitter);
        QTest::mousePress(header, Qt::LeftButton, {}, from);
        QTest::mouseMove(header, from + QPoint(dx / 2, 0));
        QTest::mouseMove(header, from + QPoint(dx, 0));
        QTest::mouseRelease(header, Qt::LeftButton, {}, from + QPoint(dx, 0));
    }

    void widthsPerTab() {
        auto w = open();
        w->resize(757, 409);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        phonebook::TitleHeader* header = w->titleHeader();
        dragSplitter(header, 1, 50);
        QCOMPARE(header->cellWidth(1), 150);
        QCOMPARE(settings->readInt("Telephone", "0Width_B", 0), 150);
        QCOMPARE(w->view()->columnWidth(1), 151);
        w->tabBar()->setCurrentIndex(2);
        QCOMPARE(header->cellWidth(1), 100);
        QCOMPARE(header->cellWidth(4), 169);
        dragSplitter(header, 0, -40);
        w->tabBar()->setCurrentIndex(0);
        QCOMPARE(header->cellWidth(1), 150);
        QCOMPARE(header->cellWidth(0), 100);
        QCOMPARE(settings->readInt("Telephone", "2Width_A", 0), 60);
        // The last resizable cell has its splitter too.
        dragSplitter(header, 4, 20);
        QCOMPARE(settings->readInt("Telephone", "0Width_E", 0), 189);
        // Wider than the header: all five go back to 100.
        header->releaseSplitter(3, 5000);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(header->cellWidth(c), 100);
        QCOMPARE(settings->readInt("Telephone", "0Width_D", 0), 100);
        QCOMPARE(settings->readInt("Telephone", "0Width_B", 0), 100);
    }

    void columnsFollowTheTitleCells() {
        settings->writeInt("Telephone", "0Width_C", 130);
        auto w = open();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const phonebook::TitleHeader* header = w->titleHeader();
        const QTableView* view = w->view();
        const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                         view->verticalScrollBar());
        struct Case {
            int width;
            bool reorder;
        };
        const Case cases[] = {{757, false}, {1100, false}, {600, false}, {900, true}};
        for (const Case& c : cases) {
            w->reorderMode()->setChecked(c.reorder);
            w->resize(c.width, 409);
            QTRY_COMPARE(w->width(), c.width);
            QTRY_COMPARE(header->width(), view->width());
            const int rest = header->width() - header->indent() - (100 + 100 + 130 + 100 + 169) -
                             5 * phonebook::TitleHeader::kSplitter;
            QCOMPARE(header->cellWidth(5), std::max(rest, 0));
            QCOMPARE(view->columnWidth(0), 100);
            QCOMPARE(view->columnWidth(2), 131);
            QCOMPARE(view->columnWidth(4), 170);
            // Not stretched: the sixth title cell less the scroll bar (none
            // left in a window too narrow).
            QCOMPARE(view->columnWidth(5), std::max(header->cellWidth(5) - scrollBar, 0));
            if (view->columnWidth(5) > 0)
                QVERIFY(view->horizontalHeader()->length() <= view->viewport()->width());
            QCOMPARE(view->verticalHeader()->isVisible(), c.reorder);
            QCOMPARE(header->indent() > 0, c.reorder);
        }
    }

    void hoverTextsInTheStatusLine() {
        auto w = open();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto* status = w->findChild<QLabel*>(QStringLiteral("status"));
        auto* top = w->findChild<QWidget*>(QStringLiteral("topRow"));
        QVERIFY(status && top);
        const QString window = QStringLiteral("簡易電話帳です。");
        const QString grid = QStringLiteral("電話番号リストです。");
        struct Case {
            QWidget* part;
            QString text;
        };
        const Case cases[] = {
            {w->dialField(),
             QStringLiteral(
                 "この番号に電話をかけます。(ダイヤラーがインストールされている必要があり"
                 "ます。)")},
            {w->view()->viewport(), grid},
            {w->view()->verticalScrollBar(), grid},
            {w->editLock(), QStringLiteral("チェックすると編集が出来なくなります。")},
            {w->reorderMode(), QStringLiteral("マウスのドラッグで並べ替えが可能です。")},
            {status, window},
            {top, window},
            {w->searchField(), window},
            {top->findChild<QLabel*>(), window},
            {w->tabBar(), QStringLiteral("電話帳の項目を切り換えます。")},
            {w->titleHeader(), QStringLiteral("境界線のドラッグでサイズ変更ができます。")},
        };
        for (const Case& c : cases) {
            status->setText(QString());
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QApplication::sendEvent(c.part, &enter);
            QCOMPARE(w->statusText(), c.text);
        }
        // Leaving a part for the row around it shows the row's text.
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(w->dialField(), &enter);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w->dialField(), &leave);
        QCOMPARE(w->statusText(), window);
    }

    void longCellsDrawAsTheirWholeText() {
        // Cells of kilobytes are laid out only as far as they can show; what
        // is drawn must not differ from drawing the whole text.
        std::string tab;
        const char* const pieces[] = {"iiii.", "\x93\xfa\x96\x7b", "W", "\x01\x02",
                                      "l,l",   " \xb1\xb2"};
        for (int r = 0; r < 20; ++r) {
            for (int c = 0; c < 6; ++c) {
                std::string cell;
                while (cell.size() < 400u + 37u * static_cast<unsigned>(r))
                    cell += pieces[(r + c + cell.size()) % 6];
                tab += (c > 0 ? "," : "") + ("\"" + cell + "\"");
            }
            tab += "\r\n";
        }
        home->writeFile("Tel/0.CSV", tab);
        auto w = open();
        w->resize(900, 409);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->model()->data(w->model()->index(5, 2), Qt::DisplayRole).toString().size() > 400);
        const QImage cut = w->view()->viewport()->grab().toImage();
        QAbstractItemDelegate* ours = w->view()->itemDelegate();
        QStyledItemDelegate whole;
        w->view()->setItemDelegate(&whole);
        const QImage full = w->view()->viewport()->grab().toImage();
        w->view()->setItemDelegate(ours);
        QCOMPARE(cut, full);
    }

    void dialButtonShowsItsGlyph() {
        auto w = open();
        QToolButton* dial = w->dialButton();
        QVERIFY(dial->text().isEmpty());
        const QIcon icon = dial->icon();
        const QImage normal = icon.pixmap(QSize(16, 16), QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
        QCOMPARE(normal.size(), QSize(16, 16));
        QVERIFY(normal != disabled);
        int inked = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                inked += qAlpha(normal.pixel(x, y)) > 128 ? 1 : 0;
        }
        // A picture, neither blank nor a filled square.
        QVERIFY(inked > 40 && inked < 220);
        // The glyph still dials.
        settings->writeText("TelePhone", "Dialer", "");
        w->dialField()->setText(QStringLiteral("0312345678"));
        QTest::mouseClick(dial, Qt::LeftButton);
        QCOMPARE(launcher.calls().size(), 1u);
    }

    void mailAndWebWithHostileCells() {
        settings->writeText("TelePhone", "Mailer", "/usr/bin/mailer?--to=");
        auto w = open();
        struct Case {
            QString cell;
            bool refused;
        };
        const Case cases[] = {{QStringLiteral("a@b.jp"), false},
                              {QStringLiteral("x\" --exec=/bin/sh \"y"), false},
                              {QStringLiteral("-x"), true}};
        for (const auto& c : cases) {
            launcher.clear();
            messages.clear();
            setCell(*w, 0, 3, c.cell);
            w->view()->setCurrentIndex(w->model()->index(0, 0));
            QCOMPARE(w->mailButton()->isEnabled(), true);
            w->sendMail();
            QCOMPARE(launcher.calls().empty(), c.refused);
            QCOMPARE(messages.empty(), !c.refused);
            if (!c.refused) {
                QCOMPARE(launcher.calls()[0].program, std::string("/usr/bin/mailer"));
                const auto args = platform::splitCommandLine(launcher.calls()[0].parameters);
                QCOMPARE(args.size(), 1u);
                QCOMPARE(QString::fromStdString(args[0]), QStringLiteral("--to=") + c.cell);
            }
        }
        // Web with no Browser: a path or a program is never started.
        for (const QString& cell : {QStringLiteral("/usr/bin/xterm"), QStringLiteral("-x"),
                                    QStringLiteral("file:///etc/passwd")}) {
            launcher.clear();
            setCell(*w, 0, 4, cell);
            w->openWebPage();
            QVERIFY(launcher.calls().empty());
        }
        setCell(*w, 0, 4, QStringLiteral("example.jp"));
        w->openWebPage();
        QCOMPARE(launcher.calls().back().program, std::string("http://example.jp"));
        setCell(*w, 0, 4, QString());
        QVERIFY(!w->webButton()->isEnabled());
    }

    void tonesPlayInTurnWithPauses() {
        settings->writeInt("TelePhone", "Sleep", 40);
        auto w = open();
        w->dialField()->setText(QStringLiteral("0,1#"));
        sound.clear();
        w->startTones();
        QVERIFY(!w->speakerButton()->isEnabled());
        std::vector<QByteArray> waves;
        for (int i = 0; i < 10 && sound.tonePending(); ++i) {
            waves.push_back(sound.calls().back().wave);
            if (i == 1)
                settings->writeInt("TelePhone", "Sleep", 0);  // read anew per character
            sound.finishTone();
        }
        QCOMPARE(waves.size(), 4u);
        QCOMPARE(waves[0], phonebook::stepWave(phonebook::toneStep("0", 40)));
        QCOMPARE(waves[1], phonebook::stepWave(phonebook::toneStep(",", 40)));
        QCOMPARE(platform::waveDurationMs(waves[1]), 3000);
        QCOMPARE(waves[2], phonebook::stepWave(phonebook::toneStep("1", 0)));
        QCOMPARE(waves[3], phonebook::stepWave(phonebook::toneStep("#", 0)));
        QVERIFY(w->speakerButton()->isEnabled());
        QVERIFY(!w->dialling());
    }

    void closingStopsTheTones() {
        auto w = open();
        w->dialField()->setText(QStringLiteral("123"));
        w->startTones();
        sound.finishTone();
        w->close();
        QCOMPARE(sound.calls().back().kind == platform::SoundRecorder::Kind::Cue ||
                     sound.calls().back().kind == platform::SoundRecorder::Kind::StopTone,
                 true);
        QVERIFY(!sound.tonePending());
        int tones = 0;
        for (const auto& c : sound.calls())
            tones += c.kind == platform::SoundRecorder::Kind::Tone;
        QCOMPARE(tones, 2);
    }

    void pingKeepsTheWindowResponsive() {
        auto w = open();
        probe->answer.kind = platform::EchoProbe::Outcome::Kind::Reply;
        probe->answer.milliseconds = 3;
        w->ipField()->setText(QStringLiteral("127.0.0.1"));
        QVERIFY(w->pingButton()->isEnabled());
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(50);
        w->ping();
        QVERIFY(!w->pingButton()->isEnabled());
        QTRY_COMPARE(messages.size(), 1u);
        QVERIFY(ticks >= 2);
        QCOMPARE(probe->last, QHostAddress(QStringLiteral("127.0.0.1")));
        QCOMPARE(messages[0].text,
                 QStringLiteral("Pinging 127.0.0.1\r\r3 msecs.で応答がありました。"));
        QVERIFY(w->pingButton()->isEnabled());

        probe->answer.kind = platform::EchoProbe::Outcome::Kind::NoReply;
        w->ping();
        QTRY_COMPARE(messages.size(), 2u);
        QCOMPARE(messages[1].text, QStringLiteral("127.0.0.1の応答がありません。"));
    }

    void pingUnresolvableAndClosedMidway() {
        auto w = open();
        w->ipField()->setText(QStringLiteral("no-such-host.invalid"));
        w->ping();
        QTRY_COMPARE(messages.size(), 1u);
        QCOMPARE(messages[0].text, QStringLiteral("no-such-host.invalidが検出できません。"));
        QCOMPARE(probe->probes, 0);
        messages.clear();
        w->ipField()->setText(QStringLiteral("127.0.0.1"));
        w->ping();
        w->close();
        QTest::qWait(400);
        QVERIFY(messages.empty());
    }

    void savedAtProgramEnd() {
        auto w = open();
        w->show();
        setCell(*w, 9, 2, QStringLiteral("03-1234"));
        core::SessionEnd::instance().end();
        QCOMPARE(phonebook::readTabFile(folder(), 0).content.grid.cell(9, 2),
                 std::string("03-1234"));
    }

    // Renders a filled tab and the search results; with HINAGIKU_SCREENSHOT_DIR
    // set the pictures are kept there (the README's screenshots).
    void rendersFilledTabAndResults() {
        home->writeFile(
            "Tel/0.CSV",
            "\x8a\x94\x8e\xae\x89\xef\x8e\xd0\x83\x4e\x83\x8d\x81\x5b\x83\x6f\x81\x5b,"
            "\"\x8d\xb2\x93\xa1\x20\x89\xd4\x8e\x71\",03-1234-5678,sato@example.jp,"
            "www.example.jp,127.0.0.10\r\n"
            "\x82\xd0\x82\xc8\x82\xab\x82\xad\x8f\xa4\x89\xef,\"\x97\xe9\x96\xd8\x20\x88\xea"
            "\x98\x59\",06-9876-5432,suzuki@example.jp,,localhost\r\n"
            "\x8e\x9b\x89\xc6,\x95\xea,0120-000-111,,,\r\n");
        auto w = open();
        w->resize(757, 409);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->view()->selectRow(0);
        const QImage tab = w->grab().toImage();
        QVERIFY(!tab.isNull());
        w->search(QStringLiteral("example"));
        QCOMPARE(QString::fromStdString(w->model()->grid().cell(1, 3)),
                 QStringLiteral("suzuki@example.jp"));
        const QImage results = w->grab().toImage();
        const QByteArray dir = qgetenv("HINAGIKU_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(tab.save(QString::fromUtf8(dir) + QStringLiteral("/phonebook.png")));
            QVERIFY(results.save(QString::fromUtf8(dir) + QStringLiteral("/phonebook_search.png")));
        }
    }

    void closingClosesTheDiallerWhenAsked() {
        struct Case {
            bool close;
            const char* title;  // nullptr: the key is absent
            std::vector<std::string> closed;
        };
        const Case cases[] = {
            {true, nullptr, {"Windows ﾀﾞｲﾔﾗｰ - line 1"}},
            {true, "Dialer", {"Dialer (GNOME)"}},
            {true, "", {}},
            {false, nullptr, {}},
            // Never one of our own windows.
            {true, "簡易電話", {}},
        };
        for (const auto& c : cases) {
            settings = std::make_unique<platform::MemorySettings>();
            settings->writeBool("TelePhone", "Close", c.close);
            if (c.title)
                settings->writeText("TelePhone", "CloseTitle", c.title);
            platform::RecordingWindowCloser closer(
                {"editor", "Windows ﾀﾞｲﾔﾗｰ - line 1", "Dialer (GNOME)", "簡易電話帳"});
            platform::setWindowCloser(&closer);
            auto w = open();
            w->show();
            w->close();
            platform::setWindowCloser(nullptr);
            QCOMPARE(closer.closed(), c.closed);
        }
    }

    void hookPassesTheGateThenTheFolders() {
        int dialogs = 0;
        core::setFolderHooks({[&] { ++dialogs; }, [](std::string_view) {}});
        bool allow = false;
        core::setPrivacyGate(
            [&](core::GuardedFeature f) { return allow && f == core::GuardedFeature::Telephone; });
        const auto data = home->path() / "data";
        std::filesystem::create_directories(data);
        settings->writeText("Calendar", "Directory", data.string());
        phonebook::openPhoneBook(*settings);  // refused: nothing read or made
        QVERIFY(!phonebook::phoneBookOpen());
        QVERIFY(!std::filesystem::exists(data / "Tel"));
        allow = true;
        settings->writeText("Calendar", "Directory", ".");
        phonebook::openPhoneBook(*settings);  // no data folder: the settings dialog
        QCOMPARE(dialogs, 1);
        QVERIFY(!phonebook::phoneBookOpen());
        settings->writeText("Calendar", "Directory", data.string());
        phonebook::openPhoneBook(*settings);
        QVERIFY(phonebook::phoneBookOpen());
        QVERIFY(std::filesystem::is_directory(data / "Tel"));
        auto* first = phonebook::phoneBookWindow();
        phonebook::openPhoneBook(*settings);  // raised, not a second one
        QCOMPARE(phonebook::phoneBookWindow(), first);
        first->close();
        QTRY_VERIFY(!phonebook::phoneBookOpen());
        core::setPrivacyGate(nullptr);
        core::setFolderHooks({});
    }

    void searchShowsResultsAndStatus() {
        home->writeFile("Tel/0.CSV", "ACME,Sato\r\n");
        home->writeFile("Tel/7.CSV", "x,y\r\nOther,Sato\r\n");
        auto w = open();
        setCell(*w, 1, 1, QStringLiteral("Sato new"));
        w->search(QStringLiteral("Sato"));
        QCOMPARE(w->currentTab(), 12);
        QCOMPARE(w->statusText(), QStringLiteral("「Sato」の検索を終了しました。"));
        QCOMPARE(w->model()->grid().cell(0, 1), std::string("Sato"));
        QCOMPARE(w->model()->grid().cell(1, 1), std::string("Sato new"));
        QCOMPARE(w->model()->grid().cell(2, 0), std::string("Other"));
        QCOMPARE(w->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("項目１"));
    }
};

QTEST_MAIN(PhoneBookWindowTest)
#include "phone_book_window_test.moc"
