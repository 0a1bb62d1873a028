#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

#include "core/ui/application.h"
#include "core/ui/busy_notice.h"

namespace hinagiku::core {

// Throws from an event handler, as a user action that fails would.
class Failing : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("\"x.ini\": cannot write");
        return QObject::event(e);
    }
};

class CoreUiTest : public QObject {
    Q_OBJECT
  private slots:
    void busyNoticeLooksAsSpecified() {
        auto* notice = new BusyNotice(QStringLiteral("メモを読み込んでいます。"));
        notice->showNow();
        QCOMPARE(notice->size(), QSize(229, 70));
        QVERIFY(notice->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(notice->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!notice->mask().isEmpty());
        QVERIFY(!notice->mask().contains(QPoint(0, 0)));  // rounded corner
        QVERIFY(notice->mask().contains(QPoint(114, 35)));
        QCOMPARE(notice->text(), QStringLiteral("メモを読み込んでいます。"));
        QStringList texts;
        for (auto* label : notice->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("Hinagiku\nVersion 2.70")));
        QPointer<BusyNotice> guard(notice);
        notice->close();
        QTRY_VERIFY(guard.isNull());  // freed when closed
    }

    void unhandledErrorIsReportedAndTheProgramGoesOn() {
        QString shown;
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                title = box->windowTitle();
                box->accept();
            }
        });
        Failing failing;
        QEvent userEvent(QEvent::User);
        QCoreApplication::sendEvent(&failing, &userEvent);
        QCOMPARE(title, QStringLiteral("Hinagiku"));
        QVERIFY(shown.contains(QStringLiteral("x.ini")));
    }
};

}  // namespace hinagiku::core

int main(int argc, char** argv) {
    hinagiku::core::Application app(argc, argv);
    hinagiku::core::CoreUiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_core_ui.moc"
