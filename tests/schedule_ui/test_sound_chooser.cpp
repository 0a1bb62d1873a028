#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include "platform/sound_output.h"
#include "platform/sound_recorder.h"
#include "schedule/ui/drive_list.h"
#include "schedule/ui/file_browser.h"
#include "schedule/ui/sound_chooser.h"
#include "support/temp_home.h"

using namespace hinagiku;
using schedule::Drive;
using schedule::SoundChooser;
using Kind = platform::SoundRecorder::Kind;

namespace {

QStringList listed(const SoundChooser& chooser) {
    QStringList names;
    const QListWidget* list = chooser.browser()->fileList();
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

class SoundChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        home_ = std::make_unique<testing::TempHome>();
        home_->writeFile("sounds/Alarm.wav", "RIFF");
        home_->writeFile("sounds/bell.MID", "MThd");
        home_->writeFile("sounds/notes.txt", "x");
        home_->writeFile("sounds/song.mp3", "x");
        home_->writeFile("sounds/more/chime.wav", "RIFF");
        drives_ = {{"/", "/"}, {q(home_->path()), "home"}};
        recorder_.clear();
        platform::setSoundOutput(&recorder_);
    }
    void cleanup() {
        platform::setSoundOutput(nullptr);
        home_.reset();
    }

    void drivesAreRootHomeAndRemovableMedia() {
        const QStringList mounts{"/",
                                 "/boot",
                                 "/home",
                                 "/media/kiku/USB STICK/",
                                 "/mnt",
                                 "/mnt/backup",
                                 "/run/media/kiku/CARD",
                                 "/media/other/DISK",
                                 "/run/user/1000",
                                 "/home/kiku"};
        const std::vector<Drive> expected{{"/", "/"},
                                          {"/home/kiku", "ホーム (/home/kiku)"},
                                          {"/media/kiku/USB STICK", "/media/kiku/USB STICK"},
                                          {"/mnt", "/mnt"},
                                          {"/mnt/backup", "/mnt/backup"},
                                          {"/run/media/kiku/CARD", "/run/media/kiku/CARD"}};
        QCOMPARE(schedule::listDrives("/home/kiku/", "kiku", mounts), expected);

        QCOMPARE(schedule::driveIndexFor(expected, "/home/kiku/Music"), 1);
        QCOMPARE(schedule::driveIndexFor(expected, "/home/kikuchi"), 0);
        QCOMPARE(schedule::driveIndexFor(expected, "/mnt/backup/2024"), 4);
        QCOMPARE(schedule::driveIndexFor(expected, "/mnt"), 3);
        QCOMPARE(schedule::driveIndexFor(expected, "/etc"), 0);
    }

    void opensAtTheInitialFileAndPlaysIt() {
        SoundChooser chooser(nullptr, drives_);
        QCOMPARE(chooser.windowTitle(), QStringLiteral("サウンドの選択"));
        const QString alarm = q(home_->path() / "sounds" / "Alarm.wav");
        chooser.setFileName(alarm);
        QCOMPARE(chooser.browser()->driveBox()->currentIndex(), 1);
        QCOMPARE(chooser.browser()->currentFolder(), q(home_->path() / "sounds"));
        QCOMPARE(listed(chooser), (QStringList{"Alarm.wav", "bell.MID"}));
        QCOMPARE(chooser.fileName(), alarm);
        QVERIFY(chooser.testButton()->isEnabled());
        QCOMPARE(chooser.testButton()->toolTip(), QStringLiteral("テスト再生"));

        QTest::mouseClick(chooser.testButton(), Qt::LeftButton);
        QCOMPARE(recorder_.calls().size(), std::size_t{1});
        QCOMPARE(recorder_.calls()[0].kind, Kind::File);
        QCOMPARE(q(recorder_.calls()[0].path), alarm);

        // A double-click on a file and the menu's test play do the same.
        QListWidget* list = chooser.browser()->fileList();
        list->setCurrentRow(1);
        emit list->itemActivated(list->item(1));
        const auto actions = chooser.contextMenu()->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("音色テスト"));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->text(), QStringLiteral("閉じる(&C)"));
        actions[0]->trigger();
        QCOMPARE(recorder_.calls().size(), std::size_t{3});
        QCOMPARE(q(recorder_.calls()[2].path), q(home_->path() / "sounds" / "bell.MID"));
    }

    void filtersAndFoldersChangeTheList() {
        SoundChooser chooser(nullptr, drives_);
        chooser.setFileName(q(home_->path() / "sounds" / "Alarm.wav"));
        QCOMPARE(chooser.filterBox()->count(), 3);
        QCOMPARE(chooser.filterBox()->itemText(0), QStringLiteral("*.WAV;*.MID"));
        chooser.filterBox()->setCurrentIndex(2);  // *.MID
        QCOMPARE(listed(chooser), QStringList{"bell.MID"});
        // A new list selects nothing: the label clears and test play is off.
        QCOMPARE(chooser.fileName(), QString());
        QVERIFY(!chooser.testButton()->isEnabled());
        chooser.filterBox()->setCurrentIndex(1);  // *.WAV

        QTreeWidget* tree = chooser.browser()->folderTree();
        QTreeWidgetItem* sounds = tree->currentItem();
        QVERIFY(sounds != nullptr);
        sounds->setExpanded(true);
        QCOMPARE(sounds->childCount(), 1);
        tree->setCurrentItem(sounds->child(0));
        QCOMPARE(listed(chooser), QStringList{"chime.wav"});
        chooser.browser()->fileList()->setCurrentRow(0);
        QCOMPARE(chooser.fileName(), q(home_->path() / "sounds" / "more" / "chime.wav"));

        // Another drive shows its own folders.
        chooser.browser()->driveBox()->setCurrentIndex(0);
        emit chooser.browser()->driveBox()->activated(0);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("/"));
        QCOMPARE(chooser.browser()->currentFolder(), QStringLiteral("/"));
    }

    void aMissingInitialFileSelectsNothing() {
        SoundChooser chooser(nullptr, drives_);
        chooser.setFileName(q(home_->path() / "sounds" / "gone.wav"));
        QCOMPARE(chooser.browser()->currentFolder(), q(home_->path() / "sounds"));
        QCOMPARE(chooser.fileName(), QString());
        QVERIFY(!chooser.testButton()->isEnabled());
        chooser.playSelected();
        QVERIFY(recorder_.calls().empty());

        SoundChooser nowhere(nullptr, drives_);
        nowhere.setFileName(q(home_->path() / "no folder" / "x.wav"));
        QCOMPARE(nowhere.fileName(), QString());
    }

    void closingStopsTheSoundAndKeepsTheSelection() {
        SoundChooser chooser(nullptr, drives_);
        const QString alarm = q(home_->path() / "sounds" / "Alarm.wav");
        chooser.setFileName(alarm);
        QTimer::singleShot(0, chooser.closeButton(), &QPushButton::click);
        chooser.exec();
        QCOMPARE(chooser.fileName(), alarm);
        QVERIFY(!recorder_.calls().empty());
        QCOMPARE(recorder_.calls().back().kind, Kind::Stop);

        // Esc closes the same way: there is no cancel.
        recorder_.clear();
        QTimer::singleShot(0, &chooser, [&] { QTest::keyClick(&chooser, Qt::Key_Escape); });
        chooser.exec();
        QCOMPARE(chooser.fileName(), alarm);
        QCOMPARE(recorder_.calls().back().kind, Kind::Stop);
    }

  private:
    std::unique_ptr<testing::TempHome> home_;
    std::vector<Drive> drives_;
    platform::SoundRecorder recorder_;
};

QTEST_MAIN(SoundChooserTest)
#include "test_sound_chooser.moc"
