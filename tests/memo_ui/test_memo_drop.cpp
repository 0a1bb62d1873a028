// Files dropped on a memo window: the drop choice window, one file into
// this memo, several into new memos, DropCaption, and bad drops that leave
// everything as it was.
#include <QApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "memo/memo_store.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_drop_window.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

using namespace hinagiku;
namespace fs = std::filesystem;

class MemoDropTest : public QObject {
    Q_OBJECT

    std::unique_ptr<hinagiku::testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;
    int choice = 0;
    int askedFor = 0;
    QStringList warnings;

    fs::path folder() const { return home->path() / "Memo"; }
    QString file(const std::string& name, const std::string& bytes) const {
        home->writeFile("drop/" + name, bytes);
        return QString::fromStdString((home->path() / "drop" / name).string());
    }
    QString picture(const std::string& name, QSize size) const {
        fs::create_directories(home->path() / "drop");
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString path = QString::fromStdString((home->path() / "drop" / name).string());
        const bool jpeg = path.toUpper().endsWith(QLatin1String(".JPG"));
        image.save(path, jpeg ? "JPG" : "BMP");
        return path;
    }
    memo::MemoWindow* openNew(int category = 2) {
        const std::string key = memo::MemoStore(*settings, folder()).create(category);
        return memo::openMemo(*settings, key, key, category);
    }
    std::string body(const std::string& key) const {
        std::string bytes;
        platform::readWholeFile(folder() / key, bytes);
        return bytes;
    }

  private slots:
    void init() {
        home = std::make_unique<hinagiku::testing::TempHome>();
        settings = std::make_unique<platform::MemorySettings>();
        settings->writeText("Calendar", "Directory", home->path().string());
        settings->writeInt("Form", "Waveplay", 0);
        memo::setMemoHost({[] { return QRect(100, 50, 240, 300); }, {}});
        choice = 0;
        askedFor = 0;
        warnings.clear();
        memo::MemoDialogs dialogs = memo::standardMemoDialogs();
        dialogs.dropChoice = [this](memo::MemoWindow&, int count) {
            askedFor = count;
            return choice;
        };
        dialogs.warn = [this](QWidget*, const QString& text) { warnings << text; };
        dialogs.jpegError = [](const QString&) { return true; };
        memo::setMemoDialogs(dialogs);
    }
    void cleanup() {
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        settings.reset();
        home.reset();
    }

    void threeFilesWithChoiceThreeMakeThreeMemos_data() {
        QTest::addColumn<bool>("dropCaption");
        QTest::newRow("titled with keys") << false;
        QTest::newRow("titled with paths") << true;
    }
    void threeFilesWithChoiceThreeMakeThreeMemos() {
        QFETCH(bool, dropCaption);
        settings->writeBool("Memo", "DropCaption", dropCaption);
        memo::MemoWindow* target = openNew();
        QTest::keyClicks(target->textArea(), "mine");
        target->save();
        const std::string before = body(target->key());
        const QStringList files = {file("utf8.txt", "ユーティーエフ"),
                                   file("sjis.txt", platform::toCp932("シフトJIS\r\n二行")),
                                   file("rich.RTF", "{\\rtf1\\ansi {\\b bold}\\par}")};
        choice = 3;
        QVERIFY(target->dropFiles(files));
        QCOMPARE(askedFor, 3);
        QVERIFY(warnings.isEmpty());
        const auto entries = memo::listCategory(*settings, 2);
        QCOMPARE(entries.size(), std::size_t(4));
        const QStringList texts = {QStringLiteral("ユーティーエフ"),
                                   QStringLiteral("シフトJIS\n二行"), QStringLiteral("bold")};
        for (int i = 0; i < 3; ++i) {
            const memo::MemoEntry& entry = entries[i + 1];
            QCOMPARE(entry.title, dropCaption ? files[i].toStdString() : entry.key);
            memo::MemoWindow* made = memo::findMemoWindow(entry.key);
            QVERIFY(made != nullptr);
            QCOMPARE(made->category(), 2);
            QVERIFY(made->isVisible());
            QCOMPARE(made->textArea()->toPlainText(), texts[i]);
            QVERIFY(body(entry.key).starts_with("{\\rtf"));
        }
        QCOMPARE(target->textArea()->toPlainText(), QStringLiteral("mine"));
        QCOMPARE(body(target->key()), before);
    }

    void choiceOneWithDropCaptionTakesThePictureAndItsPath() {
        settings->writeBool("Memo", "DropCaption", true);
        memo::MemoWindow* target = openNew();
        const QString path = picture("photo.jpg", QSize(120, 90));
        choice = 1;
        QVERIFY(target->dropFiles({path}));
        QCOMPARE(askedFor, 1);
        QVERIFY(target->isPictureMemo());
        QCOMPARE(target->title(), path.toStdString());
        QCOMPARE(memo::listCategory(*settings, 2).at(0).title, path.toStdString());
        QCOMPARE(settings->readInt(target->key(), "Kind", 0), 1);
        QCOMPARE(settings->readText(target->key(), "BmpFile", ""), path.toStdString());
        QCOMPARE(target->pictureView()->picture().size(), QSize(120, 90));
        QCOMPARE(target->pictureView()->size(), QSize(120, 90));
        QCOMPARE(memo::listCategory(*settings, 2).size(), std::size_t(1));
    }

    void choiceTwoPutsTheFirstFileInOneNewMemo() {
        memo::MemoWindow* target = openNew();
        choice = 2;
        QVERIFY(target->dropFiles({picture("a.BMP", QSize(30, 20))}));
        const auto entries = memo::listCategory(*settings, 2);
        QCOMPARE(entries.size(), std::size_t(2));
        memo::MemoWindow* made = memo::findMemoWindow(entries[1].key);
        QVERIFY(made != nullptr && made->isPictureMemo());
        QCOMPARE(settings->readInt(entries[1].key, "Kind", 0), 1);
        QCOMPARE(made->pictureView()->picture().size(), QSize(30, 20));
        QVERIFY(!target->isPictureMemo());
    }

    void badDropsWarnAndChangeNothing_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("bad");
        for (const int c : {1, 3}) {
            for (const char* bad : {"binary", "folder", "huge", "unreadable", "broken jpeg"})
                QTest::addRow("%s, choice %d", bad, c) << c << QString::fromLatin1(bad);
        }
    }
    void badDropsWarnAndChangeNothing() {
        QFETCH(int, choice);
        QFETCH(QString, bad);
        if (bad == "unreadable" && geteuid() == 0)
            QSKIP("root reads every file");
        settings->writeBool("Memo", "DropCaption", true);
        memo::MemoWindow* target = openNew();
        QTest::keyClicks(target->textArea(), "kept");
        target->save();
        const std::string before = body(target->key());
        const std::string count = settings->readText("MemoCount", "Count", "");
        QString badPath;
        if (bad == "binary")
            badPath = file("tool.txt", std::string("ELF\0\0\1", 6));
        else if (bad == "folder")
            badPath = QString::fromStdString((home->path() / "drop" / "sub").string()),
            fs::create_directories(badPath.toStdString());
        else if (bad == "huge")
            badPath = file("huge.txt", std::string(16 * 1024 * 1024 + 1, 'a'));
        else if (bad == "unreadable")
            badPath = file("secret.txt", "x"), chmod(badPath.toLocal8Bit().constData(), 0);
        else
            badPath = file("broken.JPG", "\xFF\xD8\xFF\xE0 not a picture");
        const QString good = file("good.txt", "good");
        this->choice = choice;
        // Choice 1 takes the first file; choice 3 all, the bad one last.
        QVERIFY(!target->dropFiles(choice == 1 ? QStringList{badPath, good}
                                               : QStringList{good, good, badPath}));
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].startsWith(QStringLiteral("現在メモにドロップ出来ません。\r")));
        QCOMPARE(target->textArea()->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(target->title(), target->key());
        QVERIFY(!target->isPictureMemo());
        QCOMPARE(body(target->key()), before);
        QCOMPARE(memo::listCategory(*settings, 2).size(), std::size_t(1));
        QCOMPARE(settings->readText("MemoCount", "Count", ""), count);
        QCOMPARE(memo::memoWindows().size(), std::size_t(1));
    }

    void cancelDoesNothing() {
        memo::MemoWindow* target = openNew();
        choice = 0;
        QVERIFY(!target->dropFiles({file("a.txt", "a")}));
        QVERIFY(target->textArea()->toPlainText().isEmpty());
        QCOMPARE(memo::listCategory(*settings, 2).size(), std::size_t(1));
    }

    void aDropOnTheTextReachesTheChoiceNotTheText() {
        memo::MemoWindow* target = openNew();
        choice = 1;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file("a.txt", "dropped")),
                      QUrl::fromLocalFile(file("b.txt", "b"))});
        QWidget* viewport = target->textArea()->viewport();
        const QPointF at(10, 10);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QTRY_COMPARE(askedFor, 2);
        QTRY_COMPARE(target->textArea()->toPlainText(), QStringLiteral("dropped"));

        // Text dragged over the text stays the editor's business.
        askedFor = 0;
        QMimeData text;
        text.setText(QStringLiteral("moved"));
        QDragEnterEvent textEnter(at.toPoint(), Qt::MoveAction, &text, Qt::LeftButton,
                                  Qt::NoModifier);
        QApplication::sendEvent(viewport, &textEnter);
        QVERIFY(textEnter.isAccepted());
        QDropEvent textDrop(at, Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &textDrop);
        QVERIFY(target->textArea()->toPlainText().contains(QStringLiteral("moved")));
        QTest::qWait(20);
        QCOMPARE(askedFor, 0);
    }

    void theDropWindowOffersTheChoicesOfItsFileCount_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("sticky");
        QTest::addColumn<int>("memoWidth");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("secondChoice");
        QTest::newRow("one file") << 1 << false << 259 << 259 << "このメモに読込"
                                  << "新しいメモに読込" << 2;
        QTest::newRow("several, narrow, sticky")
            << 3 << true << 100 << 230 << "最初のファイルのみ、このメモに読込"
            << "全てのファイルを、新しいメモに読込" << 3;
        QTest::newRow("143 wide stays")
            << 2 << false << 143 << 143 << "最初のファイルのみ、このメモに読込"
            << "全てのファイルを、新しいメモに読込" << 3;
    }
    void theDropWindowOffersTheChoicesOfItsFileCount() {
        QFETCH(int, files);
        QFETCH(bool, sticky);
        QFETCH(int, memoWidth);
        QFETCH(int, width);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, secondChoice);
        memo::MemoDropWindow window(QStringLiteral("買い物"), files, sticky,
                                    QRect(40, 60, memoWidth, 40));
        QCOMPARE(window.windowTitle(), QStringLiteral("Drop-[買い物]"));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(window.width(), width);
        QCOMPARE(window.pos(), QPoint(40, 60));
        QCOMPARE(window.button(0)->text(), first);
        QCOMPARE(window.button(1)->text(), second);
        QCOMPARE(window.button(2)->text(), QStringLiteral("キャンセル"));
        QCOMPARE(window.button(0)->isEnabled(), !sticky);
        window.show();
        QCOMPARE(window.button(1)->width(), window.width());
        window.button(1)->click();
        QCOMPARE(window.choice(), secondChoice);
    }
};

QTEST_MAIN(MemoDropTest)
#include "test_memo_drop.moc"
