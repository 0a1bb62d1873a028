// The popup window and its presentation, driven by the main timer's tick.

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "core/command_text.h"
#include "platform/jpeg_codec.h"
#include "schedule/ui/popup_picture.h"
#include "schedule/ui/popup_programs.h"
#include "schedule/ui/popup_window.h"
#include "test_popup_fixture.h"

using hinagiku::schedule::EntryOptions;

using hinagiku::schedule::PopupWindow;
using hinagiku::testing::PopupWorld;

namespace {

QImage colourImage(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

std::string jpegBytes(const QImage& image) {
    return hinagiku::platform::encodeJpeg(image, 90).bytes;
}

// A JPEG whose frame header claims `width` x `height`.
std::string jpegClaiming(int width, int height) {
    std::string bytes = jpegBytes(colourImage(16, 16, Qt::red));
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        const auto marker = static_cast<unsigned char>(bytes[i + 1]);
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            bytes[i + 5] = static_cast<char>(height >> 8);
            bytes[i + 6] = static_cast<char>(height & 0xFF);
            bytes[i + 7] = static_cast<char>(width >> 8);
            bytes[i + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return bytes;
}

QStringList visiblePopupTitles() {
    QStringList titles;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<PopupWindow*>(widget) != nullptr && widget->isVisible()) {
            titles << widget->windowTitle();
        }
    }
    return titles;
}

}  // namespace

class PopupWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void firesOnceAtItsMinuteWithTextPictureAndSound();
    void twoEntriesOfOneTickShareOneWindow();
    void eachTickThatFiresGetsItsOwnWindow();
    void datePanelShowsLabelTimeInTheColourOfItsDay_data();
    void datePanelShowsLabelTimeInTheColourOfItsDay();
    void closeTimeCountsDownInTheCaptionAndCloses();
    void snoozeHidesAndComesBackWithTheCalendarSound();
    void snoozeMinutesThatAreNoCountBecomeZero_data();
    void snoozeMinutesThatAreNoCountBecomeZero();
    void deleteAsksThenRemovesFileAndOptions();
    void deleteWithoutAskingWhenFormDeleteIsSet();
    void deleteRemovesTheDatedEntryNotALaterRecurringOne();
    void recurringEntriesLeaveDeleteDisabled();
    void closeTimeZeroStartsTheProgramAndShowsNothing();
    void execloseAsksTheWindowCloserWithTheTitleText();
    void executeValueIsSplitAtTheFirstQuestionMark_data();
    void executeValueIsSplitAtTheFirstQuestionMark();
    void longParametersAreCutAtWholeCharacters();
    void badPicturesLeaveTheDefaultAndTheReminderStillShows_data();
    void badPicturesLeaveTheDefaultAndTheReminderStillShows();
    void pictureFallsBackToTheCalendarPicture();
    void jpegWallpaperIsSavedBesideTheProgram();
    void missingSoundFileFallsBackToTheCalendarSound();
    void scheduleListHooksRunOnShowAndClose();
    void reminderMailIsStartedWithOlivePanelsAndWait();
    void reminderMailNeedsTheMailSettingToo();
    void tickInsideTheMailWaitDoesNotFireAgain();
};

void PopupWindowTest::firesOnceAtItsMinuteWithTextPictureAndSound() {
    PopupWorld world;
    EntryOptions options;
    options.picture = world.writeImage("pics/sun.bmp", colourImage(40, 30, Qt::yellow), "BMP");
    options.soundFile = world.writeFile("sounds/bell.wav", "RIFF....WAVE");
    world.saveEntry("0900____.__", "朝の会議\n資料を持参");

    world.setTime(8, 59, 50);
    world.timer.Timer1Timer();  // the first tick fires nothing
    QVERIFY(world.presenter.windows().empty());
    world.tickAfter(5);
    QVERIFY(world.presenter.windows().empty());

    // The options are read when the entry fires, so they may come later.
    hinagiku::schedule::writeEntryOptions(world.settings, world.pathOf("0900____.__"), options,
                                          true, true);
    world.tickAfter(5);  // 09:00:00
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    PopupWindow* window = world.presenter.windows().front();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Popup Window"));
    QCOMPARE(window->text(), QStringLiteral("朝の会議\n資料を持参"));
    QCOMPARE(window->picture().size(), QSize(40, 30));
    QCOMPARE(window->picture().pixelColor(3, 3), QColor(Qt::yellow));
    QCOMPARE(world.filesPlayed(), std::vector<std::string>{options.soundFile});
    QVERIFY(world.host.errors.empty());

    for (int i = 0; i < 59; ++i)
        world.tickAfter(1);  // the rest of the minute
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    QCOMPARE(world.filesPlayed().size(), std::size_t(1));
    QCOMPARE(visiblePopupTitles().size(), 1);
}

void PopupWindowTest::twoEntriesOfOneTickShareOneWindow() {
    PopupWorld world;
    EntryOptions daily;
    daily.soundFile = world.writeFile("daily.wav", "RIFF");
    daily.execute = "/opt/tools/daily";
    EntryOptions yearly;
    yearly.soundFile = world.writeFile("yearly.wav", "RIFF");
    yearly.execute = "/opt/tools/yearly";
    yearly.closeTime = 30;
    world.saveEntry("0900____.__", "毎日の薬", daily);
    world.saveEntry("09000315.__", "誕生日の花", yearly);

    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);

    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    PopupWindow* window = world.presenter.windows().front();
    QCOMPARE(window->text(), QStringLiteral("毎日の薬\n誕生日の花"));
    QCOMPARE(window->entryPath(), world.pathOf("09000315.__"));
    // The last entry's options are presented; both entries' programs ran.
    QCOMPARE(world.filesPlayed(), std::vector<std::string>{yearly.soundFile});
    QCOMPARE(window->closeCountdown(), 30);
    QCOMPARE(world.launcher.calls().size(), std::size_t(2));
    QCOMPARE(world.launcher.calls()[0].program, std::string("/opt/tools/daily"));
    QCOMPARE(world.launcher.calls()[1].program, std::string("/opt/tools/yearly"));
}

void PopupWindowTest::eachTickThatFiresGetsItsOwnWindow() {
    PopupWorld world;
    world.saveEntry("0900____.__", "一つ目");
    world.saveEntry("0901____.__", "二つ目");
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    world.tickAfter(60);
    const auto windows = world.presenter.windows();
    QCOMPARE(windows.size(), std::size_t(2));
    QCOMPARE(windows[0]->text(), QStringLiteral("一つ目"));
    QCOMPARE(windows[1]->text(), QStringLiteral("二つ目"));
    QVERIFY(windows[0]->isVisible() && windows[1]->isVisible());
}

void PopupWindowTest::datePanelShowsLabelTimeInTheColourOfItsDay_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Friday") << 15 << "24/03/15 (金) 09:00" << QColor(0, 0, 255);
    QTest::newRow("Saturday") << 16 << "24/03/16 (土) 09:00" << QColor(255, 0, 255);
    QTest::newRow("Sunday") << 17 << "24/03/17 (日) 09:00" << QColor(255, 0, 0);
}

void PopupWindowTest::datePanelShowsLabelTimeInTheColourOfItsDay() {
    QFETCH(int, day);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    PopupWorld world;
    world.settings.writeInt("Calendar", "before", 5);  // fires at 08:55, shows 09:00
    world.saveEntry("0900____.__", "朝");
    world.clock.set(hinagiku::makeDateTime(*hinagiku::encodeDate(2024, 3, day),
                                           *hinagiku::encodeTime(8, 54, 59)));
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    auto* panel = world.presenter.windows().front()->findChild<QLabel*>("datePanel");
    QCOMPARE(panel->text(), text);
    QCOMPARE(panel->palette().color(QPalette::Window), colour);
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void PopupWindowTest::closeTimeCountsDownInTheCaptionAndCloses() {
    PopupWorld world;
    EntryOptions options;
    options.closeTime = 5;
    world.saveEntry("0900____.__", "すぐ閉じる", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QPointer<PopupWindow> window = world.presenter.windows().front();
    QVERIFY(window->isVisible());
    auto* snooze = window->findChild<QPushButton*>("snoozeButton");

    window->Timer1Timer();
    QCOMPARE(window->windowTitle(), QStringLiteral("Popup Window - 4秒後に自動的に閉じます。"));
    for (int remaining = 3; remaining >= 0; --remaining) {
        window->Timer1Timer();
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Popup Window - %1秒後に自動的に閉じます。").arg(remaining));
        QVERIFY(!snooze->isEnabled());
    }
    QCOMPARE(world.cueCount("clo"), 0);
    window->Timer1Timer();  // the sixth second
    QCOMPARE(world.cueCount("clo"), 1);
    QTRY_VERIFY(window.isNull());
    QVERIFY(world.presenter.windows().empty());
}

void PopupWindowTest::snoozeHidesAndComesBackWithTheCalendarSound() {
    PopupWorld world;
    const std::string calendarSound = world.writeFile("calendar.wav", "RIFF");
    world.settings.writeText("Calendar", "file", calendarSound);
    EntryOptions options;
    options.soundFile = world.writeFile("own.wav", "RIFF");
    world.saveEntry("0900____.__", "会議", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    auto* minutes = window->findChild<QComboBox*>("snoozeMinutes");
    auto* button = window->findChild<QPushButton*>("snoozeButton");
    QCOMPARE(minutes->currentText(), QStringLiteral("10"));  // [Form] Snooze's default
    QVERIFY(!button->isEnabled());
    window->Timer1Timer();
    QVERIFY(button->isEnabled() && minutes->isEnabled());

    minutes->setEditText(QStringLiteral("10"));
    button->click();
    QVERIFY(!window->isVisible());
    QCOMPARE(world.settings.readText("Form", "Snooze", ""), std::string("10"));
    QCOMPARE(world.cueCount("sav"), 1);
    QCOMPARE(window->snoozeCountdown(), 600LL);
    world.sound.clear();
    for (int i = 0; i < 600; ++i)
        window->Timer1Timer();
    QVERIFY(!window->isVisible());
    window->Timer1Timer();
    QVERIFY(window->isVisible());
    QCOMPARE(world.filesPlayed(), std::vector<std::string>{calendarSound});
    QCOMPARE(window->text(), QStringLiteral("会議"));

    // It can be snoozed again, and 0 minutes brings it back at the next second.
    minutes->setEditText(QStringLiteral("0"));
    button->click();
    QVERIFY(!window->isVisible());
    window->Timer1Timer();
    QVERIFY(window->isVisible());
}

void PopupWindowTest::snoozeMinutesThatAreNoCountBecomeZero_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("decimal") << "2.5";
    QTest::newRow("negative") << "-5";
    QTest::newRow("too large") << "99999999999999999999";
}

void PopupWindowTest::snoozeMinutesThatAreNoCountBecomeZero() {
    QFETCH(QString, typed);
    PopupWorld world;
    world.saveEntry("0900____.__", "会議");
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    window->Timer1Timer();
    auto* minutes = window->findChild<QComboBox*>("snoozeMinutes");
    minutes->setEditText(typed);
    window->snooze();
    QCOMPARE(minutes->currentText(), QStringLiteral("0"));
    QCOMPARE(world.settings.readText("Form", "Snooze", ""), std::string("0"));
    QVERIFY(!window->isVisible());
    window->Timer1Timer();
    QVERIFY(window->isVisible());
}

void PopupWindowTest::deleteAsksThenRemovesFileAndOptions() {
    PopupWorld world;
    EntryOptions options;
    options.execlose = "メモ帳";
    const std::string path = world.saveEntry("09000315.24", "歯医者", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QPointer<PopupWindow> window = world.presenter.windows().front();
    auto* remove = window->findChild<QPushButton*>("deleteButton");
    QVERIFY(remove->isEnabled());

    QString question;
    hinagiku::testing::answerNextMessageBox(QMessageBox::No, &question);
    remove->click();
    QCOMPARE(question, QStringLiteral("【24/03/15 (金) 09:00】\n歯医者\n削除しますか？"));
    QVERIFY(window && window->isVisible());
    QVERIFY(std::filesystem::exists(path));

    hinagiku::testing::answerNextMessageBox(QMessageBox::Yes);
    remove->click();
    QVERIFY(!std::filesystem::exists(path));
    QVERIFY(world.settings.listKeys(path).empty());
    QCOMPARE(world.cueCount("del"), 1);
    QTRY_VERIFY(window.isNull());
}

void PopupWindowTest::deleteWithoutAskingWhenFormDeleteIsSet() {
    PopupWorld world;
    world.settings.writeInt("Form", "Delete", 1);
    const std::string path = world.saveEntry("09000315.24", "歯医者");
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QPointer<PopupWindow> window = world.presenter.windows().front();
    window->deleteEntry();
    QVERIFY(!std::filesystem::exists(path));
    QVERIFY(world.settings.listKeys(path).empty());
    QTRY_VERIFY(window.isNull());
}

void PopupWindowTest::deleteRemovesTheDatedEntryNotALaterRecurringOne() {
    PopupWorld world;
    world.settings.writeInt("Form", "Delete", 1);
    const std::string dated = world.saveEntry("09000315.24", "今日だけ");
    EntryOptions yearlyOptions;
    yearlyOptions.closeTime = 60;
    const std::string yearly = world.saveEntry("09000315.__", "毎年", yearlyOptions);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    QCOMPARE(window->entryPath(), yearly);
    QCOMPARE(window->deletePath(), dated);
    window->deleteEntry();
    QVERIFY(!std::filesystem::exists(dated));
    QVERIFY(std::filesystem::exists(yearly));
    QCOMPARE(world.settings.readInt(yearly, "closetime", 0), 60);
}

void PopupWindowTest::recurringEntriesLeaveDeleteDisabled() {
    PopupWorld world;
    world.saveEntry("0900____.FRI", "金曜");
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    QVERIFY(!window->findChild<QPushButton*>("deleteButton")->isEnabled());
    QVERIFY(window->deletePath().empty());
    window->deleteEntry();  // nothing to delete
    QVERIFY(std::filesystem::exists(world.pathOf("0900____.FRI")));
}

void PopupWindowTest::closeTimeZeroStartsTheProgramAndShowsNothing() {
    PopupWorld world;
    EntryOptions options;
    options.closeTime = 0;
    options.execute = "/opt/tools/backup?-x file.txt";
    world.saveEntry("0900____.__", "バックアップ", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QCOMPARE(world.launcher.calls().size(), std::size_t(1));
    QCOMPARE(world.launcher.calls()[0].program, std::string("/opt/tools/backup"));
    QCOMPARE(world.launcher.calls()[0].parameters, std::string("-x file.txt"));
    QCOMPARE(world.launcher.calls()[0].workingFolder, std::string("/opt/tools/"));
    QPointer<PopupWindow> window = world.presenter.windows().front();
    QVERIFY(!window->isVisible());
    QVERIFY(visiblePopupTitles().isEmpty());
    window->Timer1Timer();
    QTRY_VERIFY(window.isNull());
    QVERIFY(visiblePopupTitles().isEmpty());
}

void PopupWindowTest::execloseAsksTheWindowCloserWithTheTitleText() {
    PopupWorld world;
    world.closer =
        hinagiku::platform::RecordingWindowCloser({"無題 - メモ帳", "報告書.txt - メモ帳", "端末"});
    EntryOptions options;
    options.execlose = "メモ帳";
    options.execute = "/usr/bin/xterm";
    std::size_t startedBeforeTheClose = 99;
    world.closer.setOnRequest([&] { startedBeforeTheClose = world.launcher.calls().size(); });
    world.saveEntry("0900____.__", "窓を閉じる", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QCOMPARE(world.closer.requests(), std::vector<std::string>{"メモ帳"});
    QCOMPARE(world.closer.closed(), std::vector<std::string>{"無題 - メモ帳"});
    QCOMPARE(startedBeforeTheClose, std::size_t(0));  // Execlose runs before Execute
    QCOMPARE(world.launcher.calls().size(), std::size_t(1));
}

void PopupWindowTest::executeValueIsSplitAtTheFirstQuestionMark_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("folder");
    QTest::newRow("program and parameters") << "/opt/tools/app?-x file.txt"
                                            << "/opt/tools/app"
                                            << "-x file.txt"
                                            << "/opt/tools/";
    QTest::newRow("program alone") << "/usr/bin/gedit"
                                   << "/usr/bin/gedit"
                                   << ""
                                   << "/usr/bin/";
    QTest::newRow("nothing before the mark") << "?readme.txt"
                                             << "readme.txt"
                                             << ""
                                             << "";
    QTest::newRow("second mark is a parameter") << "/bin/app?a?b"
                                                << "/bin/app"
                                                << "a?b"
                                                << "/bin/";
    QTest::newRow("bare name") << "firefox?https://example.org/?q=1"
                               << "firefox"
                               << "https://example.org/?q=1"
                               << "";
}

void PopupWindowTest::executeValueIsSplitAtTheFirstQuestionMark() {
    QFETCH(QString, value);
    QFETCH(QString, program);
    QFETCH(QString, parameters);
    QFETCH(QString, folder);
    const hinagiku::core::CommandText request =
        hinagiku::core::splitCommandText(value.toStdString());
    QCOMPARE(QString::fromStdString(request.program), program);
    QCOMPARE(QString::fromStdString(request.parameters), parameters);
    QCOMPARE(QString::fromStdString(request.workingFolder), folder);
}

void PopupWindowTest::longParametersAreCutAtWholeCharacters() {
    // 1024 CP932 bytes: "a" and 511 two-byte characters; the 512th would not fit.
    std::string parameters = "a";
    for (int i = 0; i < 600; ++i)
        parameters += "あ";
    const hinagiku::core::CommandText cut =
        hinagiku::core::splitCommandText("/bin/app?" + parameters);
    QCOMPARE(cut.parameters, parameters.substr(0, 1 + 511 * 3));
}

void PopupWindowTest::badPicturesLeaveTheDefaultAndTheReminderStillShows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("shown");  // something of the picture shows

    const std::string good = jpegBytes(colourImage(300, 300, Qt::green));
    QTest::newRow("not a JPEG") << "bad.jpg" << QByteArray("GIF89a this is not a jpeg") << true
                                << false;
    QTest::newRow("empty JPEG") << "empty.JPG" << QByteArray() << true << false;
    QTest::newRow("truncated JPEG")
        << "cut.jpg" << QByteArray::fromStdString(good.substr(0, good.size() / 2)) << false << true;
    QTest::newRow("20000x20000 header")
        << "huge.jpg" << QByteArray::fromStdString(jpegClaiming(20000, 20000)) << true << false;
    QTest::newRow("not a bitmap") << "bad.bmp" << QByteArray("BM but nothing else") << true
                                  << false;
    QTest::newRow(".jpeg is not loaded")
        << "photo.jpeg" << QByteArray::fromStdString(good) << false << false;
    QTest::newRow(".png is not loaded") << "photo.png" << QByteArray("\x89PNG") << false << false;
}

void PopupWindowTest::badPicturesLeaveTheDefaultAndTheReminderStillShows() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, reported);
    QFETCH(bool, shown);
    PopupWorld world;
    EntryOptions options;
    options.picture = world.writeFile(name.toStdString(), bytes.toStdString());
    options.wallpaper = true;
    world.saveEntry("0900____.__", "絵のある予定", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    PopupWindow* window = world.presenter.windows().front();
    QVERIFY(window->isVisible());
    QCOMPARE(window->text(), QStringLiteral("絵のある予定"));
    QCOMPARE(!window->picture().isNull(), shown);
    QCOMPARE(world.wallpapers.size(), std::size_t(shown ? 1 : 0));
    QCOMPARE(world.host.errors.size(), std::size_t(reported ? 1 : 0));
    if (reported)
        QVERIFY(world.host.errors[0].find(options.picture) != std::string::npos);
}

void PopupWindowTest::pictureFallsBackToTheCalendarPicture() {
    PopupWorld world;
    const std::string fallback =
        world.writeImage("default.BMP", colourImage(200, 100, Qt::blue), "BMP");
    world.settings.writeText("Calendar", "bitmap", fallback);
    world.settings.writeBool("Calendar", "Stretch", true);  // not stretched
    EntryOptions options;
    options.picture = (world.home.path() / "gone.bmp").string();
    options.wallpaper = true;
    world.saveEntry("0900____.__", "既定の絵", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    QCOMPARE(window->picture().size(), QSize(200, 100));
    QVERIFY(!window->pictureStretched());
    // Only the middle of it fits the box.
    const QPixmap shown = window->findChild<QLabel*>("picture")->pixmap();
    QCOMPARE(shown.size(), QSize(137, 100));
    QVERIFY(world.wallpapers.empty());  // the default picture is never the wallpaper
    QVERIFY(world.host.errors.empty());
}

void PopupWindowTest::jpegWallpaperIsSavedBesideTheProgram() {
    PopupWorld world;
    EntryOptions options;
    options.picture = world.writeFile("photo.jpg", jpegBytes(colourImage(640, 480, Qt::red)));
    options.wallpaper = true;
    world.saveEntry("0900____.__", "壁紙", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    PopupWindow* window = world.presenter.windows().front();
    QVERIFY(window->pictureStretched());
    QCOMPARE(world.wallpapers.size(), std::size_t(1));
    QCOMPARE(world.wallpapers[0].first.size(), QSize(640, 480));  // the whole picture
    QCOMPARE(world.wallpapers[0].second, (world.home.path() / "Kiv_Wallpaper.BMP").string());
    QCOMPARE(window->findChild<QLabel*>("picture")->pixmap().size(), QSize(137, 137));
}

void PopupWindowTest::missingSoundFileFallsBackToTheCalendarSound() {
    PopupWorld world;
    EntryOptions options;
    options.soundFile = (world.home.path() / "missing.wav").string();
    world.saveEntry("0900____.__", "音", options);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QVERIFY(world.filesPlayed().empty());  // neither exists: silence
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));

    const std::string calendarSound = world.writeFile("calendar.mid", "MThd");
    world.settings.writeText("Calendar", "file", calendarSound);
    world.saveEntry("0901____.__", "音", options);
    world.tickAfter(60);
    QCOMPARE(world.filesPlayed(), std::vector<std::string>{calendarSound});
    QVERIFY(world.host.errors.empty());
}

void PopupWindowTest::scheduleListHooksRunOnShowAndClose() {
    PopupWorld world;
    int shown = 0;
    int closed = 0;
    hinagiku::schedule::PopupHooks hooks;
    hooks.showScheduleList = [&] { ++shown; };
    hooks.closeScheduleList = [&] { ++closed; };
    hinagiku::schedule::setPopupHooks(hooks);
    world.saveEntry("0900____.__", "一覧");
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QPointer<PopupWindow> window = world.presenter.windows().front();
    QCOMPARE(shown, 0);  // [Form] Exec_List is off
    window->close();
    QCOMPARE(closed, 0);  // [Form] Kill_List is off

    world.settings.writeBool("Form", "Exec_List", true);
    world.settings.writeBool("Form", "Kill_List", true);
    world.saveEntry("0901____.__", "一覧");
    world.tickAfter(60);
    window = world.presenter.windows().back();
    QCOMPARE(shown, 1);
    window->Timer1Timer();
    window->findChild<QComboBox*>("snoozeMinutes")->setEditText(QStringLiteral("0"));
    window->snooze();
    window->Timer1Timer();
    QCOMPARE(shown, 2);  // every time it is shown
    window->close();
    QCOMPARE(closed, 1);
}

void PopupWindowTest::reminderMailIsStartedWithOlivePanelsAndWait() {
    PopupWorld world(3600 * 1000, 200);
    std::vector<std::string> events;
    hinagiku::schedule::PopupHooks hooks;
    hooks.sendReminderMail = [&](const std::string& text, const std::string& date) {
        events.push_back("mail " + date + " | " + text);
    };
    hooks.setMainPanelsOlive = [&](bool olive) { events.push_back(olive ? "olive" : "black"); };
    hinagiku::schedule::setPopupHooks(hooks);
    world.settings.writeBool("smtp", "smtp_check", true);
    EntryOptions mail;
    mail.smtp = true;
    world.saveEntry("0900____.__", "薬");
    world.saveEntry("09000315.__", "花", mail);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    QElapsedTimer elapsed;
    elapsed.start();
    world.tickAfter(1);
    QVERIFY(elapsed.elapsed() >= 190);
    const std::vector<std::string> expected{"olive", "mail 24/03/15 (金) 09:00 | 薬\n花", "black"};
    QCOMPARE(events, expected);
    QVERIFY(world.presenter.windows().front()->isVisible());
}

void PopupWindowTest::reminderMailNeedsTheMailSettingToo() {
    PopupWorld world(3600 * 1000, 200);
    int mails = 0;
    hinagiku::schedule::PopupHooks hooks;
    hooks.sendReminderMail = [&](const std::string&, const std::string&) { ++mails; };
    hinagiku::schedule::setPopupHooks(hooks);
    EntryOptions mail;
    mail.smtp = true;
    world.saveEntry("0900____.__", "薬", mail);
    world.saveEntry("09000315.__", "花");  // presented last, asks for no mail
    world.settings.writeBool("smtp", "smtp_check", true);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    world.tickAfter(1);
    QCOMPARE(mails, 0);
    world.settings.writeBool("smtp", "smtp_check", false);
    world.saveEntry("0901____.__", "薬", mail);
    world.tickAfter(60);
    QCOMPARE(mails, 0);
}

void PopupWindowTest::tickInsideTheMailWaitDoesNotFireAgain() {
    PopupWorld world(3600 * 1000, 300);
    hinagiku::schedule::PopupHooks hooks;
    hooks.sendReminderMail = [](const std::string&, const std::string&) {};
    hinagiku::schedule::setPopupHooks(hooks);
    world.settings.writeBool("smtp", "smtp_check", true);
    EntryOptions mail;
    mail.smtp = true;
    world.saveEntry("0900____.__", "一度だけ", mail);
    world.setTime(8, 59, 59);
    world.timer.Timer1Timer();
    // The main timer keeps ticking while the tick waits for the mail.
    QTimer mainTimer;
    int nested = 0;
    QObject::connect(&mainTimer, &QTimer::timeout, [&] {
        ++nested;
        world.tickAfter(0.2);
    });
    mainTimer.start(20);
    world.tickAfter(1);
    mainTimer.stop();
    QVERIFY(nested >= 3);
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    QCOMPARE(world.presenter.windows().front()->text(), QStringLiteral("一度だけ"));
    QVERIFY(world.presenter.windows().front()->isVisible());
}

QTEST_MAIN(PopupWindowTest)
#include "test_popup_window.moc"
