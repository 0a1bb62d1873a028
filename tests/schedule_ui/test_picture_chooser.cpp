#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "core/sound_cues.h"
#include "platform/jpeg_busy_flag.h"
#include "platform/jpeg_codec.h"
#include "platform/sound_output.h"
#include "platform/sound_recorder.h"
#include "schedule/ui/file_browser.h"
#include "schedule/ui/picture_chooser.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

using namespace hinagiku;
using schedule::Drive;
using schedule::PictureChooser;
using Kind = platform::SoundRecorder::Kind;

namespace {

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QImage picture(QRgb colour, int width = 300, int height = 200) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QStringList listed(const PictureChooser& chooser) {
    QStringList names;
    const QListWidget* list = chooser.browser()->fileList();
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

void select(PictureChooser& chooser, const QString& name) {
    const auto found = chooser.browser()->fileList()->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    chooser.browser()->fileList()->setCurrentItem(found.front());
}

}  // namespace

class PictureChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        home_ = std::make_unique<testing::TempHome>();
        const auto folder = home_->path() / "pictures";
        std::filesystem::create_directories(folder);
        picture(qRgb(0, 0, 255)).save(q(folder / "blue.bmp"), "BMP");
        home_->writeFile("pictures/red.jpg", platform::encodeJpeg(picture(qRgb(255, 0, 0))).bytes);
        home_->writeFile("pictures/GREEN.JPG",
                         platform::encodeJpeg(picture(qRgb(0, 255, 0))).bytes);
        home_->writeFile("pictures/long.jpeg", platform::encodeJpeg(picture(0)).bytes);
        home_->writeFile("pictures/broken.jpg", "this is no picture");
        home_->writeFile("pictures/notes.txt", "x");
        drives_ = {{"/", "/"}, {q(home_->path()), "home"}};
        recorder_.clear();
        platform::setSoundOutput(&recorder_);
    }
    void cleanup() {
        platform::setSoundOutput(nullptr);
        home_.reset();
    }

    void listsBitmapsAndJpgsOnly() {
        PictureChooser chooser(settings_, nullptr, drives_);
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Picture File"));
        QCOMPARE(chooser.okButton()->text(), QStringLiteral("設定"));
        QCOMPARE(chooser.previewCheck()->text(), QStringLiteral("プレビュー"));
        chooser.setFileName(q(home_->path() / "pictures" / "blue.bmp"));
        QCOMPARE(listed(chooser), (QStringList{"blue.bmp", "broken.jpg", "GREEN.JPG", "red.jpg"}));
        QCOMPARE(chooser.fileName(), q(home_->path() / "pictures" / "blue.bmp"));
        QVERIFY(chooser.previewBox()->isHidden());
        const auto actions = chooser.contextMenu()->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions[0]->text(), QStringLiteral("閉じる(&C)"));

        PictureChooser empty(settings_, nullptr, drives_);
        empty.setFileName(QString());
        QCOMPARE(empty.fileName(), QString());
    }

    void previewsBitmapsAndDecodesJpegs() {
        PictureChooser chooser(settings_, nullptr, drives_);
        int questions = 0;
        chooser.setErrorQuestion([&](const QString&) { return ++questions, true; });
        chooser.setFileName(q(home_->path() / "pictures" / "blue.bmp"));
        chooser.previewCheck()->setChecked(true);
        QVERIFY(!chooser.previewBox()->isHidden());
        QCOMPARE(chooser.previewBox()->size(), QSize(133, 137));
        QCOMPARE(chooser.previewBox()->pixmap().toImage().pixel(5, 5), qRgb(0, 0, 255));

        select(chooser, "GREEN.JPG");
        QCOMPARE(chooser.fileName(), q(home_->path() / "pictures" / "GREEN.JPG"));
        const QImage shown = chooser.previewBox()->pixmap().toImage();
        QVERIFY(!shown.isNull());
        QVERIFY(qGreen(shown.pixel(5, 5)) > 240 && qRed(shown.pixel(5, 5)) < 16);
        QCOMPARE(chooser.progressBar()->value(), 100);
        QVERIFY(!platform::JpegBusyGuard::isBusy());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(questions, 0);

        chooser.previewCheck()->setChecked(false);
        QVERIFY(chooser.previewBox()->isHidden());
    }

    void asksWhenAJpegCannotBeDecoded() {
        PictureChooser chooser(settings_, nullptr, drives_);
        QStringList asked;
        chooser.setErrorQuestion([&](const QString& text) {
            asked << text;
            return true;
        });
        chooser.setFileName(q(home_->path() / "pictures" / "broken.jpg"));
        chooser.previewCheck()->setChecked(true);
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith("Not a JPEG file"));
        QVERIFY(asked[0].endsWith("\nエラーです。\n処理を中断しますか？"));
        QVERIFY(chooser.previewBox()->pixmap().isNull());
        QVERIFY(!platform::JpegBusyGuard::isBusy());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aJpegCutShortShowsWhatItHasUnlessTheUserStops() {
        const std::string whole = platform::encodeJpeg(picture(qRgb(255, 0, 0), 400, 400)).bytes;
        home_->writeFile("pictures/cut.jpg", whole.substr(0, whole.size() / 2));
        for (const bool stop : {false, true}) {
            PictureChooser chooser(settings_, nullptr, drives_);
            int questions = 0;
            chooser.setErrorQuestion([&](const QString& text) {
                ++questions;
                [&] { QVERIFY(text.contains("Premature end")); }();
                return stop;
            });
            chooser.setFileName(q(home_->path() / "pictures" / "cut.jpg"));
            chooser.previewCheck()->setChecked(true);
            QCOMPARE(questions, 1);
            QCOMPARE(chooser.previewBox()->pixmap().isNull(), stop);
        }
    }

    void playsItsCuesAndStaysOnTheScreen() {
        PictureChooser chooser(settings_, nullptr, drives_);
        chooser.move(-50, -40);
        // Checks inside the dialog's loop only record what they see: a failed
        // QVERIFY there would return before the click and hang the test.
        QRect shownAt;
        QTimer::singleShot(0, &chooser, [&] {
            shownAt = chooser.frameGeometry();
            chooser.okButton()->click();
        });
        chooser.exec();
        QVERIFY(shownAt.isValid());
        QVERIFY(shownAt.left() >= 0);
        QVERIFY(shownAt.top() >= 0);
        QCOMPARE(recorder_.calls().size(), std::size_t{2});
        QCOMPARE(recorder_.calls()[0].kind, Kind::Cue);
        QCOMPARE(recorder_.calls()[0].wave, core::soundCueData("ope"));
        QCOMPARE(recorder_.calls()[1].wave, core::soundCueData("clo"));

        const QRect screen = chooser.screen()->geometry();
        chooser.move(screen.right() - 10, screen.bottom() - 10);
        QTimer::singleShot(0, &chooser, [&] {
            shownAt = chooser.frameGeometry();
            chooser.contextMenu()->actions()[0]->trigger();
        });
        chooser.exec();
        QVERIFY(shownAt.isValid());
        QVERIFY(shownAt.right() <= screen.right());
        QVERIFY(shownAt.bottom() <= screen.bottom());

        settings_.writeBool("Form", "Waveplay", false);
        recorder_.clear();
        QTimer::singleShot(0, &chooser, [&] { chooser.okButton()->click(); });
        chooser.exec();
        QVERIFY(recorder_.calls().empty());
    }

  private:
    std::unique_ptr<testing::TempHome> home_;
    std::vector<Drive> drives_;
    testing::MemorySettings settings_;
    platform::SoundRecorder recorder_;
};

QTEST_MAIN(PictureChooserTest)
#include "test_picture_chooser.moc"
