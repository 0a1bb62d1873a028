// The password window and the privacy gate, driven offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <functional>

#include "core/home_folder.h"
#include "core/privacy_lock.h"
#include "core/ui/message_box.h"
#include "core/ui/password_gate.h"
#include "core/ui/password_window.h"
#include "platform/profile_file.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"

namespace hinagiku::core {

class PasswordWindowTest : public QObject {
    Q_OBJECT

    std::vector<MessageRequest> messages_;

    // A home folder with a data folder and the [Password] lines given.
    static std::string iniWith(const testing::TempHome& home, const std::string& password) {
        const auto data = home.path() / "data";
        std::filesystem::create_directories(data);
        return "[Calendar]\r\nDirectory=" + data.string() + "\r\n[Password]\r\n" + password;
    }

    // Runs `drive` on the password window once it is shown modally.
    static void whenShown(std::function<void(PasswordWindow&)> drive) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, drive] {
            if (auto* w = qobject_cast<PasswordWindow*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                drive(*w);
            }
        });
        timer->start();
    }

    static void typeAndEnter(QLineEdit* field, const QString& text) {
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

  private slots:
    void init() {
        messages_.clear();
        setMessageFunction([this](const MessageRequest& r) {
            messages_.push_back(r);
            return QMessageBox::Ok;
        });
    }
    void cleanup() {
        setMessageFunction({});
        setPrivacyGate({});
    }

    void looksAndEnables() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini",
                       iniWith(home, "Password=pw\r\nDiary=2024/05/06 07:08:09\r\n"));
        platform::ProfileFile ini(settingsFilePath());
        PasswordWindow window(ini);
        QCOMPARE(window.windowTitle(), QStringLiteral("Password?"));
        QCOMPARE(window.size(), QSize(384, 178));
        QCOMPARE(window.passwordField()->echoMode(), QLineEdit::Password);
        QVERIFY(window.passwordField()->styleSheet().contains("lineedit-password-character: 42"));
        QCOMPARE(window.accessField(0)->text(), QStringLiteral("2024/05/06 07:08:09"));
        QCOMPARE(window.accessField(1)->text(), QStringLiteral("アクセスありません。"));
        QVERIFY(std::filesystem::is_directory(home.path() / "data" / "Password"));
        // A password stored: only the current-password field until it has text.
        QVERIFY(window.passwordField()->isEnabled());
        QVERIFY(!window.openButton()->isEnabled());
        QVERIFY(window.currentField()->isEnabled());
        QVERIFY(!window.newField()->isEnabled() && !window.setButton()->isEnabled());
        QTest::keyClicks(window.currentField(), "p");
        QVERIFY(window.newField()->isEnabled() && window.againField()->isEnabled());
        QVERIFY(window.setButton()->isEnabled() && window.telBox()->isEnabled());
        QTest::keyClicks(window.passwordField(), "x");
        QVERIFY(window.openButton()->isEnabled());
        QVERIFY(messages_.empty());
    }

    void noPasswordAndMissingFolder() {
        {
            testing::TempHome home;
            home.writeFile("hinagiku.ini", iniWith(home, ""));
            platform::ProfileFile ini(settingsFilePath());
            PasswordWindow window(ini);
            QVERIFY(!window.passwordField()->isEnabled());
            QVERIFY(!window.openButton()->isEnabled());
            QVERIFY(window.newField()->isEnabled() && window.setButton()->isEnabled());
            QVERIFY(!window.currentField()->isEnabled());
        }
        // No data folder, or one where nothing can be made: the box, and no
        // setting; never a folder "./Password".
        for (const char* folder : {".", "FILE"}) {
            testing::TempHome home;
            home.writeFile("plain", "x");
            const std::string value =
                std::string(folder) == "." ? "." : (home.path() / "plain").string();
            home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + value + "\r\n");
            platform::ProfileFile ini(settingsFilePath());
            messages_.clear();
            PasswordWindow window(ini);
            QCOMPARE(messages_.size(), 1u);
            QCOMPARE(messages_[0].text,
                     QStringLiteral("保存先ディレクトリが無いので\r処理を中断します。"));
            QVERIFY(!window.settingGroup()->isEnabled());
            QVERIFY(!std::filesystem::exists("Password"));
        }
    }

    void settingThePassword() {
        struct Case {
            const char* stored;
            const char* current;
            const char* fresh;
            const char* again;
            const char* message;
            const char* after;  // the stored password afterwards
        };
        const Case cases[] = {
            {"Password=old\r\n", "bad", "new", "new", "パスワードが異なるので変更しませんでした。",
             "old"},
            {"Password=old\r\n", "old", "new", "neu", "パスワードが不正なので変更しませんでした。",
             "old"},
            {"Password=old\r\n", "old", "\"q\"", "\"q\"",
             "パスワードが不正なので変更しませんでした。", "old"},
            {"", "", "first", "first", "パスワードを変更しました。", "first"},
            {"Password=old\r\n", "old", "new", "new", "パスワードを変更しました。", "new"},
        };
        for (const Case& c : cases) {
            testing::TempHome home;
            home.writeFile("hinagiku.ini", iniWith(home, c.stored));
            platform::ProfileFile ini(settingsFilePath());
            messages_.clear();
            PasswordWindow window(ini);
            window.show();
            if (*c.current != '\0')
                QTest::keyClicks(window.currentField(), c.current);
            typeAndEnter(window.newField(), c.fresh);
            QCOMPARE(window.focusWidget(), static_cast<QWidget*>(window.againField()));
            typeAndEnter(window.againField(), c.again);  // Enter acts as "設定"
            QVERIFY(!window.isVisible());
            QCOMPARE(messages_.front().text, QString::fromUtf8(c.message));
            QCOMPARE(ini.readText("Password", "Password", ""), c.after);
            if (std::string(c.after) != "old") {
                QCOMPARE(messages_.size(), 6u);  // the change, then five notices
                QVERIFY(messages_[1].text.startsWith(QStringLiteral("このパスワード機能は")));
                QVERIFY(messages_[5].text.startsWith(QStringLiteral("単なる牽制")));
                QCOMPARE(window.typedPassword(), QString::fromUtf8(c.fresh));
            } else {
                QCOMPARE(messages_.size(), 1u);
            }
        }
    }

    // Every feature with the lock on or off, tel on or off, typed right,
    // wrong or the window closed.
    void guardMatrix() {
        using F = GuardedFeature;
        struct Case {
            F feature;
            const char* lock;
            const char* typed;  // nullptr: no window expected; "": window closed
            bool opens;
        };
        const Case cases[] = {
            {F::Diary, "Use=0\r\n", nullptr, true},
            {F::Diary, "Use=1\r\n", "pw", true},
            {F::Diary, "Use=1\r\n", "PW", false},
            {F::Diary, "Use=1\r\n", "", false},
            {F::Period, "Use=1\r\n", "pw", true},
            {F::Period, "Use=1\r\n", "x", false},
            {F::Telephone, "Use=1\r\ntel=0\r\n", nullptr, true},
            {F::Telephone, "Use=1\r\ntel=1\r\n", "pw", true},
            {F::Telephone, "Use=1\r\ntel=1\r\n", "nope", false},
            {F::Telephone, "Use=0\r\ntel=1\r\n", nullptr, true},
        };
        for (const Case& c : cases) {
            testing::TempHome home;
            home.writeFile("hinagiku.ini", iniWith(home, std::string("Password=pw\r\n") + c.lock));
            platform::ProfileFile ini(settingsFilePath());
            testing::FakeClock clock(46000.5);  // 2025/12/09 12:00:00
            installPasswordGate(ini, clock);
            messages_.clear();
            bool shown = false;
            if (c.typed != nullptr) {
                const QString typed = QString::fromUtf8(c.typed);
                whenShown([&shown, typed](PasswordWindow& w) {
                    shown = true;
                    if (typed.isEmpty())
                        w.reject();
                    else
                        typeAndEnter(w.passwordField(), typed);
                });
            }
            QCOMPARE(passPrivacyGate(c.feature), c.opens);
            QCOMPARE(shown, c.typed != nullptr);
            const std::string record = ini.readText("Password", accessKey(c.feature), "");
            QCOMPARE(record, std::string(c.opens ? "2025/12/09 12:00:00" : ""));
            QCOMPARE(messages_.size(), c.opens ? 0u : 1u);
            if (!c.opens) {
                QCOMPARE(messages_[0].text, QStringLiteral("パスワードが違います。"));
                QCOMPARE(messages_[0].buttons, QMessageBox::StandardButtons(QMessageBox::Cancel));
            }
        }
    }

    void noPasswordYetThenSetInTheWindow() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", iniWith(home, "Use=1\r\n"));
        platform::ProfileFile ini(settingsFilePath());
        testing::FakeClock clock(46000.0);
        installPasswordGate(ini, clock);
        whenShown([](PasswordWindow& w) { w.reject(); });
        QVERIFY(!passPrivacyGate(GuardedFeature::Diary));  // nothing stored opens nothing
        whenShown([](PasswordWindow& w) {
            typeAndEnter(w.newField(), "fresh");
            typeAndEnter(w.againField(), "fresh");
        });
        QVERIFY(passPrivacyGate(GuardedFeature::Diary));
        QCOMPARE(ini.readText("Password", "Password", ""), "fresh");
    }

    void oneWindowAtATime() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", iniWith(home, "Password=pw\r\nUse=1\r\n"));
        platform::ProfileFile ini(settingsFilePath());
        bool inner = true;
        whenShown([&](PasswordWindow& w) {
            // A timer tick's diary prompt while the window is open.
            inner = askPassword(ini);
            typeAndEnter(w.passwordField(), "pw");
        });
        QVERIFY(askPassword(ini));
        QVERIFY(!inner);
    }
};

}  // namespace hinagiku::core

QTEST_MAIN(hinagiku::core::PasswordWindowTest)
#include "test_password_window.moc"
