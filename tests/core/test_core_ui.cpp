#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

#include "core/ui/application.h"
#include "core/ui/busy_notice.h"
#include "core/ui/privacy_gate.h"
#include "core/ui/session_end.h"

#include <csignal>

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

    void privacyGateOpensUntilOneIsSet() {
        QVERIFY(passPrivacyGate(GuardedFeature::Diary));
        std::vector<GuardedFeature> asked;
        setPrivacyGate([&](GuardedFeature f) {
            asked.push_back(f);
            return f == GuardedFeature::Telephone;
        });
        QVERIFY(!passPrivacyGate(GuardedFeature::Diary));
        QVERIFY(passPrivacyGate(GuardedFeature::Telephone));
        QVERIFY(!passPrivacyGate(GuardedFeature::Period));
        QCOMPARE(asked.size(), std::size_t{3});
        setPrivacyGate({});
        QVERIFY(passPrivacyGate(GuardedFeature::Period));
    }

    // SIGTERM reaches the windows on the user-interface thread, not inside
    // the signal handler.
    void terminationSignalEndsTheSession() {
        int endings = 0;
        auto connection =
            QObject::connect(&SessionEnd::instance(), &SessionEnd::ending, [&] { ++endings; });
        SessionEnd::instance().end();
        QCOMPARE(endings, 1);
        SessionEnd::instance().installSignalHandlers();
        ::raise(SIGTERM);
        QCOMPARE(endings, 1);
        QTRY_COMPARE(endings, 2);
        ::raise(SIGHUP);
        QTRY_COMPARE(endings, 3);
        QObject::disconnect(connection);
    }
};

}  // namespace hinagiku::core

int main(int argc, char** argv) {
    hinagiku::core::Application app(argc, argv);
    hinagiku::core::CoreUiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_core_ui.moc"
