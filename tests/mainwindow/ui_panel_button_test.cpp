#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "mainwindow/ui/panel_button.h"

using hinagiku::mainwindow::TPanelButton;
using State = TPanelButton::State;

namespace {

// Four 8 x 8 images side by side: red, green, blue, yellow.
QPixmap fourGlyphs() {
    QPixmap pixmap(32, 8);
    QPainter painter(&pixmap);
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(i * 8, 0, 8, 8, colors[i]);
    return pixmap;
}

QColor colorOf(const QPixmap& pixmap) {
    return pixmap.toImage().pixelColor(4, 4);
}

void enter(QWidget& widget) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&widget, &event);
}

void leave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

}  // namespace

class PanelButtonTest : public QObject {
    Q_OBJECT

  private slots:
    void glyphImagesServeTheStates() {
        TPanelButton button;
        button.setGlyph(fourGlyphs());
        button.setNumGlyphs(4);
        QCOMPARE(colorOf(button.glyphFor(State::Hot)), QColor(Qt::red));
        QCOMPARE(colorOf(button.glyphFor(State::Disabled)), QColor(Qt::green));
        QCOMPARE(colorOf(button.glyphFor(State::Down)), QColor(Qt::blue));
        QCOMPARE(colorOf(button.glyphFor(State::Flat)), QColor(Qt::yellow));
        // With one image everything falls back to it; disabled is greyed.
        button.setNumGlyphs(1);
        QCOMPARE(button.glyphFor(State::Flat).width(), 32);
        QCOMPARE(colorOf(button.glyphFor(State::Down)), QColor(Qt::red));
        QVERIFY(!button.glyphFor(State::Disabled).isNull());
        QVERIFY(colorOf(button.glyphFor(State::Disabled)) != QColor(Qt::red));
        button.setNumGlyphs(9);
        QCOMPARE(button.numGlyphs(), 4);
    }

    void statesFollowTheMouse() {
        TPanelButton button;
        QCOMPARE(button.size(), QSize(31, 31));
        QSignalSpy clicks(&button, &TPanelButton::clicked);
        QCOMPARE(button.state(), State::Flat);
        enter(button);
        QCOMPARE(button.state(), State::Hot);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.state(), State::Down);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(button.state(), State::Hot);
        QCOMPARE(clicks.count(), 1);
        // Released outside: no click.
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 60));
        QCOMPARE(clicks.count(), 1);
        leave(button);
        QCOMPARE(button.state(), State::Flat);
        button.setEnabled(false);
        QCOMPARE(button.state(), State::Disabled);
    }

    void downShiftsTheGlyphByOnePixel() {
        TPanelButton button;
        QPixmap dot(1, 1);
        dot.fill(Qt::red);
        button.setGlyph(dot);
        const QImage flat = button.grab().toImage();
        QCOMPARE(flat.pixelColor(15, 15), QColor(Qt::red));
        button.setDown(true);
        const QImage down = button.grab().toImage();
        QCOMPARE(down.pixelColor(16, 16), QColor(Qt::red));
        QVERIFY(down.pixelColor(15, 15) != QColor(Qt::red));
    }

    void acceleratorFiresClick() {
        TPanelButton button;
        button.setText("&Print");
        QSignalSpy clicks(&button, &TPanelButton::clicked);
        button.show();
        button.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&button));
        QTest::keyClick(&button, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(clicks.count(), 1);  // a shortcut animates the click
    }
};

QTEST_MAIN(PanelButtonTest)
#include "ui_panel_button_test.moc"
