// The settings dialog driven as a user drives it (offscreen): each control
// writes its setting at once, a second reader of the file sees it.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <filesystem>
#include <stdexcept>

#include "core/home_folder.h"
#include "core/option_table.h"
#include "core/ui/message_box.h"
#include "core/ui/settings/settings_dialog.h"
#include "platform/atomic_file.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

class RecordingHost final : public SettingsHost {
  public:
    void setTimerPeriod(int ms) override { timerPeriod = ms; }
    void applyCalendarColors() override { ++calendarColors; }
    void miniClockBaseChanged(bool ticked) override { miniClock.push_back(ticked); }
    void refreshDayView() override { ++dayViews; }
    void setLauncherAutoPopup(bool on) override { autoPopup = on; }
    void setSettingsItemChecked(bool checked) override { itemChecked = checked; }
    bool toolAvailable(HostTool) const override { return false; }
    void openTool(HostTool) override {}
    QRect mainWindowGeometry() const override { return {100, 50, 240, 190}; }

    int timerPeriod = 0;
    int calendarColors = 0;
    std::vector<bool> miniClock;
    int dayViews = 0;
    bool autoPopup = true;
    bool itemChecked = false;
};

// The settings file that refuses every write, as a read-only or full one does.
class RefusingSettings final : public platform::Settings {
  public:
    explicit RefusingSettings(platform::Settings& inner) : inner_(inner) {}
    std::string readText(std::string_view s, std::string_view k,
                         std::string_view d) const override {
        return inner_.readText(s, k, d);
    }
    void writeText(std::string_view, std::string_view, std::string_view) override {
        ++refused;
        throw platform::IoError("\"hinagiku.ini\": cannot write: Read-only file system");
    }
    std::vector<std::string> listKeys(std::string_view s) const override {
        return inner_.listKeys(s);
    }
    void eraseSection(std::string_view) override {
        throw platform::IoError("\"hinagiku.ini\": cannot write");
    }
    std::vector<platform::SettingsEntry> listEntries(std::string_view s) const override {
        return inner_.listEntries(s);
    }
    void edit(const std::function<void(platform::SettingsEdit&)>&) override {
        ++refused;
        throw platform::IoError("\"hinagiku.ini\": cannot write: Read-only file system");
    }
    int refused = 0;

  private:
    platform::Settings& inner_;
};

const QColor kPicked(1, 2, 3);  // stored as 0x030201
constexpr int kPickedValue = 0x030201;

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

    std::vector<MessageRequest> messages_;
    QMessageBox::StandardButton answer_ = QMessageBox::Yes;

    SettingsDialogChoosers choosers(const std::string& folder, const std::string& picture) {
        SettingsDialogChoosers c;
        c.color = [](QWidget*, const QColor&) { return std::optional<QColor>(kPicked); };
        c.folder = [folder](QWidget*, const QString&) { return QString::fromStdString(folder); };
        c.sound = [](QWidget*, const QString&) { return QStringLiteral("/sounds/chime.wav"); };
        c.picture = [picture](QWidget*, const QString&) { return QString::fromStdString(picture); };
        c.program = [](QWidget*, const QString&) { return QStringLiteral("/usr/bin/true"); };
        return c;
    }

    static void typeInto(QWidget* field, const QString& text) {
        // Typing replaces the selected text, as a user does after Ctrl+A.
        field->setFocus();
        if (auto* spin = qobject_cast<QSpinBox*>(field))
            spin->selectAll();
        else if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

  private slots:
    void init() {
        messages_.clear();
        answer_ = QMessageBox::Yes;
        setMessageFunction([this](const MessageRequest& r) {
            messages_.push_back(r);
            return answer_;
        });
    }
    void cleanup() { setMessageFunction({}); }

    // Every row of the option table with a control of its own: an event,
    // then a second reader of the file.
    void everyControlWritesAtOnce() {
        testing::TempHome home;
        const auto data = home.path() / "data";
        const auto other = home.path() / "other";
        std::filesystem::create_directories(data);
        std::filesystem::create_directories(other);
        home.writeFile("pic.bmp", "BM");
        home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data.string() +
                                           "\r\n[Setup]\r\nReboot=0\r\n[Form]\r\nminitokei=1\r\n");
        platform::ProfileFile ini(settingsFilePath());
        platform::ProfileFile reader(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host,
                              choosers(other.string(), (home.path() / "pic.bmp").string()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(host.miniClock, std::vector<bool>{true});  // loading set mini clock mode
        QCOMPARE(host.timerPeriod, 1000);
        QVERIFY(!host.autoPopup);
        QVERIFY(host.itemChecked);
        QVERIFY(host.calendarColors > 0);
        // Another window writes while the dialog is open; it survives.
        reader.writeText("Elsewhere", "Kept", "yes");

        int tested = 0;
        for (const OptionRow& row : optionTable()) {
            QWidget* w = dialog.control(row.section, row.key);
            if (w == nullptr || (row.rules & (kUserOnly | kWrittenAtClose)) != 0)
                continue;
            dialog.pages()->setCurrentWidget(dialog.pages()->widget(0));
            for (int i = 0; i < dialog.pages()->count(); ++i) {
                if (dialog.pages()->widget(i)->isAncestorOf(w))
                    dialog.pages()->setCurrentIndex(i);
            }
            QString expected;
            const QString what = QString::fromStdString(row.section + "." + row.key);
            switch (row.kind) {
                case OptionKind::Boolean: {
                    auto* box = qobject_cast<QCheckBox*>(w);
                    QVERIFY2(box->isEnabled(), qPrintable(what));
                    expected = box->isChecked() ? "0" : "1";
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
                    break;
                }
                case OptionKind::Choice: {
                    // "非表示" would disable the next row, the launcher item.
                    const int last = row.key == "Reboot" ? 0 : row.maximum;
                    auto* radio = w->findChild<QRadioButton*>(QStringLiteral("choice%1").arg(last));
                    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
                    expected = QString::number(last);
                    break;
                }
                case OptionKind::Number:
                    if ((row.rules & kUnbounded) != 0) {
                        typeInto(w, "123");
                        expected = "123";
                    } else {
                        typeInto(w, QString::number(row.maximum + 16));
                        expected = QString::number(row.maximum);
                    }
                    break;
                case OptionKind::Color:
                    QTest::mouseClick(dialog.colorButton(row.section, row.key), Qt::LeftButton);
                    expected = QString::number(kPickedValue);
                    break;
                case OptionKind::Text:
                    if (auto* combo = qobject_cast<QComboBox*>(w)) {
                        combo->setFocus();
                        QTest::keyClick(combo, Qt::Key_End);
                        expected = combo->currentText();
                    } else {
                        typeInto(w, "xyz");
                        expected = "xyz";
                    }
                    break;
                case OptionKind::SoundFile:
                    QTest::mouseClick(dialog.button(QString::fromStdString(row.section + "." +
                                                                           row.key + ".button")),
                                      Qt::LeftButton);
                    expected = "/sounds/chime.wav";
                    break;
                case OptionKind::PictureFile:
                    QTest::mouseClick(dialog.button("PictureChoose"), Qt::LeftButton);
                    expected = QString::fromStdString((home.path() / "pic.bmp").string());
                    break;
                case OptionKind::Folder:
                    QTest::mouseClick(
                        dialog.button(row.section == "Calendar" ? "DataFolderButton"
                                                                : "PrivateFolderButton"),
                        Qt::LeftButton);
                    // The private folder equal to the (new) data folder is stored empty.
                    expected = row.section == "Calendar" ? QString::fromStdString(other.string())
                                                         : QString();
                    break;
            }
            ++tested;
            QCOMPARE(QString::fromStdString(reader.readText(row.section, row.key, "<absent>")),
                     expected);
        }
        QVERIFY(tested > 60);
        // Side effects.
        QCOMPARE(host.timerPeriod, 10000);
        QCOMPARE(host.miniClock, (std::vector<bool>{true, false}));
        QVERIFY(host.calendarColors >= 7);
        QCOMPARE(reader.readText("Elsewhere", "Kept", ""), "yes");
    }

    void typedValuesAreClampedAndSideWritesHappen() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[Setup]\r\nReboot=0\r\nReboot_exec=1\r\n");
        platform::ProfileFile ini(settingsFilePath());
        platform::ProfileFile reader(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host, choosers("", ""));
        dialog.show();
        typeInto(dialog.control("Calendar", "before"), "75");
        QCOMPARE(reader.readText("Calendar", "before", ""), "59");
        typeInto(dialog.control("Form", "Interval"), "2000");
        QCOMPARE(reader.readText("Form", "Interval", ""), "2000");
        QCOMPARE(host.timerPeriod, 2000);
        typeInto(dialog.control("Memo", "FontSize"), "-7");
        QCOMPARE(reader.readText("Memo", "FontSize", ""), "-7");

        // "非表示" unticks and disables the launcher item.
        auto* rebootExec = qobject_cast<QCheckBox*>(dialog.control("Setup", "Reboot_exec"));
        QVERIFY(rebootExec->isChecked() && rebootExec->isEnabled());
        dialog.control("Setup", "Reboot")->findChild<QRadioButton*>("choice1")->click();
        QCOMPARE(reader.readText("Setup", "Reboot_exec", ""), "0");
        QVERIFY(!rebootExec->isEnabled());

        // Emptied dialler title returns to its default.
        auto* closeTitle = qobject_cast<QLineEdit*>(dialog.control("TelePhone", "CloseTitle"));
        closeTitle->setEnabled(true);
        typeInto(closeTitle, "");
        QCOMPARE(reader.readText("TelePhone", "CloseTitle", ""), "ダイヤラ");

        // A name the file cannot hold is refused; the old value stays.
        auto* mailer = qobject_cast<QLineEdit*>(dialog.control("TelePhone", "Mailer"));
        typeInto(mailer, "mutt");
        messages_.clear();
        QKeyEvent accent(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("é"));
        QApplication::sendEvent(mailer, &accent);
        QCOMPARE(reader.readText("TelePhone", "Mailer", ""), "mutt");
        QCOMPARE(mailer->text(), QStringLiteral("mutt"));
        QCOMPARE(messages_.size(), 1u);

        // Page titles and column titles of the selected tab.
        auto* tabs = dialog.findChild<QTabBar*>("PhoneTabs");
        tabs->setCurrentIndex(3);
        typeInto(dialog.findChild<QLineEdit*>("TelePhone.Title"), "Sa");
        QCOMPARE(reader.readText("TelePhone", "Title_3", ""), "Sa");
        QCOMPARE(tabs->tabText(3), QStringLiteral("Sa"));
        typeInto(dialog.findChild<QLineEdit*>("TelePhone.Section_2"), "Tel");
        QCOMPARE(reader.readText("TelePhone", "3Section_2", ""), "Tel");

        // Today's holiday law makes the Happy Monday switch meaningless.
        auto* law = qobject_cast<QCheckBox*>(dialog.control("CalendarEx", "Law"));
        QWidget* happyMonday = dialog.control("CalendarEx", "Happy_Monday");
        QVERIFY(happyMonday->isEnabled());
        law->click();
        QCOMPARE(reader.readText("CalendarEx", "Law", ""), "1");
        QVERIFY(!happyMonday->isEnabled());
        law->click();
        QCOMPARE(reader.readText("CalendarEx", "Law", ""), "0");
        QVERIFY(happyMonday->isEnabled());

        // Period_Cap only when the dialog closes.
        typeInto(dialog.control("Form", "Period_Cap"), "Cycle");
        QCOMPARE(reader.readText("Form", "Period_Cap", "<absent>"), "<absent>");
        dialog.close();
        QCOMPARE(reader.readText("Form", "Period_Cap", ""), "Cycle");
        QVERIFY(host.autoPopup);
        QVERIFY(!host.itemChecked);
    }

    void colorsKeepTheirNumbersOnCancel() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[To_do]\r\nPastColor=0x80000005\r\n");
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;
        SettingsDialogChoosers c;
        c.color = [](QWidget*, const QColor&) { return std::optional<QColor>(); };
        SettingsDialog dialog(ini, host, c);
        QCOMPARE(ini.readText("To_do", "PastColor", ""), "-2147483643");
        const int before = host.calendarColors;
        dialog.colorButton("CalendarEx", "HolidayColor")->click();
        QCOMPARE(ini.readText("CalendarEx", "HolidayColor", ""), "255");
        QCOMPARE(host.calendarColors, before + 1);
        dialog.colorButton("To_do", "PastColor")->click();
        QCOMPARE(ini.readText("To_do", "PastColor", ""), "-2147483643");
    }

    void openingLeavesWhatTheListShowed() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini",
                       "[Setup]\r\nCal_DBLC=9\r\nPeriod=x\r\n[Calendar]\r\nbefore=75\r\n"
                       "[Form]\r\nInterval=abc\r\nToday_pop=1\r\nTray_icon=7\r\n"
                       "[CalendarEx]\r\nSundayColor=0x80000008\r\n[TelePhone]\r\nCloseTitle=\r\n"
                       "[Memo]\r\nFontName=\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83"
                       "\x4e\r\n[Nikki]\r\nFontName=\xFF\xFE broken\r\n");
        platform::ProfileFile ini(settingsFilePath());
        std::vector<std::string> listed;
        for (const OptionRow& row : optionTable())
            listed.push_back(loadedValue(ini, row));
        const std::string nikkiFont = home.readFile("hinagiku.ini");
        RecordingHost host;
        SettingsDialog dialog(ini, host);
        std::size_t i = 0;
        for (const OptionRow& row : optionTable()) {
            const std::string& value = listed[i++];
            if ((row.rules & (kNotAtCreation | kWrittenAtClose)) != 0)
                continue;
            if (row.section == "Nikki" && row.key == "FontName")
                continue;  // not CP932: left as the file has it
            const std::string stored = ini.readText(row.section, row.key, "<absent>");
            if (stored == "<absent>") {
                // Only the selected phone page's titles are loaded.
                QVERIFY2(row.section == "TelePhone" && row.key[0] != '0' &&
                             row.key.rfind("Title_0", 0) != 0,
                         row.key.c_str());
                QCOMPARE(loadedValue(ini, row), value);
                continue;
            }
            QCOMPARE(QString::fromStdString(stored), QString::fromStdString(value));
        }
        QVERIFY(home.readFile("hinagiku.ini").find("\xFF\xFE broken") != std::string::npos);
        QVERIFY(home.readFile("hinagiku.ini").find("Tray_icon=7") != std::string::npos);
        // The font that is not installed is shown and kept.
        auto* font = qobject_cast<QComboBox*>(dialog.control("Memo", "FontName"));
        QCOMPARE(font->currentText(), QStringLiteral("ＭＳ Ｐゴシック"));
    }

    void refusedWritesReportOnceAndRevert() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[Form]\r\nWaveplay=0\r\n");
        platform::ProfileFile file(settingsFilePath());
        RefusingSettings ini(file);
        RecordingHost host;
        SettingsDialog dialog(ini, host);
        // Creation had writes to make: one report for all of them.
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        auto* wave = qobject_cast<QCheckBox*>(dialog.control("Form", "Waveplay"));
        QVERIFY(!wave->isChecked());
        wave->click();
        QCOMPARE(messages_.size(), 2u);
        QVERIFY(!wave->isChecked());  // reverted to what the file holds
        typeInto(dialog.control("Calendar", "before"), "5");
        QCOMPARE(messages_.size(), 3u);
        QCOMPARE(qobject_cast<QSpinBox*>(dialog.control("Calendar", "before"))->value(), 0);
    }

    void startUpOptionsAndPrivateFolderNeedTheDataFolder() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[Form]\r\nToday_pop=1\r\nTodo_pop=1\r\n");
        const auto data = home.path() / "data";
        std::filesystem::create_directories(data);
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host, choosers((data.string() + "/"), ""));
        QCOMPARE(ini.readText("Form", "Today_pop", ""), "0");
        QCOMPARE(ini.readText("Form", "Todo_pop", ""), "0");
        QVERIFY(!dialog.control("Form", "Today_pop")->isEnabled());
        QVERIFY(!dialog.button("PrivateFolderButton")->isEnabled());
        dialog.button("DataFolderButton")->click();
        QCOMPARE(ini.readText("Calendar", "Directory", ""), data.string());
        QVERIFY(dialog.control("Form", "Today_pop")->isEnabled());
        QVERIFY(dialog.button("PrivateFolderButton")->isEnabled());
        QCOMPARE(qobject_cast<QLabel*>(dialog.control("Privacy", "Directory"))->text(),
                 QString::fromStdString(data.string()));
        // The root stays, with the warning.
        SettingsDialogChoosers root = choosers("/", "");
        SettingsDialog second(ini, host, root);
        messages_.clear();
        second.button("DataFolderButton")->click();
        QCOMPARE(ini.readText("Calendar", "Directory", ""), "/");
        QCOMPARE(messages_.back().text, QString::fromUtf8(kRootFolderWarning.data()));
    }

    void passwordSwitchFlows() {
        struct Case {
            const char* name;
            const char* use;
            bool passwordMatches;
            QMessageBox::StandardButton answer;
            bool checkedAfter;
            const char* useAfter;
            bool passwordKept;
        };
        const Case cases[] = {
            {"on, right", "0", true, QMessageBox::Yes, true, "1", true},
            {"on, wrong", "0", false, QMessageBox::Yes, false, "0", true},
            {"off, wrong", "1", false, QMessageBox::Yes, true, "1", true},
            {"off, right, はい", "1", true, QMessageBox::Yes, false, "<absent>", false},
            {"off, right, いいえ", "1", true, QMessageBox::No, false, "0", true},
        };
        for (const Case& c : cases) {
            testing::TempHome home;
            home.writeFile("hinagiku.ini", std::string("[Password]\r\nUse=") + c.use +
                                               "\r\nPassword=pw\r\nDiary=2020/01/01 00:00:00\r\n");
            platform::ProfileFile ini(settingsFilePath());
            RecordingHost host;
            int asked = 0;
            SettingsDialogChoosers ch;
            ch.password = [&](QWidget*) {
                ++asked;
                return c.passwordMatches;
            };
            SettingsDialog dialog(ini, host, ch);
            QCOMPARE(asked, 0);  // loading runs no handler
            answer_ = c.answer;
            auto* box = qobject_cast<QCheckBox*>(dialog.control("Password", "Use"));
            box->click();
            QCOMPARE(asked, 1);
            QVERIFY2(box->isChecked() == c.checkedAfter, c.name);
            QCOMPARE(QString::fromStdString(ini.readText("Password", "Use", "<absent>")),
                     QString::fromUtf8(c.useAfter));
            QCOMPARE(!ini.readText("Password", "Password", "").empty(), c.passwordKept);
        }
    }

    void launcherShutdownItemKeepsItsTickWhenDisabled() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[Setup]\r\nReboot=1\r\nReboot_exec=1\r\n");
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host);
        auto* box = qobject_cast<QCheckBox*>(dialog.control("Setup", "Reboot_exec"));
        QVERIFY(box->isChecked());
        QVERIFY(!box->isEnabled());
        QCOMPARE(ini.readText("Setup", "Reboot_exec", ""), "1");
        dialog.control("Setup", "Reboot")->findChild<QRadioButton*>("choice0")->click();
        QVERIFY(box->isEnabled() && box->isChecked());
    }

    void phoneTitleDefaults() {
        testing::TempHome home;
        home.writeFile("hinagiku.ini", "[TelePhone]\r\nTitle_5=Na\r\n5Section_1=Name\r\n");
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host);
        auto* tabs = dialog.findChild<QTabBar*>("PhoneTabs");
        QCOMPARE(tabs->tabText(5), QStringLiteral("Na"));
        tabs->setCurrentIndex(5);
        auto* column = dialog.findChild<QLineEdit*>("TelePhone.Section_1");
        QCOMPARE(column->text(), QStringLiteral("Name"));
        dialog.button("PhoneColumnDefault")->click();
        QCOMPARE(ini.readText("TelePhone", "5Section_1", ""), "氏名");
        QCOMPARE(column->text(), QStringLiteral("氏名"));
        answer_ = QMessageBox::No;
        dialog.button("PhoneTitleDefault")->click();
        QCOMPARE(ini.readText("TelePhone", "Title_5", ""), "Na");
        answer_ = QMessageBox::Yes;
        dialog.button("PhoneTitleDefault")->click();
        QCOMPARE(ini.readText("TelePhone", "Title_5", ""), "な");
        QCOMPARE(ini.readText("TelePhone", "Title_11", ""), "他");
        QCOMPARE(tabs->tabText(5), QStringLiteral("な"));
        QCOMPARE(messages_.back().text,
                 QStringLiteral("全ての項目がデフォルトになります。\rよろしいですか？"));
    }

    void newMemoPlacement() {
        testing::TempHome home;
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;  // main window at 100,50, 240 x 190
        SettingsDialogChoosers c;
        QRect offered;
        c.memoPlace = [&offered](QWidget*, const QRect& bounds, const QColor&) {
            offered = bounds;
            return QRect(10, 20, 300, 400);
        };
        SettingsDialog dialog(ini, host, c);
        // No, then No: nothing written.
        answer_ = QMessageBox::No;
        dialog.button("MemoPlace")->click();
        QCOMPARE(ini.readText("Memo", "Width", "<absent>"), "<absent>");
        // No, then Yes: the defaults from the main window.
        int asked = 0;
        setMessageFunction([&asked](const MessageRequest&) {
            return ++asked == 1 ? QMessageBox::No : QMessageBox::Yes;
        });
        dialog.button("MemoPlace")->click();
        QCOMPARE(ini.readText("Memo", "Width", ""), "240");
        QCOMPARE(ini.readText("Memo", "Height", ""), "95");
        QCOMPARE(ini.readText("Memo", "top", ""), "215");
        QCOMPARE(ini.readText("Memo", "left", ""), "290");
        // Yes: the window's bounds when it closes.
        answer_ = QMessageBox::Yes;
        setMessageFunction([this](const MessageRequest&) { return answer_; });
        dialog.button("MemoPlace")->click();
        QCOMPARE(offered, QRect(290, 215, 240, 95));
        QCOMPARE(ini.readText("Memo", "Width", ""), "300");
        QCOMPARE(ini.readText("Memo", "Height", ""), "400");
        QCOMPARE(ini.readText("Memo", "top", ""), "20");
        QCOMPARE(ini.readText("Memo", "left", ""), "10");
    }

    void statusBarTexts() {
        testing::TempHome home;
        platform::ProfileFile ini(settingsFilePath());
        RecordingHost host;
        SettingsDialog dialog(ini, host);
        QCOMPARE(dialog.statusTextFor(dialog.control("Calendar", "before")),
                 QStringLiteral("指定した時間だけ早くポップアップします。。"));
        QCOMPARE(dialog.statusTextFor(dialog.pages()->widget(8)),
                 QStringLiteral("ミニ時計のカスタマイズ"));
        QCOMPARE(dialog.statusTextFor(dialog.control("Form", "Waveplay")), QString());
        QCOMPARE(dialog.statusTextFor(dialog.control("Form", "Move")),
                 QStringLiteral("基本以外の動作設定です。"));
        dialog.show();
        for (int i = 0; i < 50; ++i)
            QTest::mouseClick(dialog.statusBar(), Qt::LeftButton);
        QVERIFY(dialog.pages()->isHidden());
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.statusBar(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

}  // namespace hinagiku::core

QTEST_MAIN(hinagiku::core::SettingsDialogTest)
#include "test_settings_dialog.moc"
