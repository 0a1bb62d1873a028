// The cycle tracker window, offscreen: opening through the gate and the
// folder rules, and the actions on a real cycle file.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QtTest>

#include <filesystem>

#include "core/data_folders.h"
#include "core/ui/privacy_gate.h"
#include "cycle/ui/cycle_open.h"
#include "cycle/ui/cycle_window.h"
#include "platform/profile_file.h"
#include "support/fake_clock.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

using hinagiku::cycle::CycleWindow;
using hinagiku::cycle::Field;
using hinagiku::cycle::Forecast;

namespace fs = std::filesystem;

namespace {

void closeAll() {
    if (CycleWindow* w = hinagiku::cycle::openCycleWindow()) {
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

struct World {
    hinagiku::testing::TempHome home;
    hinagiku::testing::MemorySettings settings;
    hinagiku::testing::FakeClock clock{*hinagiku::encodeDate(2001, 3, 10) + 0.5};
    fs::path card;
    std::vector<std::string> folderErrors;
    World() {
        card = home.path() / "card";
        fs::create_directories(home.path() / "data");
        fs::create_directories(card);
        settings.writeText("Calendar", "Directory", (home.path() / "data").string());
        settings.writeText("Privacy", "Directory", card.string());
        hinagiku::cycle::setFolderErrorSink(
            [this](std::string_view message) { folderErrors.emplace_back(message); });
    }
    ~World() {
        closeAll();
        hinagiku::cycle::setFolderErrorSink({});
        hinagiku::core::setPrivacyGate({});
    }
    QPointer<CycleWindow> open() {
        QPointer<CycleWindow> w =
            hinagiku::cycle::openCycleTracker(settings, clock, *hinagiku::encodeDate(2001, 1, 3));
        if (w) {
            w->setDeleteQuestion([](const QString&) { return true; });
            if (!QTest::qWaitForWindowExposed(w))
                qWarning("tracker not exposed");
        }
        return w;
    }
    std::string file() const {
        hinagiku::platform::ProfileFile f(card / "Period" / "Period.ini");
        return f.readText("Period", "Count", "") + "|" + f.readText("Period", "0", "") + "|" +
               f.readText("Period", "1", "");
    }
};

}  // namespace

class CycleWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void addDeleteAndMemo() {
        World world;
        auto w = world.open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Period"));
        QCOMPARE(w->statusLine()->text(), QStringLiteral("良い子が授かりますように.."));
        QCOMPARE(w->yearBox()->value(), 2001);
        QCOMPARE(w->dayBox()->value(), 3);
        w->add();
        QCOMPARE(w->dateList()->count(), 1);
        QCOMPARE(w->forecastList(Forecast::Common)->count(), 100);
        QCOMPARE(w->detailList(Forecast::Common)->count(), 29);
        QCOMPARE(w->detailGroup(Forecast::Common)->title(),
                 QStringLiteral("2001/01/03 (水)～2001/01/31 (水)"));
        w->dayBox()->setValue(31);
        w->add();
        QCOMPARE(w->statusLine()->text(), QStringLiteral("28日周期 (2001/01/03～2001/01/31)"));
        QCOMPARE(QString::fromStdString(world.file()), QStringLiteral("2|2001/01/03|2001/01/31"));
        QCOMPARE(w->fieldBox(Field::L)->text(), QStringLiteral("28"));

        // Typing a memo writes it at once; pasted breaks become blanks.
        QCOMPARE(w->memoLabel()->text(), QStringLiteral("2001/01/31のメモ："));
        w->memoBox()->setText(QStringLiteral("a\nb"));
        QCOMPARE(w->memoBox()->text(), QStringLiteral("a b"));
        hinagiku::platform::ProfileFile file(world.card / "Period" / "Period.ini");
        QCOMPARE(QString::fromStdString(file.readText("Comment", "2001/01/31", "")),
                 QStringLiteral("a b"));
        w->memoBox()->setText(QStringLiteral("a b☃"));
        QCOMPARE(w->memoBox()->text(), QStringLiteral("a b"));
        QVERIFY(w->statusLine()->text().contains(QStringLiteral("1023")));

        w->chooseDate(1);
        w->deleteSelected();
        QCOMPARE(w->dateList()->count(), 1);
        QCOMPARE(QString::fromStdString(world.file()), QStringLiteral("1|2001/01/03|"));
        QCOMPARE(QString::fromStdString(file.readText("Comment", "2001/01/31", "")),
                 QStringLiteral("a b"));
        w->chooseDate(0);
        w->deleteSelected();
        QCOMPARE(w->forecastList(Forecast::Common)->count(), 0);
        QCOMPARE(w->detailList(Forecast::Alternating)->count(), 0);
    }

    void fieldsAndPeriod() {
        World world;
        world.home.writeFile("card/Period/Period.ini", "[Period]\r\n0=2001/01/03\r\nCount=1\r\n");
        auto w = world.open();
        QCOMPARE(w->forecastList(Forecast::Common)->item(0)->text(),
                 QStringLiteral("2001/01/31 (水)"));
        // Typing is held to three characters; the program's texts are not.
        w->fieldBox(Field::Common)->clear();
        QCOMPARE(w->fieldBox(Field::Common)->text(), QStringLiteral("28"));  // 28 back at once
        w->fieldBox(Field::Common)->selectAll();
        QTest::keyClicks(w->fieldBox(Field::Common), QStringLiteral("3012"));
        QCOMPARE(w->fieldBox(Field::Common)->text(), QStringLiteral("301"));
        w->fieldBox(Field::L)->setText(QStringLiteral("1826"));
        QCOMPARE(w->fieldBox(Field::L)->text(), QStringLiteral("1826"));
        hinagiku::platform::ProfileFile file(world.card / "Period" / "Period.ini");
        QCOMPARE(QString::fromStdString(file.readText("Period", "LAvg", "")),
                 QStringLiteral("1826"));
        w->fieldBox(Field::Common)->setText(QStringLiteral("28"));
        w->periodBox()->setValue(20);
        QCOMPARE(QString::fromStdString(file.readText("Period", "Days", "")), QStringLiteral("20"));
        QVERIFY(w->detailList(Forecast::Common)
                    ->item(19)
                    ->text()
                    .endsWith(QStringLiteral("×　生理中")));
        w->chooseForecast(Forecast::Common, 1);
        QCOMPARE(w->detailGroup(Forecast::Common)->title(),
                 QStringLiteral("2001/01/31 (水)～2001/02/28 (水)"));
        // The date boxes lower an impossible day.
        w->yearBox()->setValue(2001);
        w->monthBox()->setValue(2);
        w->dayBox()->setValue(31);
        QCOMPARE(w->dayBox()->value(), 28);
        w->backToToday();
        QCOMPARE(w->dayBox()->value(), 10);
        QCOMPARE(w->monthBox()->value(), 3);
    }

    void refusingGateReadsAndMakesNothing() {
        World world;
        int asked = 0;
        hinagiku::core::setPrivacyGate([&](hinagiku::core::GuardedFeature feature) {
            ++asked;
            return feature != hinagiku::core::GuardedFeature::Period;
        });
        QVERIFY(!world.open());
        QCOMPARE(asked, 1);
        QVERIFY(!fs::exists(world.card / "Period"));
        QVERIFY(world.folderErrors.empty());
    }

    void unmountedMedium() {
        World world;
        world.settings.writeText("Privacy", "Directory",
                                 (world.home.path() / "gone" / "x").string());
        QVERIFY(!world.open());
        QCOMPARE(world.folderErrors.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(world.folderErrors[0]),
                 QStringLiteral("保存先ディレクトリが無いので\r処理を中断します。"));
        QVERIFY(!fs::exists(world.home.path() / "gone"));
    }

    void secondOpeningBringsTheWindowForward() {
        World world;
        auto w = world.open();
        QCOMPARE(world.open().data(), w.data());
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QVERIFY(!world.settings.readText("Peri", "top", "").empty());
    }
};

QTEST_MAIN(CycleWindowTest)
#include "test_cycle_window.moc"
