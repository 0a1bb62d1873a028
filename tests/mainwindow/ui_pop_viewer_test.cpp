#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include "calendar/date_time.h"
#include "core/sound_cues.h"
#include "mainwindow/ui/moon_view.h"
#include "mainwindow/ui/panel_button.h"
#include "mainwindow/ui/pop_viewer.h"
#include "platform/sound_recorder.h"
#include "support/memory_settings.h"

using hinagiku::mainwindow::PopViewer;
using hinagiku::mainwindow::TMoon;

namespace {

hinagiku::DateTime utc(int y, int m, int d, int hh, int mm) {
    return *hinagiku::encodeDate(y, m, d) + *hinagiku::encodeTime(hh, mm, 0);
}

int darkPixels(const QImage& image, int x0, int x1, int y) {
    int dark = 0;
    for (int x = x0; x < x1; ++x) {
        if (image.pixelColor(x, y) == QColor(Qt::black))
            ++dark;
    }
    return dark;
}

}  // namespace

class PopViewerTest : public QObject {
    Q_OBJECT

    hinagiku::testing::MemorySettings settings_;
    hinagiku::platform::SoundRecorder sounds_;

  private slots:
    void initTestCase() { hinagiku::platform::setSoundOutput(&sounds_); }
    void cleanupTestCase() { hinagiku::platform::setSoundOutput(nullptr); }

    void contentAndColours() {
        QPointer<PopViewer> viewer = new PopViewer(settings_);
        viewer->setContent("2024/03/15(金)　3日後", {"【大安】", "line"}, Qt::white, Qt::blue);
        QCOMPARE(viewer->windowTitle(), QString("2024/03/15(金)　3日後"));
        QCOMPARE(viewer->text(), QString("【大安】\nline"));
        QCOMPARE(viewer->textBox()->palette().color(QPalette::Base), QColor(Qt::blue));
        QCOMPARE(viewer->textBox()->palette().color(QPalette::Text), QColor(Qt::white));
        QVERIFY(viewer->textBox()->isReadOnly());
        QVERIFY(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        delete viewer.data();
    }

    void buttonsFollowTheirActions() {
        PopViewer viewer(settings_);
        int opened = 0;
        for (int i = 0; i < PopViewer::kButtonCount; ++i) {
            QVERIFY(!viewer.button(static_cast<PopViewer::Button>(i))->isEnabled());
        }
        viewer.setButtonAction(PopViewer::Button::PhoneBook, [&] { ++opened; });
        auto* phone = viewer.button(PopViewer::Button::PhoneBook);
        QVERIFY(phone->isEnabled());
        QCOMPARE(phone->toolTip(), QString("電話帳"));
        QTest::mouseClick(phone, Qt::LeftButton);
        QCOMPARE(opened, 1);
        viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    }

    void escClosesAndFreesIt() {
        QPointer<PopViewer> viewer = new PopViewer(settings_);
        QSignalSpy closed(viewer.data(), &PopViewer::closed);
        sounds_.clear();
        viewer->show();
        QCOMPARE(sounds_.calls().size(), std::size_t{1});
        QCOMPARE(sounds_.calls()[0].wave, hinagiku::core::soundCueData("pop"));
        QTest::keyClick(viewer->textBox(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QTRY_VERIFY(viewer.isNull());
    }

    void losingActivationClosesIt() {
        QPointer<PopViewer> viewer = new PopViewer(settings_);
        QSignalSpy closed(viewer.data(), &PopViewer::closed);
        viewer->show();
        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_COMPARE(closed.count(), 1);
        QTRY_VERIFY(viewer.isNull());
    }

    void placedBesideTheCursorAndOnScreen() {
        PopViewer viewer(settings_);
        viewer.setAttribute(Qt::WA_DeleteOnClose, false);
        viewer.placeNear({100, 50});
        QCOMPARE(viewer.pos(), QPoint(120, 70));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        viewer.placeNear(screen.bottomRight());
        QCOMPARE(viewer.pos(),
                 QPoint(screen.width() - viewer.width(), screen.height() - viewer.height()));
        viewer.placeNear({-100, -100});
        QCOMPARE(viewer.pos(), QPoint(0, 0));
    }

    // The moon picture: dark where the moon is unlit.
    void moonPictureShading() {
        TMoon moon;
        QCOMPARE(moon.size(), QSize(64, 64));
        // First quarter (2004-01-29 6:03 UT): the left half dark.
        moon.setDate(utc(2004, 1, 29, 6, 3));
        const QImage quarter = moon.picture();
        QVERIFY(darkPixels(quarter, 4, 30, 28) >= 24);
        QCOMPARE(darkPixels(quarter, 33, 58, 28), 0);
        // Last quarter: the reverse.
        moon.setDate(utc(2004, 2, 13, 13, 40));
        const QImage last = moon.picture();
        QCOMPARE(darkPixels(last, 4, 29, 28), 0);
        QVERIFY(darkPixels(last, 33, 59, 28) >= 24);
        // New moon: the disc dark across; full moon: lit across.
        moon.setDate(utc(2004, 1, 22, 0, 0));
        QVERIFY(darkPixels(moon.picture(), 4, 59, 28) >= 53);
        moon.setDate(utc(2004, 2, 6, 8, 47));
        QCOMPARE(darkPixels(moon.picture(), 6, 57, 28), 0);
    }
};

QTEST_MAIN(PopViewerTest)
#include "ui_pop_viewer_test.moc"
