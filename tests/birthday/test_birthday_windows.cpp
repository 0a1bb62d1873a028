// The birthday register and the greeting window, offscreen, on a temporary
// data folder.
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QtTest>

#include <filesystem>

#include "birthday/almanac.h"
#include "birthday/ui/biorhythm_chart.h"
#include "birthday/ui/birthday_greeting.h"
#include "birthday/ui/birthday_pictures.h"
#include "birthday/ui/birthday_register.h"
#include "core/data_folders.h"
#include "core/ui/session_end.h"
#include "support/fake_clock.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

using hinagiku::CivilDate;
using hinagiku::birthday::BirthdayRegister;
using hinagiku::birthday::RegisterHooks;
using hinagiku::birthday::RegisterQuestions;
using hinagiku::birthday::SaveAnswer;

namespace fs = std::filesystem;

namespace {

// Closes the register while the settings it uses still live.
void closeAll() {
    if (BirthdayRegister* w = hinagiku::birthday::openRegister()) {
        w->setQuestions({[](const QString&) { return SaveAnswer::No; }, {}});
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace

class BirthdayWindowsTest : public QObject {
    Q_OBJECT

    struct World {
        hinagiku::testing::TempHome home;
        hinagiku::testing::MemorySettings settings;
        hinagiku::testing::FakeClock clock{*hinagiku::encodeDate(2024, 3, 5) + 0.5};
        int refreshes = 0;
        int questions = 0;
        SaveAnswer answer = SaveAnswer::Cancel;
        bool deleteAnswer = true;
        fs::path data;
        ~World() { closeAll(); }
        World() {
            data = home.path() / "data";
            fs::create_directories(data);
            settings.writeText("Calendar", "Directory", data.string());
        }
        QPointer<BirthdayRegister> open() {
            QPointer<BirthdayRegister> w = hinagiku::birthday::openBirthdayRegister(
                settings, clock, RegisterHooks{[this] { ++refreshes; }});
            if (w) {
                w->setQuestions(RegisterQuestions{[this](const QString&) {
                                                      ++questions;
                                                      return answer;
                                                  },
                                                  [this](const QString&) {
                                                      ++questions;
                                                      return deleteAnswer;
                                                  }});
                if (!QTest::qWaitForWindowExposed(w))
                    qWarning("register not exposed");
            }
            return w;
        }
        void write(const std::string& name, const std::string& bytes) const {
            home.writeFile("data/" + name, bytes);
        }
        bool exists(const std::string& name) const { return fs::exists(data / name); }
    };

    static void type(BirthdayRegister* w, const QString& text) {
        QTextCursor cursor = w->textBox()->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
        w->textBox()->setTextCursor(cursor);
    }
  private slots:

    void savesListsAndDeletes() {
        World world;
        auto w = world.open();
        QVERIFY(w);
        w->setBirthDate(1980, 3, 5);
        QVERIFY(!w->saveButton()->isEnabled());
        QVERIFY(!w->deleteButton()->isEnabled());
        type(w, QStringLiteral("山田花子"));
        QVERIFY(w->saveButton()->isEnabled());
        QVERIFY(w->save());
        QVERIFY(world.exists("BORN0305.1980"));
        QCOMPARE(world.refreshes, 1);
        QCOMPARE(w->list()->count(), 1);
        QCOMPARE(w->list()->item(0)->text(), QStringLiteral("03月05日【1980年】あと 0日"));
        QVERIFY(!w->saveButton()->isEnabled());
        QVERIFY(w->deleteButton()->isEnabled());

        world.deleteAnswer = false;
        w->deleteEntry();
        QVERIFY(world.exists("BORN0305.1980"));
        world.deleteAnswer = true;
        w->deleteEntry();
        QVERIFY(!world.exists("BORN0305.1980"));
        QCOMPARE(w->list()->count(), 0);
        QVERIFY(w->textBox()->toPlainText().isEmpty());
        QCOMPARE(world.refreshes, 2);
        QCOMPARE(world.questions, 2);
    }

    void almanacLabels() {
        World world;
        world.settings.writeInt("Birthday", "Seiza", 1);
        world.settings.writeBool("Form", "Qreki", true);
        auto w = world.open();
        w->setBirthDate(1964, 11, 25);
        QCOMPARE(w->label("sign")->text(), QStringLiteral("新蠍座"));
        QCOMPARE(w->label("sign")->toolTip(), QStringLiteral("11/23～11/29"));
        QVERIFY(!w->label("signPicture")->pixmap().isNull());
        w->setThirteenSigns(false);
        QCOMPARE(w->label("sign")->text(), QStringLiteral("射手座"));
        QCOMPARE(world.settings.readInt("Birthday", "Seiza", 9), 0);
        QCOMPARE(w->label("animal")->text(), QStringLiteral("辰"));
        QCOMPARE(w->label("monthName")->text(), QStringLiteral("(霜月)"));
        QCOMPARE(w->label("stone")->text(), QStringLiteral("シトリン"));
        QVERIFY(w->label("rokuyo")->text().startsWith(QLatin1Char('(')));
        QCOMPARE(w->ageBox()->value(), 59);
        w->ageBox()->setValue(60);
        QCOMPARE(w->label("ageName")->text(), QStringLiteral("(耳順)"));
        QCOMPARE(w->label("celebration")->text(), QStringLiteral("(還暦)"));
        w->setYearFromAge();
        QCOMPARE(w->birthDate(), (CivilDate{1963, 11, 25}));
        // 2/30 drops to the last day of February.
        w->setBirthDate(2023, 2, 30);
        QCOMPARE(w->birthDate(), (CivilDate{2023, 2, 28}));
        QCOMPARE(w->dayBox()->value(), 28);
    }

    void oneDateChangeRunPerChange() {
        World world;
        auto w = world.open();
        const int before = w->dateChangeRuns();
        w->yearBox()->setValue(1990);
        QCOMPARE(w->dateChangeRuns(), before + 1);
        w->setBirthDate(1991, 4, 31);
        QCOMPARE(w->dateChangeRuns(), before + 2);
        QCOMPARE(w->birthDate(), (CivilDate{1991, 4, 30}));
    }

    void unsavedTextIsNeverLost() {
        World world;
        auto w = world.open();
        w->setBirthDate(1980, 3, 5);
        type(w, QStringLiteral("new text"));
        world.answer = SaveAnswer::Cancel;
        w->setBirthDate(1981, 3, 5);
        QCOMPARE(w->birthDate(), (CivilDate{1980, 3, 5}));
        QCOMPARE(w->yearBox()->value(), 1980);
        QCOMPARE(w->textBox()->toPlainText(), QStringLiteral("new text"));
        world.answer = SaveAnswer::Yes;
        w->setBirthDate(1981, 3, 5);
        QVERIFY(world.exists("BORN0305.1980"));
        QCOMPARE(w->birthDate(), (CivilDate{1981, 3, 5}));
        type(w, QStringLiteral("discard me"));
        world.answer = SaveAnswer::No;
        w->setBirthDate(1982, 3, 5);
        QVERIFY(!world.exists("BORN0305.1981"));
        // Closing asks too; Cancel keeps the window open.
        type(w, QStringLiteral("keep"));
        world.answer = SaveAnswer::Cancel;
        const int asked = world.questions;
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w);
        QCOMPARE(world.questions, asked + 1);
        QVERIFY(w->isVisible());
    }

    void sessionEndSavesUnsavedText() {
        World world;
        auto w = world.open();
        w->setBirthDate(1980, 3, 5);
        type(w, QStringLiteral("at the end"));
        const int asked = world.questions;
        hinagiku::core::SessionEnd::instance().end();
        QVERIFY(world.exists("BORN0305.1980"));
        QCOMPARE(world.questions, asked);
        QCOMPARE(QString::fromStdString(world.settings.readText("Bio", "BD", "")),
                 QStringLiteral("1980/03/05"));
    }

    void listChoiceOfAnOldYearAndOtherCase() {
        World world;
        world.write("BORN0101.1750", "old");
        world.write("born0315.1980", "from windows");
        world.write("BORN0315.txt", "not listed");
        auto w = world.open();
        QCOMPARE(w->list()->count(), 2);
        QCOMPARE(w->list()->item(0)->text(), QStringLiteral("01月01日【1750年】あと 302日"));
        w->chooseListItem(0);
        QCOMPARE(w->yearBox()->value(), 1750);
        QCOMPARE(w->birthDate(), (CivilDate{1750, 1, 1}));
        QCOMPARE(w->textBox()->toPlainText(), QStringLiteral("old"));
        QVERIFY(!w->saveButton()->isEnabled());
        QVERIFY(w->deleteButton()->isEnabled());

        w->chooseListItem(1);
        QCOMPARE(w->textBox()->toPlainText(), QStringLiteral("from windows"));
        QCOMPARE(fs::path(w->entryPath()).filename().string(), std::string("born0315.1980"));
        type(w, QStringLiteral("!"));
        QVERIFY(w->save());
        QVERIFY(!world.exists("BORN0315.1980") ||
                fs::equivalent(world.data / "BORN0315.1980", world.data / "born0315.1980"));
        QCOMPARE(w->list()->count(), 2);
        w->deleteEntry();
        QVERIFY(!world.exists("born0315.1980"));
        QVERIFY(world.exists("BORN0315.txt"));
    }

    void openAndCloseUseTheStoredDate() {
        World world;
        world.settings.writeText("Bio", "BD", "1750/01/01");
        auto w = world.open();
        QCOMPARE(w->birthDate(), (CivilDate{1750, 1, 1}));
        QCOMPARE(hinagiku::birthday::openBirthdayRegister(world.settings, world.clock, {}),
                 w.data());
        w->setBirthDate(1999, 12, 31);
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QCOMPARE(QString::fromStdString(world.settings.readText("Bio", "BD", "")),
                 QStringLiteral("1999/12/31"));

        world.settings.writeText("Bio", "BD", "1980/02/30");
        QCOMPARE(world.open()->birthDate(), (CivilDate{1980, 2, 29}));
        closeAll();
        for (const char* damaged : {"abcd/ef/gh", "2024/02", "", "2024/13/45"}) {
            world.settings.writeText("Bio", "BD", damaged);
            auto again = world.open();
            QCOMPARE(again->birthDate(), (CivilDate{2024, 3, 5}));
            closeAll();
        }
    }

    void noDataFolderOpensNothing() {
        World world;
        world.settings.writeText("Calendar", "Directory", ".");
        int dialogs = 0;
        hinagiku::core::setFolderHooks({[&] { ++dialogs; }, {}});
        QVERIFY(!world.open());
        QCOMPARE(dialogs, 1);
        hinagiku::core::setFolderHooks({});
    }

    void chartInAnImage() {
        World world;
        auto w = world.open();
        w->setBirthDate(1980, 3, 5);
        QImage image = w->chart()->image();
        QCOMPARE(image.size(), QSize(300, 120));
        const int column = 300 / 30;
        // Today's day line is red in the current month; day 10 is black.
        QCOMPARE(QColor(image.pixel(5 * column, 2)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(10 * column, 2)), QColor(Qt::black));
        QCOMPARE(QColor(image.pixel(3, 60)), QColor(Qt::black));  // centre line
        QCOMPARE(QColor(image.pixel(3, 2)), QColor(Qt::white));
        w->nextMonth();
        image = w->chart()->image();
        QVERIFY(QColor(image.pixel(5 * column, 2)) != QColor(Qt::red));
        w->currentMonth();
        QCOMPARE(w->shownMonth(), (hinagiku::birthday::YearMonth{2024, 3}));
    }

    void pictures() {
        for (std::string_view name : hinagiku::birthday::kPictureNames) {
            const QPixmap picture = hinagiku::birthday::birthdayPicture(name);
            QVERIFY2(!picture.isNull(), std::string(name).c_str());
            QCOMPARE(picture.size(), QSize(64, 64));
        }
        QVERIFY(!hinagiku::birthday::birthdayPicture("HEBITUKAI").isNull());
        QVERIFY(hinagiku::birthday::birthdayPicture("nothing").isNull());
    }

    void greetingForTwo() {
        World world;
        world.write("BORN0305.1980", "Yamada");
        world.write("BORN0305.1990", "Suzuki");
        world.write("BORN0306.1980", "tomorrow");
        int opened = 0;
        QPointer<hinagiku::birthday::BirthdayGreeting> g = hinagiku::birthday::showBirthdayGreeting(
            world.settings, *hinagiku::encodeDate(2024, 3, 5), [&] { ++opened; });
        QVERIFY(QTest::qWaitForWindowExposed(g));
        QCOMPARE(g->windowTitle(), QStringLiteral("Happy Birthday!!"));
        QCOMPARE(g->entries(), 2);
        QCOMPARE(g->textBox()->toPlainText(),
                 QStringLiteral("【44歳の誕生日】1980/03/05 (水)\nYamada\n"
                                "【34歳の誕生日】1990/03/05 (月)\nSuzuki"));
        QVERIFY(g->textBox()->isReadOnly());
        QVERIFY(g->windowFlags() & Qt::WindowStaysOnTopHint);
        g->pictureButton()->click();
        QCOMPARE(opened, 1);
        g->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!g);
    }
};

QTEST_MAIN(BirthdayWindowsTest)
#include "test_birthday_windows.moc"
