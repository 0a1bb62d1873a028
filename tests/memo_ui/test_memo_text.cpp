// The memo window's text commands and its life across runs: the one find
// and replace of all memos, printing a copy, ".txt" saves, the wallpaper,
// and reopening in place after the program ends.
#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <filesystem>
#include <memory>

#include "calendar/date_time.h"
#include "core/ui/session_end.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_search.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/replace_dialog.h"
#include "support/temp_home.h"

using namespace hinagiku;
namespace fs = std::filesystem;

class MemoTextTest : public QObject {
    Q_OBJECT

    std::unique_ptr<hinagiku::testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;
    QString savePath;   // what the save dialog answers
    QString saveStart;  // what it was preset to
    std::vector<std::string> wallpapers;
    QString chosenPicture;
    QString chooserCaption;
    QString chooserCurrent;

    fs::path folder() const { return home->path() / "Memo"; }
    memo::MemoWindow* openNew(const QString& text = {}) {
        const std::string key = memo::MemoStore(*settings, folder()).create(0);
        memo::MemoWindow* window = memo::openMemo(*settings, key, key, 0);
        if (!text.isEmpty())
            QTest::keyClicks(window->textArea(), text);
        return window;
    }
    static std::string read(const fs::path& path) {
        std::string bytes;
        platform::readWholeFile(path, bytes);
        return bytes;
    }

  private slots:
    void init() {
        home = std::make_unique<hinagiku::testing::TempHome>();
        settings = std::make_unique<platform::MemorySettings>();
        settings->writeText("Calendar", "Directory", home->path().string());
        settings->writeInt("Form", "Waveplay", 0);
        memo::setMemoHost({[] { return QRect(100, 50, 240, 300); }, {}});
        wallpapers.clear();
        memo::MemoDialogs dialogs = memo::standardMemoDialogs();
        dialogs.saveFileName = [this](QWidget*, const QString& start, const QString&) {
            saveStart = start;
            return savePath;
        };
        dialogs.setWallpaper = [this](const QImage& bitmap, const std::string& path) {
            wallpapers.push_back(path);
            bitmap.save(QString::fromStdString(path), "BMP");
            return platform::WallpaperResult{platform::WallpaperResult::Status::Applied, {}};
        };
        dialogs.choosePicture = [this](QWidget*, const platform::Settings&, const QString& caption,
                                       const QString& current) {
            chooserCaption = caption;
            chooserCurrent = current;
            return chosenPicture;
        };
        memo::setMemoDialogs(dialogs);
    }
    void cleanup() {
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        settings.reset();
        home.reset();
    }

    void oneSearchServesEveryMemo() {
        memo::MemoWindow* a = openNew(QStringLiteral("alpha beta alpha"));
        memo::MemoWindow* b = openNew(QStringLiteral("gamma beta"));
        a->openFind();
        richtext::ui::FindDialog* find = memo::memo_search::findDialog();
        QVERIFY(find != nullptr);
        find->textField()->setText(QStringLiteral("beta"));
        QVERIFY(find->findNext());
        QCOMPARE(a->textArea()->textCursor().selectionStart(), 6);

        // The other memo finds the same text with the same dialog, in its own text.
        b->openFind();
        QCOMPARE(memo::memo_search::findDialog(), find);
        QCOMPARE(find->textField()->text(), QStringLiteral("beta"));
        QVERIFY(find->findNext());
        QCOMPARE(b->textArea()->textCursor().selectedText(), QStringLiteral("beta"));
        QCOMPARE(b->textArea()->textCursor().selectionStart(), 6);

        b->openReplace();
        richtext::ui::ReplaceDialog* replace = memo::memo_search::replaceDialog();
        QCOMPARE(replace->textField()->text(), QStringLiteral("beta"));
        replace->replacementField()->setText(QStringLiteral("delta"));
        QCOMPARE(replace->replaceAll(), 1);
        QCOMPARE(b->textArea()->toPlainText(), QStringLiteral("gamma delta"));
        QCOMPARE(a->textArea()->toPlainText(), QStringLiteral("alpha beta alpha"));

        // The dialogs go with the memo that had them; the search stays.
        QVERIFY(b->close());
        QTRY_VERIFY(memo::memo_search::findDialog() == nullptr);
        a->openReplace();
        QCOMPARE(memo::memo_search::replaceDialog()->textField()->text(), QStringLiteral("beta"));
        QCOMPARE(memo::memo_search::replaceDialog()->replacementField()->text(),
                 QStringLiteral("delta"));
        QVERIFY(memo::memo_search::replaceDialog()->replace());
        QCOMPARE(a->textArea()->toPlainText(), QStringLiteral("alpha delta alpha"));
    }

    void printsACopyWithTheHeaderAndLeavesTheMemoAsItWas() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        memo::MemoWindow* window = openNew(QStringLiteral("first line"));
        window->rename("印刷メモ");
        window->textArea()->textCursor().insertText(QStringLiteral("\n二行目"));
        const QString before = window->textArea()->toHtml();
        const bool modified = window->textArea()->document()->isModified();
        const int undoSteps = window->textArea()->document()->availableUndoSteps();
        const QString pdf = QString::fromStdString((home->path() / "memo.pdf").string());
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        const double now = makeDateTime(*encodeDate(2024, 3, 15), *encodeTime(12, 34, 56));
        window->printTo(printer, now);
        QCOMPARE(printer.docName(), QStringLiteral("印刷メモ"));
        QCOMPARE(window->textArea()->toHtml(), before);
        QCOMPARE(window->textArea()->document()->isModified(), modified);
        QCOMPARE(window->textArea()->document()->availableUndoSteps(), undoSteps);
        window->textArea()->undo();
        QVERIFY(!window->textArea()->toPlainText().contains(QStringLiteral("二行目")));

        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                    QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(text.readAllStandardOutput())
                                      .normalized(QString::NormalizationForm_KC)
                                      .split(QLatin1Char('\n'));
        QVERIFY2(lines.size() >= 5, qPrintable(lines.join('|')));
        QCOMPARE(lines[0].trimmed(), QStringLiteral("Title:印刷メモ"));
        QCOMPARE(lines[1].trimmed(), QStringLiteral("Print:2024/03/15 (金) 12:34:56")
                                         .normalized(QString::NormalizationForm_KC));
        QCOMPARE(lines[2].trimmed(), QString());
        QCOMPARE(lines[3].trimmed(), QStringLiteral("first line"));
        QCOMPARE(lines[4].trimmed(), QStringLiteral("二行目"));
    }

    void savingAsTextWritesPlainTextAndTheMemoStaysRich_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("txt, CP932")
            << "out.txt"
            << "メモ\n二行" << QByteArray::fromStdString(platform::toCp932("メモ\r\n二行"));
        QTest::newRow("upper case TXT") << "OUT.TXT"
                                        << "abc" << QByteArray("abc");
        QTest::newRow("other extension is text too") << "note.md"
                                                     << "abc" << QByteArray("abc");
        QTest::newRow("beyond CP932: UTF-8 with a mark")
            << "x.Txt"
            << "𠮷野家\n한" << QByteArray("\xEF\xBB\xBF𠮷野家\r\n한");
        QTest::newRow("rtf in any case") << "x.Rtf"
                                         << "abc" << QByteArray("{\\rtf");
    }
    void savingAsTextWritesPlainTextAndTheMemoStaysRich() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        memo::MemoWindow* window = openNew();
        window->textArea()->setPlainText(text);
        window->textArea()->document()->setModified(true);
        window->save();
        savePath = QString::fromStdString((home->path() / name.toStdString()).string());
        window->saveTextAs();
        QCOMPARE(saveStart, QString::fromStdString((folder() / (window->key() + ".RTF")).string()));
        const std::string written = read(savePath.toStdString());
        if (expected.startsWith("{\\rtf"))
            QVERIFY(written.starts_with("{\\rtf"));
        else
            QCOMPARE(QByteArray::fromStdString(written), expected);
        QVERIFY(read(folder() / window->key()).starts_with("{\\rtf"));
        QVERIFY(!window->isPictureMemo());
    }

    void theWallpaperGoesToItsOwnFileAndIsRemembered() {
        memo::MemoWindow* window = openNew();
        window->setPictureMemo(true);
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::cyan);
        QVERIFY(window->pastePicture(image));
        // The first time: "Kiv_WallPaper.BMP" in the home folder, not the
        // popups' "Kiv_Wallpaper.BMP".
        savePath = QString::fromStdString((home->path() / "walls" / "mine").string());
        fs::create_directories(home->path() / "walls");
        window->saveAsWallpaper();
        QCOMPARE(saveStart, QString::fromStdString((home->path() / "Kiv_WallPaper.BMP").string()));
        const std::string chosen = savePath.toStdString() + ".BMP";
        QCOMPARE(wallpapers, std::vector<std::string>{chosen});
        QCOMPARE(QImage(QString::fromStdString(chosen)).size(), QSize(20, 10));
        QCOMPARE(settings->readText("MemoWall", "File", ""), chosen);
        // The next time starts at the chosen file; cancelling changes nothing.
        savePath.clear();
        window->saveAsWallpaper();
        QCOMPARE(saveStart, QString::fromStdString(chosen));
        QCOMPARE(wallpapers.size(), std::size_t(1));
    }

    void thePictureChooserSetsThePictureOrClearsIt() {
        memo::MemoWindow* window = openNew();
        window->rename("写真");
        window->setPictureMemo(true);
        fs::create_directories(home->path() / "pictures");
        QImage image(33, 22, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        chosenPicture = QString::fromStdString((home->path() / "pictures" / "a.JPG").string());
        QVERIFY(image.save(chosenPicture, "JPG"));
        window->choosePictureFile();
        QCOMPARE(chooserCaption, QStringLiteral("Picture - 写真"));
        QCOMPARE(chooserCurrent, QString());
        QCOMPARE(settings->readText(window->key(), "BmpFile", ""), chosenPicture.toStdString());
        QCOMPARE(window->pictureView()->picture().size(), QSize(33, 22));
        // The next time starts at it; nothing selected clears it.
        const QString before = chosenPicture;
        chosenPicture.clear();
        window->choosePictureFile();
        QCOMPARE(chooserCurrent, before);
        QCOMPARE(settings->readText(window->key(), "BmpFile", "x"), std::string());
        QVERIFY(window->pictureView()->picture().isNull());
    }

    void savingThePictureElsewhereAddsTheDefaultExtension_data() {
        QTest::addColumn<bool>("jpeg");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("jpeg, bare name") << true << "copy"
                                         << "copy.JPG" << QByteArray("\xFF\xD8");
        QTest::newRow("bmp, bare name") << false << "copy"
                                        << "copy.BMP" << QByteArray("BM");
        QTest::newRow("bmp, own extension") << false << "copy.bmp"
                                            << "copy.bmp" << QByteArray("BM");
    }
    void savingThePictureElsewhereAddsTheDefaultExtension() {
        QFETCH(bool, jpeg);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QFETCH(QByteArray, magic);
        memo::MemoWindow* window = openNew();
        window->setPictureMemo(true);
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(window->pastePicture(image));
        savePath = QString::fromStdString((home->path() / name.toStdString()).string());
        window->savePictureAs(jpeg);
        QCOMPARE(saveStart, QString::fromStdString(
                                (folder() / (window->key() + (jpeg ? ".JPG" : ".BMP"))).string()));
        const std::string bytes = read(home->path() / written.toStdString());
        QVERIFY(bytes.starts_with(magic.toStdString()));
    }

    void memosOpenAtTheEndReopenInPlaceOnceAtTheNextStart() {
        memo::MemoWindow* normal = openNew(QStringLiteral("left open"));
        memo::MemoWindow* petit = openNew();
        memo::MemoWindow* closed = openNew();
        const std::string normalKey = normal->key();
        const std::string petitKey = petit->key();
        const std::string closedKey = closed->key();
        normal->move(70, 80);
        petit->move(300, 200);
        petit->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(petit->isPetit());
        QVERIFY(closed->close());

        // The program ends: saved, then destroyed without their close handling.
        core::SessionEnd::instance().end();
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        QVERIFY(memo::memoWindows().empty());

        // The next start reaches the reopening twice.
        memo::reopenShownMemos(*settings);
        memo::reopenShownMemos(*settings);
        QCOMPARE(memo::memoWindows().size(), std::size_t(2));
        memo::MemoWindow* again = memo::findMemoWindow(normalKey);
        QVERIFY(again != nullptr);
        QCOMPARE(again->pos(), QPoint(70, 80));
        QCOMPARE(again->textArea()->toPlainText(), QStringLiteral("left open"));
        memo::MemoWindow* marker = memo::findMemoWindow(petitKey);
        QVERIFY(marker != nullptr && marker->isPetit());
        QCOMPARE(marker->size(), QSize(16, 16));
        QCOMPARE(marker->pos(), QPoint(300, 200));
        QVERIFY(memo::findMemoWindow(closedKey) == nullptr);
    }
};

QTEST_MAIN(MemoTextTest)
#include "test_memo_text.moc"
