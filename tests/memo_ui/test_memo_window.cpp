// The memo windows offscreen: showing and placement, the body written only
// when the text changed, close and session end, petit mode, the idle save,
// deletion, the copy-only open, start-up reopening and the memo menu.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <memory>

#include "core/ui/session_end.h"
#include "memo/memo_placement.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

using namespace hinagiku;
namespace fs = std::filesystem;

class MemoWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;

    fs::path folder() const { return home->path() / "Memo"; }
    std::string body(const std::string& key) const {
        std::string bytes;
        platform::readWholeFile(folder() / key, bytes);
        return bytes;
    }
    std::string newMemo(int category = 0) {
        return memo::MemoStore(*settings, folder()).create(category);
    }
    memo::MemoWindow* open(const std::string& key, int category = 0) {
        return memo::openMemo(*settings, key, key, category);
    }

  private slots:
    void init() {
        home = std::make_unique<testing::TempHome>();
        settings = std::make_unique<platform::MemorySettings>();
        settings->writeText("Calendar", "Directory", home->path().string());
        settings->writeInt("Form", "Waveplay", 0);
        memo::setMemoHost({[] { return QRect(100, 50, 240, 300); }, {}});
    }
    void cleanup() {
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        settings.reset();
        home.reset();
    }

    void placementFollowsOwnThenSharedThenMainWindow_data() {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("shared");
        QTest::addColumn<bool>("useShared");
        QTest::addColumn<QRect>("expected");
        // Main window left 101, top 51, 240 × 300: defaults 290/325 (division toward zero).
        QTest::newRow("main window") << ""
                                     << "" << true << QRect(290, 325, 240, 300);
        QTest::newRow("shared") << ""
                                << "7,8,300,90" << true << QRect(8, 7, 300, 90);
        QTest::newRow("own over shared") << "1,2,259,40"
                                         << "7,8,300,90" << true << QRect(2, 1, 259, 40);
        QTest::newRow("restore skips shared") << ""
                                              << "7,8,300,90" << false << QRect(290, 325, 240, 300);
    }
    void placementFollowsOwnThenSharedThenMainWindow() {
        QFETCH(QString, own);
        QFETCH(QString, shared);
        QFETCH(bool, useShared);
        QFETCH(QRect, expected);
        platform::MemorySettings s;
        const auto put = [&](const char* section, const QString& values) {
            if (values.isEmpty())
                return;
            const QStringList v = values.split(',');
            s.writeText(section, "top", v[0].toStdString());
            s.writeText(section, "left", v[1].toStdString());
            s.writeText(section, "Width", v[2].toStdString());
            s.writeText(section, "Height", v[3].toStdString());
        };
        put("Memo3", own);
        put("Memo", shared);
        const memo::WindowRect r =
            memo::normalPlacement(s, "Memo3", {101, 51, 240, 300}, useShared);
        QCOMPARE(QRect(r.left, r.top, r.width, r.height), expected);
    }

    void openingAndClosingKeepsAnUntouchedBodyByteForByte() {
        const std::string key = newMemo();
        // Bytes our reader does not keep as they are (a Windows body).
        const std::string windows =
            "{\\rtf1\\ansi\\ansicpg932{\\*\\unknown keep}\\f0 abc\\par }\r\n";
        fs::create_directories(folder());
        platform::writeFileAtomically(folder() / key, windows);
        settings->writeInt(key, "top", 40);
        settings->writeInt(key, "left", 30);
        settings->writeInt(key, "Width", 259);
        settings->writeInt(key, "Height", 60);
        memo::MemoWindow* window = open(key);
        QVERIFY(window != nullptr);
        QCOMPARE(settings->readInt(key, "Show", 0), 1);
        QCOMPARE(window->geometry(), QRect(30, 40, 259, 60));
        QCOMPARE(window->textArea()->toPlainText(), QStringLiteral("abc"));
        window->move(60, 70);
        window->save();
        QVERIFY(window->close());
        QCOMPARE(body(key), windows);
        QCOMPARE(settings->readInt(key, "Show", 1), 0);
        QCOMPARE(settings->readInt(key, "Left", 0), 60);
        QCOMPARE(settings->readInt(key, "Top", 0), 70);
    }

    void anEditedTextIsWrittenOnCloseAndAtTheEndOfTheSession() {
        const std::string closedKey = newMemo();
        const std::string endedKey = newMemo();
        memo::MemoWindow* closed = open(closedKey);
        memo::MemoWindow* ended = open(endedKey);
        QTest::keyClicks(closed->textArea(), "closed text");
        QTest::keyClicks(ended->textArea(), "ended text");
        QVERIFY(closed->close());
        QVERIFY(body(closedKey).find("closed text") != std::string::npos);
        QCOMPARE(settings->readInt(closedKey, "Show", 1), 0);

        core::SessionEnd::instance().end();
        QVERIFY(body(endedKey).find("ended text") != std::string::npos);
        QVERIFY(ended->close());
        QCOMPARE(settings->readInt(endedKey, "Show", 0), 1);
    }

    void typingIsSavedOnceTypingStops() {
        const std::string key = newMemo();
        memo::MemoWindow* window = open(key);
        QTest::keyClicks(window->textArea(), "idle");
        QVERIFY(body(key).empty());
        QTRY_VERIFY_WITH_TIMEOUT(body(key).find("idle") != std::string::npos, 6000);
    }

    void minimisingGivesTheMarkerAndOpeningAgainRestores() {
        const std::string key = newMemo();
        settings->writeInt(key, "P_Left", 5);
        settings->writeInt(key, "P_Top", 6);
        memo::MemoWindow* window = open(key);
        const QSize normal = window->size();
        window->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(window->isPetit());
        QCOMPARE(window->size(), QSize(16, 16));
        QCOMPARE(window->pos(), QPoint(5, 6));
        QVERIFY(settings->readBool(key, "peti", false));
        QCOMPARE(memo::openMemo(*settings, key, key, 0), window);
        QVERIFY(!window->isPetit());
        QCOMPARE(window->size(), normal);
        QVERIFY(!settings->readBool(key, "peti", true));
    }

    void startUpOpensEachShownMemoOnceInPlace() {
        const std::string shown = newMemo(2);
        const std::string closed = newMemo(2);
        settings->writeInt(shown, "Show", 1);
        settings->writeInt(shown, "top", 80);
        settings->writeInt(shown, "left", 90);
        settings->writeInt(closed, "Show", 0);
        memo::reopenShownMemos(*settings);
        memo::reopenShownMemos(*settings);  // the first tick reaches it again
        QCOMPARE(memo::memoWindows().size(), std::size_t(1));
        memo::MemoWindow* window = memo::findMemoWindow(shown);
        QVERIFY(window != nullptr);
        QCOMPARE(window->category(), 2);
        QCOMPARE(window->pos(), QPoint(90, 80));
    }

    void deletionRemovesTheMemoAndNothingWritesItAfterwards() {
        const std::string key = newMemo(1);
        const std::string other = newMemo(1);
        settings->writeInt("Form", "Delete", 1);
        memo::MemoWindow* window = open(key, 1);
        QTest::keyClicks(window->textArea(), "gone");
        QVERIFY(window->deleteMemo());
        QTest::qWait(50);
        QVERIFY(settings->listEntries(key).empty());
        QVERIFY(!fs::exists(folder() / key));
        const auto rest = memo::listCategory(*settings, 1);
        QCOMPARE(rest.size(), std::size_t(1));
        QCOMPARE(rest[0].key, other);
    }

    void copyOnlyOpenPutsTheTextOnTheClipboardAndWritesNothing() {
        const std::string key = newMemo();
        fs::create_directories(folder());
        platform::writeFileAtomically(folder() / key, "plain memo text");
        QCOMPARE(memo::openMemo(*settings, key, key, 0, /*copyText=*/true), nullptr);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("plain memo text"));
        QVERIFY(memo::memoWindows().empty());
        QVERIFY(settings->listEntries(key).empty());
    }

    void stickyPaperIsReadOnlyAndStored() {
        const std::string key = newMemo();
        memo::MemoWindow* window = open(key);
        window->setStickyPaper(true);
        QVERIFY(window->textArea()->isReadOnly());
        QVERIFY(settings->readBool(key, "ReadOnly", false));
        QVERIFY(window->close());
        memo::MemoWindow* again = open(key);
        QVERIFY(again->isStickyPaper());
    }

    void renamingWritesTheIndexWithoutLineBreaks() {
        const std::string key = newMemo(4);
        memo::MemoWindow* window = open(key, 4);
        window->rename("two\r\nlines");
        const auto entries = memo::listCategory(*settings, 4);
        QCOMPARE(entries.size(), std::size_t(1));
        QCOMPARE(entries[0].title, std::string("two  lines"));
    }

    void pastedPicturesAreStoredInTheMemoFolder_data() {
        QTest::addColumn<int>("pastePic");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("JPEG by default") << 0 << ".JPG" << QByteArray("\xFF\xD8\xFF");
        QTest::newRow("BMP with PastePic") << 1 << ".BMP" << QByteArray("BM");
    }
    void pastedPicturesAreStoredInTheMemoFolder() {
        QFETCH(int, pastePic);
        QFETCH(QString, suffix);
        QFETCH(QByteArray, magic);
        settings->writeInt("Form", "PastePic", pastePic);
        const std::string key = newMemo();
        memo::MemoWindow* window = open(key);
        window->setPictureMemo(true);
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(window->pastePicture(image));
        const fs::path file = folder() / (key + suffix.toStdString());
        QCOMPARE(settings->readText(key, "BmpFile", ""), file.string());
        std::string bytes;
        QVERIFY(platform::readWholeFile(file, bytes));
        QVERIFY(bytes.starts_with(magic.toStdString()));
        QCOMPARE(window->pictureView()->picture().size(), QSize(40, 30));
        QCOMPARE(settings->readInt(key, "Kind", 0), 1);
    }

    void aWindowsPicturePathFallsBackToTheMemoFolder() {
        const std::string key = newMemo();
        fs::create_directories(folder());
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(QString::fromStdString((folder() / "Memo3.BMP").string()), "BMP"));
        settings->writeText(key, "BmpFile", "D:\\Hinagiku\\Memo\\Memo3.BMP");
        settings->writeInt(key, "Kind", 1);
        memo::MemoWindow* window = open(key);
        QCOMPARE(window->pictureView()->picture().size(), QSize(8, 6));
        QVERIFY(window->close());
        QCOMPARE(settings->readText(key, "BmpFile", ""),
                 std::string("D:\\Hinagiku\\Memo\\Memo3.BMP"));
    }

    void theMemoMenuListsEveryCategory() {
        settings->writeText("Memo_bun", "1", "仕事");
        memo::MemoStore store(*settings, folder());
        const std::string a = store.create(1);
        const std::string b = store.create(1);
        store.setTitle(b, 1, "買い物");
        QMenu menu;
        memo::fillMemoMenu(&menu, *settings);
        const auto subs = menu.actions();
        QCOMPARE(subs.size(), qsizetype(10));
        QCOMPARE(subs[0]->text(), QStringLiteral("メモ１"));
        QCOMPARE(subs[1]->text(), QStringLiteral("仕事"));
        QCOMPARE(subs[9]->text(), QStringLiteral("メモ１０"));
        const auto items = subs[1]->menu()->actions();
        QCOMPARE(items.size(), qsizetype(4));
        QCOMPARE(items[0]->text(), QString::fromStdString(a));
        QCOMPARE(items[1]->text(), QStringLiteral("買い物"));
        QVERIFY(items[2]->isSeparator());
        QCOMPARE(items[3]->text(), QStringLiteral("メモの新規作成"));
        items[1]->trigger();
        QVERIFY(memo::findMemoWindow(b) != nullptr);
        subs[0]->menu()->actions().last()->trigger();
        QCOMPARE(memo::listCategory(*settings, 0).size(), std::size_t(1));
    }
};

QTEST_MAIN(MemoWindowTest)
#include "test_memo_window.moc"
