#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <vector>

#include "mainwindow/ui/tray_icon.h"

using hinagiku::mainwindow::TrayIconError;
using hinagiku::mainwindow::TTrayIcon;
using Message = TTrayIcon::MouseMessage;

namespace {

QIcon someIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

void click(TTrayIcon& icon) {
    icon.handleMouseMessage(Message::LeftDown, {});
    icon.handleMouseMessage(Message::LeftUp, {});
}

}  // namespace

class TrayIconTest : public QObject {
    Q_OBJECT

  private slots:
    void singleClickWaitsForTheDoubleClickTime() {
        TTrayIcon icon;
        QSignalSpy clicks(&icon, &TTrayIcon::OnClick);
        QSignalSpy doubles(&icon, &TTrayIcon::OnDblClick);
        QElapsedTimer elapsed;
        elapsed.start();
        click(icon);
        QVERIFY(icon.clickPending());
        QCOMPARE(clicks.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(clicks.count(), 1, icon.clickDelay() + 1000);
        QVERIFY(elapsed.elapsed() >= icon.clickDelay() - 20);
        QVERIFY(!icon.clickPending());
        QCOMPARE(doubles.count(), 0);
    }

    void doubleClickFiresOnlyDoubleClick() {
        TTrayIcon icon;
        QSignalSpy clicks(&icon, &TTrayIcon::OnClick);
        QSignalSpy doubles(&icon, &TTrayIcon::OnDblClick);
        click(icon);
        icon.handleMouseMessage(Message::LeftDouble, {});
        icon.handleMouseMessage(Message::LeftUp, {});
        QCOMPARE(doubles.count(), 1);
        QTest::qWait(icon.clickDelay() + 200);
        QCOMPARE(clicks.count(), 0);
        // The next single click works again.
        click(icon);
        QTRY_COMPARE_WITH_TIMEOUT(clicks.count(), 1, icon.clickDelay() + 1000);
    }

    void disabledIconIgnoresTheMouseAndDropsThePendingClick() {
        TTrayIcon icon;
        QSignalSpy clicks(&icon, &TTrayIcon::OnClick);
        QSignalSpy doubles(&icon, &TTrayIcon::OnDblClick);
        click(icon);
        icon.setEnabled(false);
        QVERIFY(!icon.clickPending());
        icon.handleMouseMessage(Message::LeftDouble, {});
        click(icon);
        QTest::qWait(icon.clickDelay() + 200);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(doubles.count(), 0);
    }

    void mouseUpHandlerTakesPrecedenceOverClick() {
        TTrayIcon icon;
        QSignalSpy clicks(&icon, &TTrayIcon::OnClick);
        QSignalSpy ups(&icon, &TTrayIcon::OnMouseUp);
        click(icon);
        QCOMPARE(ups.count(), 1);
        QVERIFY(!icon.clickPending());
        QTest::qWait(icon.clickDelay() + 100);
        QCOMPARE(clicks.count(), 0);
    }

    void menusOpenByThemselvesWithAutoPopup() {
        QWidget owner;
        TTrayIcon icon(&owner);
        QMenu left;
        left.addAction("a");
        QMenu right;
        right.addAction("b");
        icon.setLbPopupMenu(&left);
        icon.setRbPopupMenu(&right);
        QSignalSpy opened(&icon, &TTrayIcon::menuOpened);
        QSignalSpy downs(&icon, &TTrayIcon::OnMouseDown);
        icon.handleMouseMessage(Message::LeftDown, {10, 10});
        icon.handleMouseMessage(Message::RightDown, {10, 10});
        QCOMPARE(opened.count(), 2);
        QCOMPARE(opened.at(0).at(0).value<QMenu*>(), &left);
        QCOMPARE(opened.at(1).at(0).value<QMenu*>(), &right);
        QCOMPARE(downs.count(), 0);
        left.close();
        right.close();
        icon.setAutoPopup(false);
        icon.handleMouseMessage(Message::RightDown, {10, 10});
        icon.handleMouseMessage(Message::MiddleDown, {10, 10});
        QCOMPARE(opened.count(), 2);
        QCOMPARE(downs.count(), 2);
        QCOMPARE(downs.at(0).at(0).value<TTrayIcon::Button>(), TTrayIcon::Button::Right);
        QCOMPARE(downs.at(1).at(0).value<TTrayIcon::Button>(), TTrayIcon::Button::Middle);
    }

    void tipVisibilityAndIds() {
        TTrayIcon first;
        auto second = std::make_unique<TTrayIcon>();
        QCOMPARE(second->id(), first.id() + 1);
        QCOMPARE(first.tipHelp(), QString("TipHelp"));
        first.setTipHelp(QString(80, QChar(u'あ')));
        QCOMPARE(first.tipHelp().size(), 62);
        first.setVisible(true);
        QVERIFY(!first.isShown());  // no picture yet
        first.setIcon(someIcon());
        QVERIFY(first.isShown());
        first.setVisible(false);
        QVERIFY(!first.isShown());
        const int last = second->id();
        TTrayIcon third;
        QCOMPARE(third.id(), last + 1);
    }

    void moreThanOneHundredIconsIsAnError() {
        std::vector<std::unique_ptr<TTrayIcon>> icons;
        bool raised = false;
        try {
            for (int i = 0; i <= TTrayIcon::kMaxIcons; ++i)
                icons.push_back(std::make_unique<TTrayIcon>());
        } catch (const TrayIconError& e) {
            raised = true;
            QCOMPARE(QString::fromUtf8(e.what()),
                     QString("タスクトレイにアイコンを登録できません。"));
        }
        QVERIFY(raised);
        QCOMPARE(static_cast<int>(icons.size()), TTrayIcon::kMaxIcons);
    }
};

QTEST_MAIN(TrayIconTest)
#include "ui_tray_icon_test.moc"
