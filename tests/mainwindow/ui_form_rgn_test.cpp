#include <QWidget>
#include <QtTest>
#include <memory>

#include "mainwindow/ui/form_rgn.h"

using hinagiku::mainwindow::TFormRgn;

class FormRgnTest : public QObject {
    Q_OBJECT

  private slots:
    void roundedRectangleOfTheBusyNotice() {
        QWidget window;
        window.resize(229, 70);
        TFormRgn outline(window);
        outline.setAll(0, 0, 229, 70, 30, 30, TFormRgn::Style::RoundRect);
        const QRegion mask = window.mask();
        QVERIFY(mask.contains(QPoint(114, 35)));
        QVERIFY(mask.contains(QPoint(114, 0)));
        QVERIFY(mask.contains(QPoint(0, 35)));
        QVERIFY(mask.contains(QPoint(228, 35)));
        QVERIFY(!mask.contains(QPoint(1, 1)));  // corners cut off
        QVERIFY(!mask.contains(QPoint(227, 68)));
        QVERIFY(!mask.contains(QPoint(229, 35)));  // right edge exclusive
    }

    void stylesAndDisabling() {
        QWidget window;
        window.resize(400, 300);
        TFormRgn outline(window);  // defaults: 0,0,400,300 rounded
        QVERIFY(!window.mask().isEmpty());
        outline.setStyle(TFormRgn::Style::Rect);
        QVERIFY(window.mask().contains(QPoint(0, 0)));
        QVERIFY(window.mask().contains(QPoint(399, 299)));
        outline.setStyle(TFormRgn::Style::Ellipse);
        QVERIFY(window.mask().contains(QPoint(200, 150)));
        QVERIFY(window.mask().contains(QPoint(200, 2)));
        QVERIFY(!window.mask().contains(QPoint(20, 20)));
        outline.setRgnLeft(100);
        QVERIFY(window.mask().contains(QPoint(102, 150)));
        QVERIFY(!window.mask().contains(QPoint(98, 150)));
        outline.setEnabled(false);
        QVERIFY(window.mask().isEmpty());
        outline.setEnabled(true);
        QVERIFY(!window.mask().isEmpty());
    }

    void destructionGivesTheRectangleBack() {
        QWidget window;
        auto outline = std::make_unique<TFormRgn>(window);
        QVERIFY(!window.mask().isEmpty());
        outline.reset();
        QVERIFY(window.mask().isEmpty());
    }
};

QTEST_MAIN(FormRgnTest)
#include "ui_form_rgn_test.moc"
