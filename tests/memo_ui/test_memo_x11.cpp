// Memo windows on a real X server (Xvfb) under a real window manager
// (openbox): off the task bar and the pager, owned by nobody, and a
// sticky-paper memo dragged by its text with the mouse (xdotool) is saved
// at its new place.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "memo/memo_store.h"
#include "memo/ui/memo_drop_window.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

using namespace hinagiku;

namespace {

bool haveX = false;  // Xvfb and openbox run; DISPLAY names them

bool onPath(const char* program) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

pid_t spawn(std::vector<std::string> argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> args;
        for (auto& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

QString run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    // The window answers the tools meanwhile.
    QDeadlineTimer deadline(20000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        process.waitForFinished(10);
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Starts a drag of `files` when pressed, as a file manager would.
class FileSource : public QLabel {
  public:
    explicit FileSource(QList<QUrl> files) : QLabel(QStringLiteral("files")), files_(files) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setFixedSize(80, 40);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(files_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

  private:
    QList<QUrl> files_;
};

}  // namespace

class MemoX11Test : public QObject {
    Q_OBJECT

    std::unique_ptr<hinagiku::testing::TempHome> home;
    std::unique_ptr<platform::MemorySettings> settings;

    memo::MemoWindow* openAt(int left, int top) {
        const std::string key = memo::MemoStore(*settings, home->path() / "Memo").create(0);
        settings->writeInt(key, "left", left);
        settings->writeInt(key, "top", top);
        settings->writeInt(key, "Width", 259);
        settings->writeInt(key, "Height", 80);
        memo::MemoWindow* window = memo::openMemo(*settings, key, key, 0);
        window->textArea()->setPlainText(QStringLiteral("drag me by my text"));
        return window;
    }

  private slots:
    void init() {
        if (!haveX)
            QSKIP("needs Xvfb, openbox, xprop and xdotool (scripts/setup.sh installs them)");
        home = std::make_unique<hinagiku::testing::TempHome>();
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

    void aMemoIsOffTheTaskBarAndOwnedByNobody() {
        memo::MemoWindow* window = openAt(100, 100);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString id = QString::number(window->winId());
        QString state;
        QTRY_VERIFY_WITH_TIMEOUT(
            (state = run(QStringLiteral("xprop"),
                         {QStringLiteral("-id"), id, QStringLiteral("_NET_WM_STATE")}))
                .contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")),
            10000);
        QVERIFY2(state.contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER")), qPrintable(state));
        const QString owner = run(QStringLiteral("xprop"),
                                  {QStringLiteral("-id"), id, QStringLiteral("WM_TRANSIENT_FOR")});
        QVERIFY2(owner.contains(QStringLiteral("not found")), qPrintable(owner));
        QVERIFY(!(window->windowFlags() & Qt::WindowStaysOnTopHint));
    }

    void aStickyPaperDragIsSaved() {
        memo::MemoWindow* window = openAt(100, 100);
        window->setStickyPaper(true);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_COMPARE(window->geometry().topLeft(), QPoint(100, 100));
        QTest::qWait(300);
        const QPoint grip = window->textArea()->viewport()->mapToGlobal(QPoint(40, 20));
        const auto at = [](QPoint p) {
            return QStringList{QStringLiteral("mousemove"), QString::number(p.x()),
                               QString::number(p.y())};
        };
        QStringList script = at(grip);
        script << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mousedown")
               << QStringLiteral("1") << QStringLiteral("sleep") << QStringLiteral("0.5");
        for (int step = 1; step <= 5; ++step) {
            script << at(grip + QPoint(40 * step, 30 * step)) << QStringLiteral("sleep")
                   << QStringLiteral("0.1");
        }
        script << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
               << QStringLiteral("1");
        run(QStringLiteral("xdotool"), script);
        QTRY_VERIFY_WITH_TIMEOUT(window->geometry().left() > 250, 5000);
        const QPoint moved = window->geometry().topLeft();
        QVERIFY2(std::abs(moved.x() - 300) <= 4 && std::abs(moved.y() - 250) <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(moved.x()).arg(moved.y())));
        // Saved once the moves stop, with nothing else asking for it.
        QTRY_COMPARE_WITH_TIMEOUT(settings->readInt(window->key(), "Left", 0), moved.x(), 5000);
        QCOMPARE(settings->readInt(window->key(), "Top", 0), moved.y());
        QVERIFY(window->isStickyPaper());
        QCOMPARE(window->textArea()->toPlainText(), QStringLiteral("drag me by my text"));
    }

    // Two files dragged onto a memo: the drop window, on top, and its
    // second button makes a memo of each.
    void filesDraggedOntoAMemoGoThroughTheDropWindow() {
        home->writeFile("one.txt", "first file");
        home->writeFile("two.txt", "second file");
        memo::MemoWindow* window = openAt(300, 250);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        FileSource source(
            {QUrl::fromLocalFile(QString::fromStdString((home->path() / "one.txt").string())),
             QUrl::fromLocalFile(QString::fromStdString((home->path() / "two.txt").string()))});
        source.move(40, 40);
        source.show();
        QVERIFY(QTest::qWaitForWindowExposed(&source));
        QTRY_COMPARE(source.geometry().topLeft(), QPoint(40, 40));
        QTest::qWait(300);

        QString caption;
        bool onTop = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* drop = qobject_cast<memo::MemoDropWindow*>(QApplication::activeModalWidget());
            if (drop == nullptr || !drop->isVisible())
                return;
            poll.stop();
            caption = drop->windowTitle();
            onTop = drop->windowFlags() & Qt::WindowStaysOnTopHint;
            const QByteArray shots = qgetenv("HINAGIKU_SCREENSHOT_DIR");
            if (!shots.isEmpty()) {
                QTest::qWait(500);
                QProcess::execute(
                    QStringLiteral("import"),
                    {QStringLiteral("-window"), QStringLiteral("root"),
                     QString::fromLocal8Bit(shots) + QStringLiteral("/memo_drop.png")});
            }
            drop->button(1)->click();
        });
        poll.start(50);
        const QPoint target = window->mapToGlobal(QPoint(60, 30));
        QStringList script = {QStringLiteral("mousemove"), QStringLiteral("60"),
                              QStringLiteral("60"),        QStringLiteral("sleep"),
                              QStringLiteral("0.3"),       QStringLiteral("mousedown"),
                              QStringLiteral("1")};
        for (int step = 1; step <= 6; ++step) {
            const QPoint p = QPoint(60, 60) + (target - QPoint(60, 60)) * step / 6;
            script << QStringLiteral("sleep") << QStringLiteral("0.15")
                   << QStringLiteral("mousemove") << QString::number(p.x())
                   << QString::number(p.y());
        }
        script << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup")
               << QStringLiteral("1");
        run(QStringLiteral("xdotool"), script);
        QTRY_COMPARE_WITH_TIMEOUT(memo::memoWindows().size(), std::size_t(3), 10000);
        QCOMPARE(caption, QStringLiteral("Drop-[") + QString::fromStdString(window->title()) +
                              QStringLiteral("]"));
        QVERIFY(onTop);
        const auto entries = memo::listCategory(*settings, 0);
        QCOMPARE(entries.size(), std::size_t(3));
        QCOMPARE(memo::findMemoWindow(entries[1].key)->textArea()->toPlainText(),
                 QStringLiteral("first file"));
        QCOMPARE(memo::findMemoWindow(entries[2].key)->textArea()->toPlainText(),
                 QStringLiteral("second file"));
        QCOMPARE(window->textArea()->toPlainText(), QStringLiteral("drag me by my text"));
    }
};

int main(int argc, char** argv) {
    pid_t xvfb = 0;
    pid_t wm = 0;
    if (onPath("Xvfb") && onPath("openbox") && onPath("xprop") && onPath("xdotool")) {
        int fds[2];
        if (pipe(fds) == 0) {
            xvfb = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                          "1024x768x24", "-nolisten", "tcp"});
            close(fds[1]);
            std::string number;
            char c = 0;
            while (read(fds[0], &c, 1) == 1 && c != '\n')
                number.push_back(c);
            close(fds[0]);
            if (!number.empty()) {
                setenv("DISPLAY", (":" + number).c_str(), 1);
                setenv("QT_QPA_PLATFORM", "xcb", 1);
                wm = spawn({"openbox", "--sm-disable"});
                // openbox owns the screen once it has set _NET_SUPPORTING_WM_CHECK.
                for (int i = 0; i < 50 && !haveX; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    haveX = std::system(
                                "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | "
                                "grep -q 'window id'") == 0;
                }
            }
        }
    }
    if (!haveX)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int status = 0;
    {
        QApplication app(argc, argv);
        MemoX11Test test;
        status = QTest::qExec(&test, argc, argv);
    }
    stop(wm);
    stop(xvfb);
    return status;
}

#include "test_memo_x11.moc"
