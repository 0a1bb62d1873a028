// The command box, the web search menu, the launcher menu and its editor,
// the file associations and the drop launch, offscreen.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "platform/recording_program_launcher.h"
#include "platform/sound_recorder.h"
#include "support/temp_home.h"
#include "tools/launcher_levels.h"
#include "tools/ui/command_box.h"
#include "tools/ui/file_associations_window.h"
#include "tools/ui/launcher_editor.h"
#include "tools/ui/launcher_menu_ui.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/tools_wiring.h"
#include "tools/ui/web_search_menu.h"

using namespace hinagiku;
namespace fs = std::filesystem;

namespace {

fs::path lnkFixture(const std::string& name) {
    return fs::path(qEnvironmentVariable("HINAGIKU_SOURCE_DIR").toStdString()) /
           "tests/tools/fixtures/lnk" / name;
}

// A program that writes each argument it gets on a line of its own to $OUT
// (followed by a line "END"), so a test sees exactly what arrived.
void writeRecorder(const fs::path& path) {
    std::ofstream(path)
        << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$OUT\"; done\n"
           "echo END >> \"$OUT\"\n";
    fs::permissions(path, fs::perms::owner_all);
}

QString readRecorded(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

class LauncherCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        platform::setSoundOutput(&sounds_);
        platform::setProgramLauncher(&launcher_);
        launcher_.clear();
        launcher_.setResult({true, {}});
        warnings_.clear();
        store_.emplace();
        tools::toolDialogs().warn = [this](QWidget*, const QString& text, QPoint) {
            warnings_ << text;
        };
        tools::toolDialogs().ask = [](QWidget*, const QString&) { return true; };
        home_ = std::make_unique<testing::TempHome>();
        folder_ = home_->path() / "Shortcut";
        fs::create_directories(folder_);
        host_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(host_.get());
        box_ = new QLineEdit(host_.get());
        layout->addWidget(box_);
        memo_ = new QMenu(host_.get());
        memo_->addAction(QStringLiteral("メモ一覧"));
        launcherMenu_ = new QMenu(host_.get());
        launcherMenu_->addAction(QStringLiteral("メニューの編集"));
        host_->show();
    }
    void cleanup() {
        host_.reset();
        home_.reset();
        platform::setProgramLauncher(nullptr);
        platform::setSoundOutput(nullptr);
    }

    void completionKeepsTheCaretAndGreysAFullName() {
        home_->writeFile("Shortcut/abc.desktop", "");
        home_->writeFile("Shortcut/abd.txt", "");
        home_->writeFile("Shortcut/Zed.sh", "");
        tools::CommandBox command(box_, settings(), folder_, {memo_, launcherMenu_});
        box_->setFocus();
        QTest::keyClicks(box_, "ab");
        QCOMPARE(command.completions(), (QStringList{"abc", "abd"}));
        QCOMPARE(box_->text(), QStringLiteral("ab"));
        QCOMPARE(box_->cursorPosition(), 2);
        QVERIFY(!command.grey());
        QTest::keyClick(box_, 'C');
        QCOMPARE(command.completions(), QStringList{"abc"});
        QVERIFY(command.grey());
        QCOMPARE(box_->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::Button));
        QTest::keyClick(box_, Qt::Key_Backspace);
        QVERIFY(!command.grey());
        QCOMPARE(box_->palette().color(QPalette::Base), QColor(Qt::white));
        box_->clear();
        QCOMPARE(box_->toolTip(), QStringLiteral("\".\"(ピリオド)でショートカット専用フォルダ"));
    }

    void enterRunsShortcutFilesByKind() {
        home_->writeFile("Shortcut/Editor.desktop",
                         "[Desktop Entry]\nType=Application\nName=Editor\nExec=true %F\n");
        fs::copy_file(lnkFixture("unicode_relative.lnk"), folder_ / "target.lnk");
        home_->writeFile("Shortcut/docs/ターゲット.txt", "x");
        home_->writeFile("Shortcut/site.url",
                         "[InternetShortcut]\r\nURL=https://example.org/a}\r\n");
        home_->writeFile("Shortcut/run.sh", "#!/bin/sh\n");
        home_->writeFile("Shortcut/notes.txt", "text");
        tools::CommandBox command(box_, settings(), folder_, {memo_, launcherMenu_});
        const std::string base = folder_.string();
        struct Case {
            const char* typed;
            std::string program, parameters;
        } cases[] = {
            {"editor", base + "/Editor.desktop", ""},
            {"target", base + "/docs/ターゲット.txt", "-a \"b c\" é"},
            {"site", "https://example.org/a}", ""},
            {"run", base + "/run.sh", ""},
            {"notes", base + "/notes.txt", ""},
        };
        for (const Case& c : cases) {
            launcher_.clear();
            box_->setText(QString::fromUtf8(c.typed));
            QVERIFY(command.run(box_->text()));
            QCOMPARE(launcher_.calls().size(), std::size_t(1));
            QCOMPARE(launcher_.calls()[0].program, c.program);
            QCOMPARE(launcher_.calls()[0].parameters, c.parameters);
            QCOMPARE(box_->text(), QString());  // cleared after a start
        }
    }

    void failureBeepsAndOffersTheWebSearch() {
        fs::copy_file(lnkFixture("missing.lnk"), folder_ / "gone.lnk");
        tools::CommandBox command(box_, settings(), folder_, {memo_, launcherMenu_});
        launcher_.setResult({false, "cannot"});
        box_->setText(QStringLiteral("天気 東京"));
        QVERIFY(!command.run(box_->text()));
        QVERIFY(command.webSearchMenu()->isVisible());
        QCOMPARE(box_->text(), QStringLiteral("天気 東京"));  // kept for the search
        command.webSearchMenu()->hide();

        // A link whose target is missing says so instead of searching.
        launcher_.clear();
        launcher_.setResult({true, {}});
        box_->setText(QStringLiteral("gone"));
        QVERIFY(!command.run(box_->text()));
        QVERIFY(!command.webSearchMenu()->isVisible());
        QCOMPARE(warnings_.size(), 1);
        QVERIFY(warnings_[0].contains(QStringLiteral("C:\\nothere\\gone.txt")));
        QVERIFY(launcher_.calls().empty());
    }

    void shiftAndControlEnterOpenTheirMenus() {
        tools::CommandBox command(box_, settings(), folder_, {memo_, launcherMenu_});
        box_->setFocus();
        QTest::keyClick(box_, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(memo_->isVisible());
        memo_->hide();
        QTest::keyClick(box_, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(launcherMenu_->isVisible());
        launcherMenu_->hide();
    }

    void webSearchUrlReachesTheOpenerByteForByte() {
        platform::setProgramLauncher(nullptr);  // the desktop's, with our opener on PATH
        const fs::path bin = home_->path() / "bin";
        fs::create_directories(bin);
        writeRecorder(bin / "xdg-open");
        const fs::path out = home_->path() / "opened.txt";
        qputenv("OUT", QByteArray::fromStdString(out.string()));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.string()) + ":" + path);
        tools::CommandBox command(box_, settings(), folder_, {memo_, launcherMenu_});
        box_->setText(QStringLiteral("本 é"));
        command.webSearchMenu()->choose(6);  // "Google 荷物(ヤマト)"
        qputenv("PATH", path);
        QTRY_VERIFY(readRecorded(out).endsWith(QStringLiteral("END\n")));
        QCOMPARE(readRecorded(out),
                 QStringLiteral("https://www.google.co.jp/search?hl=ja&inlang=ja&ie=Shift_JIS&q="
                                "%83%84%83}%83g+%96%7B%20%26%23%32%33%33%3B\nEND\n"));
        QCOMPARE(box_->text(), QString());
    }

    void launcherMenuItemsRunTheirCommands() {
        settings().writeText("ExecTitle_Main", "Count", "3");
        settings().writeText("ExecTitle_Main", "0", "Run");
        settings().writeText("ExecCommand_Main", "0", "/bin/echo?$(x) \"a b\"");
        settings().writeText("ExecTitle_Main", "1", "-");
        settings().writeText("ExecTitle_Main", "2", "Sub");
        settings().writeText("ExecSub_Main", "2", "1");
        settings().writeText("ExecTitle_Main-Sub", "Count", "1");
        settings().writeText("ExecTitle_Main-Sub", "0", "Fail");
        settings().writeText("ExecCommand_Main-Sub", "0", "/no/such");
        QMenu menu;
        tools::fillLauncherMenu(&menu, settings(), [this](const QString& t) { warnings_ << t; });
        QCOMPARE(menu.actions().size(), 3);
        QVERIFY(menu.actions()[1]->isSeparator());
        menu.actions()[0]->trigger();
        QCOMPARE(launcher_.calls().size(), std::size_t(1));
        QCOMPARE(launcher_.calls()[0].program, std::string("/bin/echo"));
        QCOMPARE(launcher_.calls()[0].parameters, std::string("$(x) \"a b\""));
        launcher_.setResult({false, "「/no/such」が見つかりません。"});
        menu.actions()[2]->menu()->actions()[0]->trigger();
        QCOMPARE(warnings_, QStringList{QStringLiteral("「/no/such」が見つかりません。")});
    }

    void editorSavesTheExampleWithANestedSubmenu() {
        platform::ProfileFile settings(home_->iniPath());
        tools::LauncherEditor::setNestedRunner([](tools::LauncherEditor& nested) {
            QCOMPARE(QString::fromStdString(nested.level()), QStringLiteral("Main-Tools"));
            QCOMPARE(nested.depth(), 2);
            QCOMPARE(nested.windowTitle(), QStringLiteral("ランチャーメニュー（サブ）の設定"));
            nested.show();
            nested.addButton()->click();
            nested.titleField()->setText(QStringLiteral("Calc"));
            nested.fileField()->setText(QStringLiteral("/usr/bin/calc"));
            QVERIFY(nested.writeItem());
            nested.saveAndClose();
        });
        settings.writeText("Execmenu", "SubStack", "Main");
        tools::LauncherEditor editor(settings);
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("ランチャーメニューの設定"));
        editor.addButton()->click();
        editor.titleField()->setText(QStringLiteral("Edit"));
        editor.fileField()->setText(QStringLiteral("/usr/bin/gedit"));
        QVERIFY(editor.writeItem());
        editor.itemList()->setCurrentRow(-1);
        editor.addButton()->click();  // appended
        editor.titleField()->setText(QStringLiteral("Tools"));
        editor.fileField()->clear();
        QVERIFY(editor.submenuBox()->isEnabled());
        editor.submenuBox()->click();
        QVERIFY(editor.writeItem());
        QVERIFY(editor.submenuEditButton()->isEnabled());
        editor.itemList()->setCurrentRow(-1);
        editor.addButton()->click();
        editor.titleField()->setText(QStringLiteral("Doc"));
        editor.fileField()->setText(QStringLiteral("?/tmp/a.txt"));
        QVERIFY(editor.writeItem());
        editor.itemList()->setCurrentRow(1);
        editor.submenuEditButton()->click();
        // A submenu with items keeps its title and stays a submenu.
        QVERIFY(!editor.titleField()->isEnabled());
        QVERIFY(!editor.submenuBox()->isEnabled());
        editor.saveAndClose();
        tools::LauncherEditor::setNestedRunner({});
        QCOMPARE(settings.readText("ExecTitle_Main", "Count", ""), std::string("3"));
        QCOMPARE(settings.readText("ExecSub_Main", "1", ""), std::string("1"));
        QCOMPARE(settings.readText("ExecTitle_Main-Tools", "Count", ""), std::string("1"));
        QCOMPARE(settings.readText("ExecCommand_Main-Tools", "0", ""),
                 std::string("/usr/bin/calc"));
        QCOMPARE(settings.readInt("Execmenu", "SubCount", -1), 0);
    }

    void editorStackAndRefusals() {
        settings().writeText("ExecTitle_Main", "Count", "2");
        settings().writeText("ExecTitle_Main", "0", "A");
        settings().writeText("ExecTitle_Main", "1", "B");
        tools::LauncherEditor editor(settings());
        editor.show();
        QCOMPARE(editor.itemList()->currentRow(), 0);
        editor.toStackButton()->click();
        editor.itemList()->setCurrentRow(0);
        editor.toStackButton()->click();
        QVERIFY(!editor.saveButton()->isEnabled());
        QCOMPARE(editor.stackList()->count(), 2);
        editor.stackList()->setCurrentRow(1);  // B back first: the order is now B, A
        editor.fromStackButton()->click();
        editor.stackList()->setCurrentRow(0);
        editor.fromStackButton()->click();
        QVERIFY(editor.saveButton()->isEnabled());
        QCOMPARE(editor.items()[0].title, std::string("B"));
        QCOMPARE(editor.items()[1].title, std::string("A"));

        editor.separatorButton()->click();
        QCOMPARE(editor.titleField()->text(), QStringLiteral("(ｾﾊﾟﾚｰﾀ)"));
        QVERIFY(!editor.writeButton()->isEnabled());
        QVERIFY(!editor.fileField()->isEnabled());

        editor.itemList()->setCurrentRow(0);
        editor.titleField()->clear();
        QTest::keyClicks(editor.titleField(), QStringLiteral("MAIN"));
        QCOMPARE(editor.titleField()->text(), QString());
        editor.titleField()->setText(QStringLiteral("Café"));
        QVERIFY(!editor.writeItem());
        QCOMPARE(warnings_.size(), 1);
        QVERIFY(warnings_[0].contains(QStringLiteral("Café")));
        QCOMPARE(editor.items()[0].title, std::string("B"));

        home_->writeFile("drop/viewer.desktop",
                         "[Desktop Entry]\nType=Application\nName=画像ビューア\nExec=true\n");
        editor.dropFiles({(home_->path() / "drop/viewer.desktop").string(), "/opt/a?b/run"});
        QCOMPARE(editor.stack().size(), std::size_t(2));
        QCOMPARE(editor.stack()[0].title, std::string("画像ビューア"));
        QCOMPARE(editor.stack()[1].title, std::string("run"));
        QCOMPARE(editor.stack()[1].command, std::string("?/opt/a?b/run"));
        QVERIFY(!editor.saveButton()->isEnabled());
        editor.reject();
    }

    void associationsEditor() {
        platform::ProfileFile settings(home_->iniPath());
        std::vector<tools::Association> rows;
        for (int i = 0; i < 1000; ++i)
            rows.push_back({".e" + std::to_string(i), "/opt/v" + std::to_string(i)});
        rows.push_back({".txt", "/usr/bin/viewer"});
        tools::saveAssociations(settings, rows, "/usr/bin/default");
        const std::string before = home_->readFile("hinagiku.ini");

        auto* window = new tools::FileAssociationsWindow(settings);
        window->show();
        QCOMPARE(window->extensionList()->count(), 1001);
        QCOMPARE(window->defaultField()->text(), QStringLiteral("/usr/bin/default"));
        window->extensionField()->setText(QStringLiteral(".TXT"));
        QCOMPARE(window->extensionList()->currentRow(), 1000);
        QCOMPARE(window->extensionField()->text(), QStringLiteral(".txt"));
        QCOMPARE(window->programField()->text(), QStringLiteral("/usr/bin/viewer"));
        QVERIFY(window->deleteButton()->isEnabled());

        window->extensionField()->setText(QStringLiteral(".md"));
        QVERIFY(window->programField()->isEnabled());
        window->programField()->setText(QStringLiteral("/usr/bin/mdview"));
        QVERIFY(window->saveButton()->isEnabled());
        window->saveButton()->click();
        QCOMPARE(window->extensionList()->count(), 1002);
        window->extensionField()->setText(QStringLiteral(".a=b"));
        window->programField()->setText(QStringLiteral("/x"));
        window->saveButton()->click();
        QCOMPARE(window->extensionList()->count(), 1002);
        QCOMPARE(warnings_.size(), 1);

        home_->writeFile("drop/app.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");
        window->dropFiles({QString::fromStdString((home_->path() / "drop/app.desktop").string()),
                           QStringLiteral("/d/Photo.JPG")});
        QCOMPARE(window->programField()->text(),
                 QString::fromStdString((home_->path() / "drop/app.desktop").string()));
        QCOMPARE(window->extensionField()->text(), QStringLiteral(".JPG"));

        // The title-bar close keeps the table as it was.
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::string after = home_->readFile("hinagiku.ini");
        QCOMPARE(tools::readAssociations(settings).size(), std::size_t(1001));

        auto* again = new tools::FileAssociationsWindow(settings);
        again->show();
        again->extensionField()->setText(QStringLiteral(".md"));
        again->programField()->setText(QStringLiteral("/usr/bin/mdview"));
        again->saveButton()->click();
        again->closeButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto saved = tools::readAssociations(settings);
        QCOMPARE(saved.size(), std::size_t(1002));
        QCOMPARE(saved.back(), (tools::Association{".md", "/usr/bin/mdview"}));
        QCOMPARE(settings.readText("Ext_Form", "Count", ""), std::string("1002"));
        Q_UNUSED(before);
        Q_UNUSED(after);
    }

    void ctrlDropHandsEachNameOverWhole() {
        platform::setProgramLauncher(nullptr);
        const fs::path bin = home_->path() / "bin";
        fs::create_directories(bin);
        writeRecorder(bin / "recorder");
        const fs::path out = home_->path() / "args.txt";
        qputenv("OUT", QByteArray::fromStdString(out.string()));
        settings().writeText("Ext_Exec", ".txt",
                             (bin / "recorder").string() + "?--first \"two words\"");
        const std::string strange = (home_->path() / "it's \"$(rm -rf x)\" \\ `y`.TXT").string();
        home_->writeFile("it's \"$(rm -rf x)\" \\ `y`.TXT", "x");
        QCOMPARE(tools::launchDroppedFiles(settings(), {strange, "/d/skipped.none"},
                                           [this](const QString& t) { warnings_ << t; }),
                 1);
        QTRY_VERIFY(readRecorded(out).endsWith(QStringLiteral("END\n")));
        QCOMPARE(readRecorded(out), QStringLiteral("--first\ntwo words\n") +
                                        QString::fromStdString(strange) +
                                        QStringLiteral("\nEND\n"));
        QVERIFY(warnings_.isEmpty());
    }

  private:
    platform::SoundRecorder sounds_;
    platform::RecordingProgramLauncher launcher_;
    std::optional<platform::MemorySettings> store_;
    platform::MemorySettings& settings() { return *store_; }
    std::unique_ptr<testing::TempHome> home_;
    fs::path folder_;
    std::unique_ptr<QWidget> host_;
    QLineEdit* box_ = nullptr;
    QMenu* memo_ = nullptr;
    QMenu* launcherMenu_ = nullptr;
    QStringList warnings_;
};

QTEST_MAIN(LauncherCommandTest)
#include "test_launcher_command.moc"
