// The popup editor: the entry it names, what it saves and loads, its
// templates, and an entry saved from it firing through the main timer.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTextEdit>
#include <QtTest>

#include "core/data_folders.h"
#include "schedule/ui/picture_chooser.h"
#include "schedule/ui/popup_editor.h"
#include "schedule/ui/popup_editor_model.h"
#include "schedule/ui/sound_chooser.h"
#include "test_popup_fixture.h"

using hinagiku::schedule::EntryOptions;
using hinagiku::schedule::HolidayChoice;
using hinagiku::schedule::PopupChoice;
using hinagiku::schedule::PopupEditor;
using hinagiku::schedule::PopupKind;
using hinagiku::schedule::PopupWindow;
using hinagiku::testing::PopupWorld;

Q_DECLARE_METATYPE(PopupChoice)

namespace {

hinagiku::DateTime dayOf(int year, int month, int d) {
    return *hinagiku::encodeDate(year, month, d);
}

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no child %s", name);
    return found;
}

// An editor opened the way the main window opens it, for `date` at the
// world's current time.
QPointer<PopupEditor> openEditor(PopupWorld& world, hinagiku::DateTime date) {
    QPointer<PopupEditor> editor =
        hinagiku::schedule::openPopupEditor(world.settings, world.clock, date);
    if (editor && !QTest::qWaitForWindowExposed(editor))
        qWarning("editor not exposed");
    return editor;
}

void typeText(PopupEditor* editor, const QString& text) {
    auto* edit = child<QTextEdit>(editor, "text");
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit->setTextCursor(cursor);
    edit->insertPlainText(text);
}

PopupChoice choiceOf(PopupKind kind, hinagiku::CivilDate date, int hour, int minute) {
    PopupChoice choice;
    choice.kind = kind;
    choice.date = date;
    choice.hour = hour;
    choice.minute = minute;
    return choice;
}

}  // namespace

class PopupEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void savedEntryFiresAtItsMinuteWithTextPictureAndSound();
    void entryNamesAndCopyStrings_data();
    void entryNamesAndCopyStrings();
    void opensOnTheDatedKindAtNowPlusTheLeadTime();
    void lastWeekExcludesTheOthersAndNoWeekMeansAllFive();
    void holidayChoicesEnableTheSaturdayChoice();
    void uptimeSecondsAreRoundedAndClamped_data();
    void uptimeSecondsAreRoundedAndClamped();
    void dayThatDoesNotExistIsLowered();
    void changingTheKindDiscardsTypedTextWithAWarning();
    void controlsThatNameTheSameEntryKeepTheText();
    void savedOptionsReadBackWhenTheEntryIsOpenedAgain();
    void soundAndPictureAreWrittenOnlyWhenChosen();
    void addToScheduleAppendsToTheDayEntryEachSave();
    void deleteAsksThenRemovesEntryAndOptions();
    void saveThatCannotWriteKeepsTheText();
    void noDataFolderOpensTheSettingsDialogInstead();
    void templatesSaveAsTypedAndResetWhenDeleted();
    void closingRefreshesTheOtherWindows();
    void presetOpensAnExistingEntry();
};

void PopupEditorTest::savedEntryFiresAtItsMinuteWithTextPictureAndSound() {
    PopupWorld world;
    const std::string sound = world.writeFile("sounds/chime.wav", "RIFF....WAVE");
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    const std::string picture = world.writeImage("pics/flower.bmp", image, "BMP");

    world.setTime(8, 30, 0);
    world.timer.Timer1Timer();
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    QVERIFY(editor);
    editor->setChoice(choiceOf(PopupKind::Dated, {2024, 3, 15}, 9, 0));
    QCOMPARE(editor->entryPath(), world.pathOf("09000315.24"));
    typeText(editor, QStringLiteral("会議室Ａで打ち合わせ"));

    hinagiku::testing::onNextDialog<hinagiku::schedule::SoundChooser>([&](auto* chooser) {
        chooser->setFileName(QString::fromStdString(sound));
        chooser->closeChooser();
    });
    editor->chooseSound();
    hinagiku::testing::onNextDialog<hinagiku::schedule::PictureChooser>([&](auto* chooser) {
        chooser->setFileName(QString::fromStdString(picture));
        chooser->okButton()->click();
    });
    editor->choosePicture();
    QVERIFY(child<QCheckBox>(editor, "wallpaper")->isEnabled());
    QVERIFY(editor->saveEnabled());
    child<QPushButton>(editor, "saveCloseButton")->click();
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(world.cueCount("sav"), 1);
    world.sound.clear();

    for (int i = 0; i < 29 * 60 + 59; ++i)
        world.tickAfter(1);  // up to 08:59:59
    QVERIFY(world.presenter.windows().empty());
    world.tickAfter(1);  // 09:00:00
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    PopupWindow* window = world.presenter.windows().front();
    QVERIFY(window->isVisible());
    QCOMPARE(window->text(), QStringLiteral("会議室Ａで打ち合わせ"));
    QCOMPARE(window->picture().size(), QSize(50, 40));
    QVERIFY(window->findChild<QPushButton*>("deleteButton")->isEnabled());
    QCOMPARE(world.filesPlayed(), std::vector<std::string>{sound});
    for (int i = 0; i < 120; ++i)
        world.tickAfter(1);
    QCOMPARE(world.presenter.windows().size(), std::size_t(1));
    QCOMPARE(world.filesPlayed().size(), std::size_t(1));
    QVERIFY(world.host.errors.empty());
}

void PopupEditorTest::entryNamesAndCopyStrings_data() {
    QTest::addColumn<PopupChoice>("choice");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("hint");

    PopupChoice c = choiceOf(PopupKind::Yearly, {2024, 3, 5}, 9, 30);
    c.holiday = HolidayChoice::NextDay;
    c.saturdayOff = true;
    QTest::newRow("yearly, next day, Saturday off") << c << "09300305.~~"
                                                    << "【毎年3月5日】(土曜/休日:翌日)9:30～"
                                                    << "毎年3月5日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c = choiceOf(PopupKind::Monthly, {2024, 3, 5}, 7, 5);
    c.holiday = HolidayChoice::PreviousDay;
    QTest::newRow("monthly, previous day") << c << "0705__05.-_"
                                           << "【毎月5日】(休日:前日)7:05～"
                                           << "毎月5日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c = choiceOf(PopupKind::Weekday, {2024, 3, 6}, 9, 30);  // a Wednesday
    c.weeks = {false, true, false, true, false};
    QTest::newRow("weeks 2 and 4") << c << "0930__10.WED"
                                   << "【第２第４水曜日】9:30～"
                                   << "水曜日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c.weeks = {true, true, true, true, true};
    QTest::newRow("every week") << c << "0930____.WED"
                                << "【水曜日】9:30～"
                                << "水曜日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c.lastWeek = true;
    QTest::newRow("last week") << c << "0930__32.WED"
                               << "【最終水曜日】9:30～"
                               << "水曜日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c = choiceOf(PopupKind::Weekday, {2024, 3, 4}, 0, 5);  // a Monday
    c.lastWeek = true;
    QTest::newRow("00:05 last Monday") << c << "0005__32.MON"
                                       << "【最終月曜日】0:05～"
                                       << "月曜日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c = choiceOf(PopupKind::Dated, {2024, 3, 15}, 7, 30);
    c.holiday = HolidayChoice::NextDay;  // ignored by a dated entry
    QTest::newRow("dated") << c << "07300315.24"
                           << "7:30～"
                           << "2024/3/15のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c = choiceOf(PopupKind::Daily, {2024, 3, 15}, 7, 30);
    QTest::newRow("daily") << c << "0730____.__"
                           << "【毎日】7:30～"
                           << "毎日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    c.uptime = true;
    c.uptimeSeconds = 3600;
    QTest::newRow("uptime") << c << "W0003600.__"
                            << "【Windows起動後 3600秒経過】"
                            << "【Windows起動後 3600秒経過】のﾎﾟｯﾌﾟｱｯﾌﾟ";
}

void PopupEditorTest::entryNamesAndCopyStrings() {
    QFETCH(PopupChoice, choice);
    QFETCH(QString, name);
    QFETCH(QString, copy);
    QFETCH(QString, hint);
    QCOMPARE(QString::fromStdString(hinagiku::schedule::popupEditorEntryName(choice)), name);

    // The window shows the same, and names the file in the data folder.
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choice);
    QCOMPARE(editor->entryPath(), world.pathOf(name.toStdString()));
    QCOMPARE(editor->copyString(), copy);
    QCOMPARE(editor->editorHint(), hint);
    editor->close();
}

void PopupEditorTest::opensOnTheDatedKindAtNowPlusTheLeadTime() {
    PopupWorld world;
    world.settings.writeInt("Calendar", "before", 5);
    world.setTime(23, 57, 30);
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 10));  // a Sunday
    QCOMPARE(child<QTabBar>(editor, "kindTabs")->currentIndex(), 0);
    QCOMPARE(child<QSpinBox>(editor, "hour")->value(), 0);
    QCOMPARE(child<QSpinBox>(editor, "minute")->value(), 2);
    QCOMPARE(child<QSpinBox>(editor, "day")->value(), 10);  // the selected date stays
    auto* panel = child<QLabel>(editor, "timePanel");
    QCOMPARE(panel->text(), QStringLiteral("Popup 23:57"));  // the popup time is now
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(child<QLabel>(editor, "leadNote")->text(),
             QStringLiteral("指定した時間の 5分前にﾎﾟｯﾌﾟｱｯﾌﾟします。"));
    const QStringList captions{"2024/03/10", "03/10", "10", "日曜", "毎日"};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(child<QTabBar>(editor, "kindTabs")->tabText(i), captions[i]);
    QCOMPARE(world.cueCount("ope"), 1);

    world.settings.writeInt("Calendar", "before", 0);
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(4);  // daily
    QCOMPARE(world.cueCount("c1"), 1);
    QCOMPARE(panel->text(), QStringLiteral("Popup 00:02"));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(child<QLabel>(editor, "leadNote")->text(),
             QStringLiteral("指定した時間通りにﾎﾟｯﾌﾟｱｯﾌﾟします。"));
    editor->close();
}

void PopupEditorTest::lastWeekExcludesTheOthersAndNoWeekMeansAllFive() {
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 6));
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(3);
    QVERIFY(child<QWidget>(editor, "weekGroup")->isEnabled());
    QVERIFY(!child<QWidget>(editor, "holidayGroup")->isEnabled());
    auto week = [&](int i) {
        return child<QCheckBox>(editor, QByteArray("week" + QByteArray::number(i)).constData());
    };
    auto* last = child<QCheckBox>(editor, "lastWeek");
    for (int i = 1; i <= 5; ++i)
        QVERIFY(week(i)->isChecked());

    last->setChecked(true);
    for (int i = 1; i <= 5; ++i)
        QVERIFY(!week(i)->isChecked() && !week(i)->isEnabled());
    QVERIFY(editor->entryPath().ends_with("__32.WED"));
    last->setChecked(false);
    for (int i = 1; i <= 5; ++i)
        QVERIFY(week(i)->isChecked() && week(i)->isEnabled());
    QVERIFY(editor->entryPath().ends_with("____.WED"));

    for (int i = 1; i <= 4; ++i)
        week(i)->setChecked(false);
    QVERIFY(editor->entryPath().ends_with("__16.WED"));
    week(5)->setChecked(false);  // none left: all five again
    for (int i = 1; i <= 5; ++i)
        QVERIFY(week(i)->isChecked());
    QVERIFY(editor->entryPath().ends_with("____.WED"));
    editor->close();
}

void PopupEditorTest::holidayChoicesEnableTheSaturdayChoice() {
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 5));
    child<QSpinBox>(editor, "hour")->setValue(9);
    child<QSpinBox>(editor, "minute")->setValue(30);
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(1);
    auto* saturday = child<QWidget>(editor, "saturdayGroup");
    QVERIFY(child<QWidget>(editor, "holidayGroup")->isEnabled());
    QVERIFY(!saturday->isEnabled());
    child<QRadioButton>(editor, "holidayNext")->setChecked(true);
    QVERIFY(saturday->isEnabled());
    child<QRadioButton>(editor, "saturdayOff")->setChecked(true);
    QCOMPARE(editor->entryPath(), world.pathOf("09300305.~~"));
    QCOMPARE(editor->copyString(), QStringLiteral("【毎年3月5日】(土曜/休日:翌日)9:30～"));
    child<QRadioButton>(editor, "holidayKeep")->setChecked(true);
    QVERIFY(!saturday->isEnabled());
    QVERIFY(child<QRadioButton>(editor, "saturdayWorking")->isChecked());
    QCOMPARE(editor->entryPath(), world.pathOf("09300305.__"));
    editor->close();
}

void PopupEditorTest::uptimeSecondsAreRoundedAndClamped_data() {
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("name");
    QTest::newRow("125") << 125 << "W0000120.__";
    QTest::newRow("30") << 30 << "W0000060.__";
    QTest::newRow("4000000") << 4000000 << "W3456000.__";
    QTest::newRow("3600") << 3600 << "W0003600.__";
}

void PopupEditorTest::uptimeSecondsAreRoundedAndClamped() {
    QFETCH(int, typed);
    QFETCH(QString, name);
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    child<QCheckBox>(editor, "addToSchedule")->setChecked(true);
    child<QPushButton>(editor, "uptimeButton")->click();
    QVERIFY(!child<QCheckBox>(editor, "addToSchedule")->isChecked());
    QVERIFY(!child<QCheckBox>(editor, "addToSchedule")->isEnabled());
    auto* seconds = child<QSpinBox>(editor, "uptimeSeconds");
    seconds->findChild<QLineEdit*>()->setText(QString::number(typed));
    QTest::keyClick(seconds, Qt::Key_Enter);
    QCOMPARE(editor->entryPath(), world.pathOf(name.toStdString()));

    child<QSpinBox>(editor, "calcSeconds")->setValue(900);
    child<QSpinBox>(editor, "calcCount")->setValue(3);
    child<QPushButton>(editor, "calcButton")->click();
    QCOMPARE(editor->entryPath(), world.pathOf("W0002700.__"));
    QCOMPARE(seconds->value(), 2700);
    QCOMPARE(child<QPlainTextEdit>(editor, "uptimeApprox")->toPlainText(),
             QStringLiteral("約45分\n約0時間\n約0日"));

    child<QPushButton>(editor, "timeButton")->click();
    QVERIFY(editor->entryPath().ends_with("0315.24"));
    editor->close();
}

void PopupEditorTest::dayThatDoesNotExistIsLowered() {
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 2, 10));
    child<QSpinBox>(editor, "day")->setValue(30);
    QCOMPARE(child<QSpinBox>(editor, "day")->value(), 29);
    child<QSpinBox>(editor, "year")->setValue(2023);
    QCOMPARE(child<QSpinBox>(editor, "day")->value(), 28);
    QVERIFY(editor->entryPath().ends_with("0228.23"));
    editor->close();
}

void PopupEditorTest::changingTheKindDiscardsTypedTextWithAWarning() {
    PopupWorld world;
    world.saveEntry("0900____.__", "毎朝の体操");
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Dated, {2024, 3, 15}, 9, 0));
    typeText(editor, QStringLiteral("書きかけ"));
    QString warning;
    hinagiku::testing::answerNextMessageBox(QMessageBox::Ok, &warning);
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(4);  // daily: an existing entry
    QCOMPARE(warning, QStringLiteral("日付の設定が変更されたので\n編集中のものは破棄されました。"));
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("毎朝の体操"));
    QVERIFY(child<QPushButton>(editor, "deleteButton")->isEnabled());
    QVERIFY(editor->saveEnabled());

    // Without changes the next switch says nothing.
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(0);
    QVERIFY(child<QTextEdit>(editor, "text")->toPlainText().isEmpty());
    QVERIFY(!editor->saveEnabled());
    QVERIFY(!child<QPushButton>(editor, "deleteButton")->isEnabled());
    editor->close();
}

void PopupEditorTest::controlsThatNameTheSameEntryKeepTheText() {
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(4);  // daily
    typeText(editor, QStringLiteral("毎日"));
    child<QSpinBox>(editor, "day")->setValue(20);  // the daily name has no date
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("毎日"));
    QVERIFY(editor->saveEnabled());
    editor->close();
}

void PopupEditorTest::savedOptionsReadBackWhenTheEntryIsOpenedAgain() {
    PopupWorld world;
    const std::string picture =
        world.writeImage("p.bmp", QImage(8, 8, QImage::Format_RGB32), "BMP");
    EntryOptions stored;
    stored.picture = picture;
    stored.wallpaper = true;
    stored.stretch = true;
    world.saveEntry("07300315.__", "古い文", stored);

    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Yearly, {2024, 3, 15}, 7, 30));
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("古い文"));
    QVERIFY(child<QCheckBox>(editor, "wallpaper")->isChecked());
    QVERIFY(child<QCheckBox>(editor, "stretch")->isChecked());
    QVERIFY(!child<QCheckBox>(editor, "autoClose")->isChecked());
    QCOMPARE(child<QSpinBox>(editor, "closeSeconds")->value(), 60);

    typeText(editor, QStringLiteral("と新しい文"));
    child<QLineEdit>(editor, "program")->setText(QStringLiteral("/usr/bin/gedit?memo.txt"));
    child<QLineEdit>(editor, "closeTitle")->setText(QStringLiteral("メモ帳"));
    child<QCheckBox>(editor, "mail")->setChecked(true);
    child<QCheckBox>(editor, "autoClose")->setChecked(true);
    child<QSpinBox>(editor, "closeSeconds")->setValue(15);
    child<QCheckBox>(editor, "stretch")->setChecked(false);
    QVERIFY(editor->save());
    QVERIFY(!editor->saveEnabled());
    QVERIFY(child<QPushButton>(editor, "deleteButton")->isEnabled());
    editor->close();

    const std::string path = world.pathOf("07300315.__");
    const EntryOptions options = hinagiku::schedule::readEntryOptions(world.settings, path);
    QCOMPARE(options.closeTime, 15);
    QCOMPARE(options.execute, std::string("/usr/bin/gedit?memo.txt"));
    QCOMPARE(options.execlose, std::string("メモ帳"));
    QVERIFY(options.smtp && options.wallpaper && !options.stretch);
    QCOMPARE(options.picture, picture);  // not chosen again: kept
    const auto content = hinagiku::schedule::LoadEntry(path);
    QVERIFY(content->bytes.starts_with("{\\rtf"));
    // Text typed in the editor is in its font, "ＭＳ ゴシック" (CP932 82 6c 82 72 ...).
    QVERIFY(content->bytes.find("\\'82\\'6c\\'82\\'72") != std::string::npos);
    QCOMPARE(content->plainText(), std::string("古い文と新しい文"));

    editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Yearly, {2024, 3, 15}, 7, 30));
    QVERIFY(child<QCheckBox>(editor, "autoClose")->isChecked());
    QCOMPARE(child<QSpinBox>(editor, "closeSeconds")->value(), 15);
    QCOMPARE(child<QLineEdit>(editor, "program")->text(),
             QStringLiteral("/usr/bin/gedit?memo.txt"));
    QVERIFY(child<QCheckBox>(editor, "mail")->isChecked());
    editor->close();
}

void PopupEditorTest::soundAndPictureAreWrittenOnlyWhenChosen() {
    PopupWorld world;
    EntryOptions stored;
    stored.soundFile = "/old/sound.wav";
    world.saveEntry("0800____.__", "音", stored);
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Daily, {2024, 3, 15}, 8, 0));
    hinagiku::testing::onNextDialog<hinagiku::schedule::SoundChooser>(
        [](auto* chooser) { chooser->closeChooser(); });  // nothing selected
    editor->chooseSound();
    QVERIFY(editor->soundChooser() != nullptr);
    QVERIFY(editor->save());
    QVERIFY(editor->soundChooser() == nullptr);  // freed by the save
    const std::string path = world.pathOf("0800____.__");
    QCOMPARE(world.settings.readText(path, "file", "unset"), std::string(""));
    QCOMPARE(world.settings.readText(path, "bitmap", "unset"), std::string("unset"));
    editor->close();
}

void PopupEditorTest::addToScheduleAppendsToTheDayEntryEachSave() {
    PopupWorld world;
    world.saveEntry("____0315.24", "既存の予定");
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Dated, {2024, 3, 15}, 10, 0));
    typeText(editor, QStringLiteral("歯医者"));
    child<QCheckBox>(editor, "addToSchedule")->setChecked(true);
    QVERIFY(editor->save());
    const std::string todo = world.pathOf("____0315.24");
    QCOMPARE(hinagiku::schedule::LoadEntry(todo)->plainText(), std::string("既存の予定歯医者"));
    QVERIFY(editor->save());
    QCOMPARE(hinagiku::schedule::LoadEntry(todo)->plainText(),
             std::string("既存の予定歯医者歯医者"));

    child<QTabBar>(editor, "kindTabs")->setCurrentIndex(1);  // only the dated tab adds
    QVERIFY(!child<QCheckBox>(editor, "addToSchedule")->isChecked());
    QVERIFY(!child<QCheckBox>(editor, "addToSchedule")->isEnabled());
    editor->close();
}

void PopupEditorTest::deleteAsksThenRemovesEntryAndOptions() {
    PopupWorld world;
    EntryOptions stored;
    stored.closeTime = 10;
    const std::string path = world.saveEntry("0600____.__", "起床", stored);
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->setChoice(choiceOf(PopupKind::Daily, {2024, 3, 15}, 6, 0));
    QString question;
    hinagiku::testing::answerNextMessageBox(QMessageBox::No, &question);
    child<QPushButton>(editor, "deleteButton")->click();
    QCOMPARE(question, QStringLiteral("削除しますか？"));
    QVERIFY(std::filesystem::exists(path));
    QVERIFY(editor);

    hinagiku::testing::answerNextMessageBox(QMessageBox::Yes);
    child<QPushButton>(editor, "deleteButton")->click();
    QVERIFY(!std::filesystem::exists(path));
    QVERIFY(world.settings.listKeys(path).empty());
    QCOMPARE(world.cueCount("del"), 1);
    QTRY_VERIFY(editor.isNull());
}

void PopupEditorTest::saveThatCannotWriteKeepsTheText() {
    PopupWorld world;
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    std::filesystem::remove_all(world.dataFolder);  // the folder vanished meanwhile
    editor->setChoice(choiceOf(PopupKind::Daily, {2024, 3, 15}, 6, 0));
    typeText(editor, QStringLiteral("消えてはならない"));
    QString message;
    hinagiku::testing::answerNextMessageBox(QMessageBox::Ok, &message);
    QVERIFY(!editor->save());
    QVERIFY(message.contains(QString::fromStdString(world.pathOf("0600____.__"))));
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("消えてはならない"));
    QVERIFY(editor->saveEnabled());
    QCOMPARE(world.cueCount("sav"), 0);

    std::filesystem::create_directories(world.dataFolder);
    QVERIFY(editor->save());
    QCOMPARE(hinagiku::schedule::LoadEntry(world.pathOf("0600____.__"))->plainText(),
             std::string("消えてはならない"));
    editor->close();
}

void PopupEditorTest::noDataFolderOpensTheSettingsDialogInstead() {
    PopupWorld world;
    world.settings.writeText("Calendar", "Directory", ".");
    int dialogs = 0;
    hinagiku::core::FolderHooks hooks;
    hooks.openSettingsDialog = [&] { ++dialogs; };
    hinagiku::core::setFolderHooks(hooks);
    QVERIFY(hinagiku::schedule::openPopupEditor(world.settings, world.clock, dayOf(2024, 3, 15)) ==
            nullptr);
    QCOMPARE(dialogs, 1);
    hinagiku::core::setFolderHooks({});
}

void PopupEditorTest::templatesSaveAsTypedAndResetWhenDeleted() {
    PopupWorld world;
    world.settings.writeInt("Form", "Delete", 0);
    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    auto* titles = child<QListWidget>(editor, "templateTitles");
    QCOMPARE(titles->count(), 20);
    QCOMPARE(titles->item(0)->text(), QStringLiteral("定型文1"));
    QCOMPARE(titles->item(19)->text(), QStringLiteral("定型文20"));
    auto* templateText = child<QTextEdit>(editor, "templateText");
    QVERIFY(templateText->isHidden());

    titles->setCurrentRow(3);
    QVERIFY(std::filesystem::is_directory(world.dataFolder + "/Teikei"));
    QVERIFY(!templateText->isHidden());
    QVERIFY(child<QPushButton>(editor, "renameButton")->isEnabled());
    templateText->insertPlainText(QStringLiteral("定例会議のお知らせ"));
    const std::string file = world.dataFolder + "/Teikei/3.rtf";
    QCOMPARE(hinagiku::schedule::LoadEntry(file)->plainText(), std::string("定例会議のお知らせ"));

    editor->startRenameTemplate();
    auto* rename = child<QLineEdit>(editor, "renameEdit");
    QVERIFY(rename->isVisible());
    QCOMPARE(rename->text(), QStringLiteral("定型文4"));
    rename->selectAll();
    QTest::keyClicks(rename, QStringLiteral("Meeting"));
    QCOMPARE(world.settings.readText("Popup_Teikei", "3", ""), std::string("Meeting"));
    QTest::keyClick(rename, Qt::Key_Return);
    QVERIFY(!rename->isVisible());
    QCOMPARE(titles->item(3)->text(), QStringLiteral("Meeting"));

    typeText(editor, QStringLiteral("本文"));
    child<QPushButton>(editor, "templateInsert")->click();
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(),
             QStringLiteral("本文\n定例会議のお知らせ"));

    // Another slot and back: the text was kept in its file.
    titles->setCurrentRow(4);
    QVERIFY(templateText->toPlainText().isEmpty());
    titles->setCurrentRow(3);
    QCOMPARE(templateText->toPlainText(), QStringLiteral("定例会議のお知らせ"));

    QString question;
    hinagiku::testing::answerNextMessageBox(QMessageBox::Yes, &question);
    child<QPushButton>(editor, "templateDelete")->click();
    QCOMPARE(question, QStringLiteral("「Meeting」を削除しますか？"));
    QVERIFY(!std::filesystem::exists(file));
    QCOMPARE(titles->item(3)->text(), QStringLiteral("定型文4"));
    QCOMPARE(world.settings.readText("Popup_Teikei", "3", ""), std::string("定型文4"));
    QVERIFY(templateText->toPlainText().isEmpty());
    QVERIFY(!std::filesystem::exists(file));  // clearing did not save an empty template
    QCOMPARE(world.cueCount("del"), 1);
    editor->close();
}

void PopupEditorTest::closingRefreshesTheOtherWindows() {
    PopupWorld world;
    std::vector<std::string> calls;
    hinagiku::schedule::PopupHooks hooks;
    hooks.scheduleListEntryAdded = [&](hinagiku::DateTime date) {
        calls.push_back("list " + std::to_string(static_cast<int>(date)));
    };
    hooks.refreshScheduleManagement = [&] { calls.push_back("management"); };
    hooks.refreshCalendarMarks = [&] { calls.push_back("marks"); };
    hinagiku::schedule::setPopupHooks(hooks);

    QPointer<PopupEditor> editor = openEditor(world, dayOf(2024, 3, 15));
    editor->move(40, 30);
    child<QCheckBox>(editor, "addToSchedule")->setChecked(true);
    child<QPushButton>(editor, "cancelButton")->click();
    QTRY_VERIFY(editor.isNull());
    const std::vector<std::string> expected{
        "list " + std::to_string(static_cast<int>(dayOf(2024, 3, 15))), "management", "marks"};
    QCOMPARE(calls, expected);
    QCOMPARE(world.cueCount("clo"), 1);
    QCOMPARE(world.settings.readInt("Sch_wind", "left", -1), 40);
    QCOMPARE(world.settings.readInt("Sch_wind", "top", -1), 30);
}

void PopupEditorTest::presetOpensAnExistingEntry() {
    PopupWorld world;
    world.saveEntry("W0000600.__", "十分経過");
    world.saveEntry("0930__05.WED", "第一第三水曜");
    hinagiku::schedule::PopupEditorPreset uptime;
    uptime.uptimeSeconds = 600;
    QPointer<PopupEditor> editor =
        hinagiku::schedule::openPopupEditorOn(world.settings, world.clock, uptime);
    QCOMPARE(editor->entryPath(), world.pathOf("W0000600.__"));
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("十分経過"));
    QCOMPARE(child<QSpinBox>(editor, "uptimeSeconds")->value(), 600);
    QVERIFY(child<QPushButton>(editor, "deleteButton")->isEnabled());
    editor->close();

    hinagiku::schedule::PopupEditorPreset weekly;
    weekly.kind = PopupKind::Weekday;
    weekly.date = dayOf(2024, 3, 6);
    weekly.hour = 9;
    weekly.minute = 30;
    weekly.weeks = 5;
    editor = hinagiku::schedule::openPopupEditorOn(world.settings, world.clock, weekly);
    QCOMPARE(child<QTextEdit>(editor, "text")->toPlainText(), QStringLiteral("第一第三水曜"));
    QVERIFY(child<QCheckBox>(editor, "week1")->isChecked());
    QVERIFY(!child<QCheckBox>(editor, "week2")->isChecked());
    QVERIFY(child<QCheckBox>(editor, "week3")->isChecked());
    QCOMPARE(editor->copyString(), QStringLiteral("【第１第３水曜日】9:30～"));
    editor->close();
}

QTEST_MAIN(PopupEditorTest)
#include "test_popup_editor.moc"
