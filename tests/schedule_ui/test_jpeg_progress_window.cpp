#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QTest>

#include <filesystem>

#include "platform/jpeg_busy_flag.h"
#include "platform/jpeg_codec.h"
#include "schedule/ui/error_question.h"
#include "schedule/ui/jpeg_progress_window.h"
#include "support/temp_home.h"

using namespace hinagiku;
using schedule::JpegProgressWindow;
using Mode = JpegProgressWindow::Mode;

namespace {

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    }
    return image;
}

// Counts the times a window is shown.
struct ShowCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++count;
        return false;
    }
};

// Runs deferred deletions, so windows closed with WA_DeleteOnClose go.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class JpegProgressWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { home_ = std::make_unique<testing::TempHome>(); }
    void cleanup() {
        settle();
        home_.reset();
    }

    void looksAsItShould() {
        QPointer<JpegProgressWindow> window = new JpegProgressWindow;
        QCOMPARE(window->windowTitle(), QStringLiteral("Jpeg"));
        QCOMPARE(window->size(), QSize(229, 70));
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(window->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(window->versionText(), QStringLiteral("Version 2.70"));
        QCOMPARE(window->mode(), Mode::Decode);
        // Rounded corners: the very corner is outside the window's shape.
        QVERIFY(!window->mask().contains(QPoint(0, 0)));
        QVERIFY(window->mask().contains(QPoint(114, 35)));
        window->close();
        settle();
        QVERIFY(window.isNull());
    }

    void decodesAStreamWhileShowingProgress() {
        home_->writeFile("a.jpg", platform::encodeJpeg(gradient(320, 240)).bytes);
        QPointer<JpegProgressWindow> window = new JpegProgressWindow;
        int asked = 0;
        window->setErrorQuestion([&](const QString&) { return ++asked, true; });
        QFile file(q(home_->path() / "a.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(window->decode(file));
        QCOMPARE(window->picture().size(), QSize(320, 240));
        QCOMPARE(window->statusText(), QStringLiteral("Jpegファイルの読み込み中です。"));
        QCOMPARE(window->progressValue(), 100);
        QVERIFY(window->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(asked, 0);
        window->close();
    }

    void anUnseenDecodeIsNeverShown() {
        home_->writeFile("a.jpg", platform::encodeJpeg(gradient(64, 64)).bytes);
        QPointer<JpegProgressWindow> window = new JpegProgressWindow;
        window->setUnseen(true);
        ShowCounter shows;
        window->installEventFilter(&shows);
        QVERIFY(window->decodeFile(q(home_->path() / "a.jpg")));
        QCOMPARE(shows.count, 0);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->picture().size(), QSize(64, 64));
        window->close();
    }

    void encodesAtFullQualityAndReturnsToDecoding() {
        QPointer<JpegProgressWindow> window = new JpegProgressWindow;
        window->setMode(Mode::Encode);
        const QImage original = gradient(100, 80);
        const QString path = q(home_->path() / "memo.JPG");
        QVERIFY(window->encodeFile(original, path));
        QCOMPARE(window->statusText(), QStringLiteral("Jpegファイルの書き出し中です。"));
        QCOMPARE(window->mode(), Mode::Decode);
        QCOMPARE(window->progressValue(), 100);
        const platform::JpegDecodeResult back = platform::decodeJpegFile(path.toStdString());
        QVERIFY(back.ok());
        QCOMPARE(back.image.size(), QSize(100, 80));
        // Quality 100: the colours come back almost exactly.
        const QRgb p = back.image.pixel(50, 40);
        QVERIFY(std::abs(qRed(p) - 50) <= 4 && std::abs(qGreen(p) - 40) <= 4);

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        window->setMode(Mode::Encode);
        QVERIFY(window->encode(original, buffer));
        QVERIFY(buffer.data().startsWith("\xFF\xD8"));
        window->close();
    }

    void asksTheErrorQuestionWithTheCodecsMessage() {
        home_->writeFile("bad.jpg", "GIF89a, not a JPEG");
        QPointer<JpegProgressWindow> window = new JpegProgressWindow;
        QStringList asked;
        window->setErrorQuestion([&](const QString& text) {
            asked << text;
            [&] { QVERIFY(QApplication::overrideCursor() == nullptr); }();
            return true;
        });
        QVERIFY(!window->decodeFile(q(home_->path() / "bad.jpg")));
        QVERIFY(window->picture().isNull());
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith("Not a JPEG file"));
        QVERIFY(asked[0].endsWith("\n\r\rエラーです。\r処理を中断しますか？"));
        QVERIFY(window->errorText().startsWith("Not a JPEG file"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(schedule::messageBoxText("a\n\r\rb\r\nc"), QStringLiteral("a\n\n\nb\nc"));

        // A missing file and an unwritable target are asked about too.
        QVERIFY(!window->decodeFile(q(home_->path() / "missing.jpg")));
        QVERIFY(!window->encodeFile(gradient(8, 8), q(home_->path() / "no" / "x.jpg")));
        QCOMPARE(asked.size(), 3);
        QVERIFY(asked[2].contains("x.jpg"));
        window->close();
    }

    void noGoesOnWithWhatAFileCutShortHolds() {
        const std::string whole = platform::encodeJpeg(gradient(300, 300)).bytes;
        home_->writeFile("cut.jpg", whole.substr(0, whole.size() / 2));
        for (const bool stop : {false, true}) {
            QPointer<JpegProgressWindow> window = new JpegProgressWindow;
            window->setUnseen(true);
            window->setErrorQuestion([&](const QString&) { return stop; });
            QCOMPARE(window->decodeFile(q(home_->path() / "cut.jpg")), !stop);
            QCOMPARE(window->picture().isNull(), stop);
            window->close();
        }
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void theConvenienceCallsHoldTheBusyFlag() {
        home_->writeFile("a.jpg", platform::encodeJpeg(gradient(40, 30)).bytes);
        const QString path = q(home_->path() / "a.jpg");
        QCOMPARE(JpegProgressWindow::decodeWithProgress(path, nullptr, false).size(),
                 QSize(40, 30));
        QVERIFY(!platform::JpegBusyGuard::isBusy());
        {
            // While another decode holds the flag, a decode gives up after
            // its bounded wait instead of spinning.
            platform::JpegBusyGuard held = platform::JpegBusyGuard::acquire();
            QElapsedTimer timer;
            timer.start();
            QVERIFY(JpegProgressWindow::decodeWithProgress(path, nullptr, false).isNull());
            QVERIFY(timer.elapsed() < 10000);
        }
        const QString out = q(home_->path() / "out.JPG");
        QVERIFY(JpegProgressWindow::encodeWithProgress(gradient(20, 20), out));
        QVERIFY(QFile::exists(out));
        settle();
    }

  private:
    std::unique_ptr<testing::TempHome> home_;
};

QTEST_MAIN(JpegProgressWindowTest)
#include "test_jpeg_progress_window.moc"
