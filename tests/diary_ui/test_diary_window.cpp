#include <sys/stat.h>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <chrono>
#include <thread>

#include "diary/ui/diary_window.h"
#include "diary_fixture.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/format_bar.h"
#include "richtext/ui/replace_dialog.h"

using namespace hinagiku;
using diary::ui::DiaryWindow;
using testing::dayOf;

namespace {

const std::string kRtfPage =
    platform::toCp932(
        "TITLE:題名\r\nWEATHER:晴\r\nCODE:RTF\r\nKIV_FONTCOLOR:-2147483640\r\n"
        "KIV_BACKCOLOR:-2147483643\r\nKIV_TOP:20\r\nKIV_LEFT:30\r\nKIV_HEIGHT:400\r\n"
        "KIV_WIDTH:480\r\nKIV_READONLY:FALSE\r\n") +
    "X-OWN:\x87\x40\r\n:END\r\n" +
    "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
    "\\'82\\'6f\\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}{\\f1 Serif;}{\\f2 Monospace;}}"
    "\\f0\\fs18 first \\f1\\fs28\\b serif \\f2\\fs12\\i mono\\par second line\\par}\r\n";

}  // namespace

class DiaryWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::DiaryFixture> fx_;

    DiaryWindow* open(int day) {
        auto* window = new DiaryWindow(fx_->settings, fx_->folder, day);
        window->dialogs() = fx_->dialogs();
        window->show();
        return window;
    }

  private slots:
    void init() { fx_ = std::make_unique<testing::DiaryFixture>(); }
    void cleanup() {
        // Windows a failed check left open go before the settings they use.
        QList<QPointer<DiaryWindow>> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<DiaryWindow*>(widget))
                windows << window;
        }
        for (const QPointer<DiaryWindow>& window : windows)
            delete window.data();
        fx_.reset();
    }

    void unchangedPageKeepsBytesAndTime() {
        fx_->write("20240315.JNL", kRtfPage);
        const auto path = fx_->folder / "20240315.JNL";
        const auto before = std::filesystem::last_write_time(path);
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QCOMPARE(w->titleField()->text(), QStringLiteral("題名"));
        QVERIFY(w->deleteButton()->isEnabled());
        // The cursor walks every character and its fonts; the bar follows.
        const int length = w->editor()->document()->characterCount();
        for (int i = 0; i < length; ++i) {
            QTextCursor cursor = w->editor()->textCursor();
            cursor.setPosition(i);
            w->editor()->setTextCursor(cursor);
        }
        w->editor()->selectAll();
        QVERIFY(!w->isModified());
        QVERIFY(w->close());
        QVERIFY(w.isNull() || !w->isVisible());
        QCOMPARE(fx_->read("20240315.JNL"), kRtfPage);
        QCOMPARE(std::filesystem::last_write_time(path), before);
    }

    void newPageWritesNothingUntilChanged() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 16));
        QCOMPARE(w->windowTitle(), QStringLiteral("2024/03/16 (土)の日記"));
        QCOMPARE(w->titleField()->text(), QStringLiteral("2024/03/16 (土)の日記"));
        QVERIFY(!w->deleteButton()->isEnabled());
        w->close();
        QVERIFY(!fx_->exists("20240316.JNL"));

        w = open(dayOf(2024, 3, 16));
        testing::typeText(w->editor(), QStringLiteral("hello"));
        testing::typeText(w->weatherField(), QStringLiteral("雨"));
        w->close();
        const std::string page = fx_->read("20240316.JNL");
        QVERIFY(page.rfind(
                    platform::toCp932("TITLE:2024/03/16 (土)の日記\r\nWEATHER:雨\r\nCODE:RTF\r\n"),
                    0) == 0);
        QVERIFY(page.find("KIV_READONLY:FALSE\r\n:END\r\n{\\rtf1") != std::string::npos);
        QVERIFY(page.find("hello") != std::string::npos);
        QCOMPARE(fx_->settings.readInt("Nikki", "Width", 0), 497);
    }

    void modifiedPageKeepsItsOwnLinesAndPlace() {
        fx_->write("20240315.jnl", kRtfPage);
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QCOMPARE(w->pos(), QPoint(30, 20));
        QCOMPARE(w->size(), QSize(480, 400));
        testing::typeText(w->titleField(), QStringLiteral("!"));
        w->close();
        QVERIFY(!fx_->exists("20240315.JNL") || fx_->read("20240315.jnl").size() > 0);
        const std::string page = fx_->read("20240315.jnl");
        QVERIFY(page.find("KIV_READONLY:FALSE\r\nX-OWN:\x87\x40\r\n:END\r\n") != std::string::npos);
        QVERIFY(page.find("KIV_TOP:20\r\nKIV_LEFT:30\r\nKIV_HEIGHT:400\r\nKIV_WIDTH:480\r\n") !=
                std::string::npos);
        // Saved under its own name, no case twin beside it.
        QCOMPARE(std::distance(std::filesystem::directory_iterator(fx_->folder),
                               std::filesystem::directory_iterator()),
                 1);
    }

    void readOnlyTwiceRestoresTheCaption() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        const QString caption = w->windowTitle();
        w->toggleReadOnly();
        QCOMPARE(w->windowTitle(), caption + QStringLiteral(" (RO)"));
        QVERIFY(w->editor()->isReadOnly());
        QCOMPARE(w->editor()->toolTip(), QStringLiteral("読み取り専用です。"));
        w->toggleReadOnly();
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(!w->editor()->isReadOnly());
        QVERIFY(w->titleField()->isEnabled() && !w->titleField()->isReadOnly());
        w->toggleReadOnly();
        w->close();
        QVERIFY(fx_->read("20240315.JNL").find("KIV_READONLY:TRUE\r\n") != std::string::npos);
        // Opened again, read-only from the file.
        w = open(dayOf(2024, 3, 15));
        QVERIFY(w->editor()->isReadOnly());
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" (RO)")));
        w->close();
    }

    void deleteAsksAndRemovesTheFile() {
        fx_->write("20240315.JNL", kRtfPage);
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        fx_->deleteAnswer = false;
        w->dialogs() = fx_->dialogs();
        w->deletePage();
        QVERIFY(w && w->isVisible());
        QVERIFY(fx_->exists("20240315.JNL"));
        fx_->deleteAnswer = true;
        w->dialogs() = fx_->dialogs();
        testing::typeText(w->editor(), QStringLiteral("x"));  // modified, still not written
        w->deletePage();
        QVERIFY(w.isNull() || !w->isVisible());
        QVERIFY(!fx_->exists("20240315.JNL"));
    }

    void exportCancelledOwnFileOrElsewhere() {
        fx_->write("20240315.JNL", kRtfPage);
        // Cancelled: the page stays as it was, and still saves when modified.
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        testing::typeText(w->titleField(), QStringLiteral("A"));
        fx_->exportTarget.clear();
        w->dialogs() = fx_->dialogs();
        w->exportPlainText();
        QVERIFY(w && w->isVisible());
        w->close();
        QVERIFY(fx_->read("20240315.JNL").find("CODE:RTF") != std::string::npos);
        QVERIFY(fx_->read("20240315.JNL").find(platform::toCp932("題名A")) != std::string::npos);

        // Elsewhere: the export is written and the page still saved.
        w = open(dayOf(2024, 3, 15));
        testing::typeText(w->titleField(), QStringLiteral("B"));
        fx_->exportTarget = QString::fromStdString((fx_->home->path() / "out.jnl").string());
        w->dialogs() = fx_->dialogs();
        w->exportPlainText();
        std::string exported;
        platform::readWholeFile(fx_->home->path() / "out.jnl", exported);
        QVERIFY(exported.find("CODE:RTF") == std::string::npos);
        QVERIFY(exported.find(":END\r\nfirst serif mono\r\nsecond line") != std::string::npos);
        QVERIFY(fx_->read("20240315.JNL").find(platform::toCp932("題名AB")) != std::string::npos);
        QVERIFY(fx_->read("20240315.JNL").find("CODE:RTF") != std::string::npos);

        // Over its own file: the plain body stays.
        w = open(dayOf(2024, 3, 15));
        testing::typeText(w->titleField(), QStringLiteral("C"));
        fx_->exportTarget = QString::fromStdString((fx_->folder / "20240315.JNL").string());
        w->dialogs() = fx_->dialogs();
        w->exportPlainText();
        const std::string own = fx_->read("20240315.JNL");
        QVERIFY(own.find("CODE:RTF") == std::string::npos);
        QVERIFY(own.find(platform::toCp932("題名ABC")) != std::string::npos);
    }

    void findAndReplace() {
        fx_->write("20240315.JNL", "TITLE:t\r\n:END\r\ncat one\r\ndog\r\ncat two\r\n");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        w->openFind();
        w->findDialog()->textField()->setText(QStringLiteral("cat"));
        QVERIFY(w->findDialog()->findNext());
        QCOMPARE(w->editor()->textCursor().selectionStart(), 0);
        QVERIFY(w->findDialog()->findNext());
        QCOMPARE(w->editor()->textCursor().selectedText(), QStringLiteral("cat"));
        QCOMPARE(w->editor()->textCursor().selectionStart(), 12);
        QVERIFY(!w->isModified());
        w->openReplace();
        w->replaceDialog()->textField()->setText(QStringLiteral("cat"));
        w->replaceDialog()->replacementField()->setText(QStringLiteral("cats"));
        QCOMPARE(w->replaceDialog()->replaceAll(), 2);
        QCOMPARE(w->editor()->toPlainText(), QStringLiteral("cats one\ndog\ncats two\n"));
        QVERIFY(w->isModified());
        w->close();
        QVERIFY(fx_->read("20240315.JNL").find("cats two") != std::string::npos);
    }

    void printsACopyToPdf() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        fx_->write("20240315.JNL",
                   platform::toCp932("TITLE:印刷の題\r\nWEATHER:曇\r\n:END\r\n本文です\r\n"));
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        const QString before = w->editor()->toPlainText();
        const QString pdf = QString::fromStdString((fx_->home->path() / "page.pdf").string());
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        w->printTo(printer);
        QCOMPARE(w->editor()->toPlainText(), before);
        QVERIFY(!w->isModified());
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        // PDF text may come back as compatibility ideographs (⾦ for 金).
        const QString printed = QString::fromUtf8(text.readAllStandardOutput())
                                    .normalized(QString::NormalizationForm_KC);
        for (const QString& line :
             {QStringLiteral("【2024/03/15 (金)の日記】"), QStringLiteral("【タイトル：印刷の題】"),
              QStringLiteral("【天気：曇】"), QStringLiteral("本文です")}) {
            QVERIFY2(printed.contains(line.normalized(QString::NormalizationForm_KC)),
                     qPrintable(printed));
        }
        w->close();
    }

    void refusedPagesCloseAndStayUntouched_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("cipher") << QByteArray("TITLE:t\r\nCIPHER:Blowfish\r\n:END\r\nx")
                                << QStringLiteral("｢Blowfish｣で暗号化されているので中断します。");
        QTest::newRow("html") << QByteArray("CODE:HTML\r\n:END\r\n<p>x</p>")
                              << QStringLiteral("｢HTML｣は未サポートなので中断します。");
        QTest::newRow("no end") << QByteArray("TITLE:t\r\nbody") << QStringLiteral(":END");
        QTest::newRow("empty") << QByteArray() << QStringLiteral(":END");
        QTest::newRow("nul") << QByteArray("\0\0\0TITLE:\0\r\n", 12) << QStringLiteral(":END");
    }

    void refusedPagesCloseAndStayUntouched() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        fx_->write("20240315.JNL", bytes.toStdString());
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QTRY_VERIFY(w.isNull() || !w->isVisible());
        QCOMPARE(fx_->warnings.size(), 1);
        QVERIFY2(fx_->warnings.front().contains(message), qPrintable(fx_->warnings.front()));
        QCOMPARE(fx_->read("20240315.JNL"), bytes.toStdString());
    }

    void tooLargePageIsRefused() {
        {
            std::ofstream big(fx_->folder / "20240315.JNL", std::ios::binary);
            big << "TITLE:big\r\n:END\r\n";
            big.seekp(50ll * 1024 * 1024);
            big << 'x';
        }
        const auto size = std::filesystem::file_size(fx_->folder / "20240315.JNL");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QTRY_VERIFY(w.isNull() || !w->isVisible());
        QCOMPARE(fx_->warnings.size(), 1);
        QCOMPARE(std::filesystem::file_size(fx_->folder / "20240315.JNL"), size);
    }

    void weatherButtonsAppendAndTheMenuReplaces() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QVERIFY(!w->isModified());
        w->findChild<QPushButton*>(QStringLiteral("weather_晴"))->click();
        for (QPushButton* button : w->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("後"))
                button->click();
        }
        w->findChild<QPushButton*>(QStringLiteral("weather_雨"))->click();
        QCOMPARE(w->weatherField()->text(), QStringLiteral("晴 のち 雨"));
        QVERIFY(w->isModified());
        const QList<QAction*> phrases = w->weatherMenu()->actions();
        QStringList captions;
        for (QAction* action : phrases)
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(captions, (QStringList{"晴", "曇", "雨", "-", "晴 のち 曇", "晴 のち 雨",
                                        "曇 のち 雨", "-", "晴 時々 雨"}));
        phrases[4]->trigger();
        QCOMPARE(w->weatherField()->text(), QStringLiteral("晴 のち 曇"));
        w->close();
        QVERIFY(fx_->read("20240315.JNL").find(platform::toCp932("WEATHER:晴 のち 曇\r\n")) !=
                std::string::npos);
    }

    void bmpPictureShowsWithItsThumbnail() {
        const std::string picture = (fx_->home->path() / "day.BMP").string();
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(QString::fromStdString(picture), "BMP"));
        fx_->write("20240315.JNL", "BMP:" + picture + "\r\n:END\r\n");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        w->togglePicture();
        QVERIFY(w->pictureShown());
        QVERIFY(!w->pictureButton()->icon().isNull());
        w->togglePicture();
        QVERIFY(!w->pictureShown());
        QVERIFY(!w->isModified());
        w->close();
        QVERIFY(fx_->warnings.isEmpty());
    }

    void pageColoursKeepTheirNumbersAndCancelChangesNothing() {
        fx_->write("20240315.JNL", kRtfPage);
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        fx_->colorAnswer.reset();
        w->dialogs() = fx_->dialogs();
        w->chooseFontColor();
        w->chooseBackColor();
        w->formatBar()->chooseColor();
        QVERIFY(!w->isModified());
        QCOMPARE(fx_->settings.readText("Nikki", "Color1", "absent"), std::string("absent"));
        fx_->colorAnswer = QColor(0x11, 0x22, 0x33);
        w->dialogs() = fx_->dialogs();
        w->chooseBackColor();
        QVERIFY(w->isModified());
        w->close();
        const std::string page = fx_->read("20240315.JNL");
        // The text colour stays the system colour number; the new background
        // is stored red-lowest.
        QVERIFY(page.find("KIV_FONTCOLOR:-2147483640\r\nKIV_BACKCOLOR:3351057\r\n") !=
                std::string::npos);
    }

    void badNumbersAreReportedAndThePageOpens() {
        fx_->write("20240315.JNL",
                   "TITLE:t\r\nKIV_WIDTH:-5\r\nKIV_TOP:99999999999\r\n:END\r\nbody");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QVERIFY(w && w->isVisible());
        QCOMPARE(fx_->warnings.size(), 1);
        QVERIFY(fx_->warnings.front().contains(QStringLiteral("2行目")));
        QVERIFY(fx_->warnings.front().contains(QStringLiteral("3行目")));
        QCOMPARE(w->editor()->toPlainText(), QStringLiteral("body"));
        QVERIFY(w->width() > 0);
        w->close();
    }

    void placementOnNoScreenIsPulledOn() {
        fx_->write("20240315.JNL", "KIV_TOP:-30000\r\nKIV_LEFT:50000\r\n:END\r\n");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.intersects(w->geometry()));
        w->close();
    }

    void failingSaveReportsAndStaysOpen() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        testing::typeText(w->editor(), QStringLiteral("keep me"));
        // A folder where the page would go: the save cannot replace it.
        std::filesystem::create_directory(fx_->folder / "20240315.JNL");
        QVERIFY(!w->close());
        QVERIFY(w && w->isVisible());
        QCOMPARE(fx_->warnings.size(), 1);
        QCOMPARE(w->editor()->toPlainText(), QStringLiteral("keep me"));
        std::filesystem::remove(fx_->folder / "20240315.JNL");
        QVERIFY(w->close());
        QVERIFY(fx_->read("20240315.JNL").find("keep me") != std::string::npos);
    }

    void titleCp932LacksIsRefusedWithANote() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        testing::typeText(w->titleField(), QStringLiteral("寿司🍣"));
        QVERIFY(!w->close());
        QCOMPARE(fx_->warnings.size(), 1);
        QVERIFY(!fx_->exists("20240315.JNL"));
        w->titleField()->setText(QStringLiteral("寿司"));
        QVERIFY(w->close());
        QVERIFY(fx_->read("20240315.JNL").find(platform::toCp932("TITLE:寿司\r\n")) == 0);
    }

    void legacyPageIsConvertedOnOpen() {
        fx_->write("NI240315.DAY", platform::toCp932("古い題\r\n【天気】晴\r\n古い本文\r\n"));
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        QVERIFY(!fx_->exists("NI240315.DAY"));
        QCOMPARE(fx_->read("20240315.JNL"),
                 platform::toCp932("TITLE:古い題\r\nWEATHER:晴\r\n:END\r\n古い本文\r\n"));
        QCOMPARE(w->titleField()->text(), QStringLiteral("古い題"));
        QVERIFY(
            w->statusLine()->text().endsWith(QStringLiteral("20240315.JNLに変換し保存しました｡")));
        QVERIFY(w->deleteButton()->isEnabled());
        w->close();
        // Unchanged after the conversion: nothing more written.
        QCOMPARE(fx_->read("20240315.JNL"),
                 platform::toCp932("TITLE:古い題\r\nWEATHER:晴\r\n:END\r\n古い本文\r\n"));
    }

    void programEndSavesOpenPages() {
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        testing::typeText(w->editor(), QStringLiteral("at the end"));
        w->endSession();
        QVERIFY(fx_->read("20240315.JNL").find("at the end") != std::string::npos);
    }

    void pictureFromFifoDevOrBrokenJpegShowsNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("dev zero") << "zero";
        QTest::newRow("truncated jpeg") << "jpeg";
    }

    void pictureFromFifoDevOrBrokenJpegShowsNothing() {
        QFETCH(QString, kind);
        std::string path;
        if (kind == "fifo") {
            path = (fx_->home->path() / "pipe.bmp").string();
            QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
        } else if (kind == "zero") {
            path = "/dev/zero";
        } else {
            path = (fx_->home->path() / "broken.jpg").string();
            std::ofstream(path, std::ios::binary) << "\xFF\xD8\xFF\xE0\x00\x10JFIF";
        }
        fx_->write("20240315.JNL", "BMP:" + path + "\r\n:END\r\n");
        QPointer<DiaryWindow> w = open(dayOf(2024, 3, 15));
        w->dialogs().choosePicture = [](QWidget*, const QString&) { return QString(); };
        w->togglePicture();
        QVERIFY(w && w->isVisible());
        w->close();
    }
};

QTEST_MAIN(DiaryWindowTest)
#include "test_diary_window.moc"
