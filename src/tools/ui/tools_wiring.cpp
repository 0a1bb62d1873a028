#include "tools/ui/tools_wiring.h"

#include <QApplication>
#include <QPointer>

#include <exception>

#include "core/sound_cues.h"
#include "tools/file_associations.h"
#include "tools/ui/command_box.h"
#include "tools/ui/countdown_window.h"
#include "tools/ui/day_calculator_window.h"
#include "tools/ui/file_associations_window.h"
#include "tools/ui/launcher_editor.h"
#include "tools/ui/launcher_menu_ui.h"
#include "tools/ui/tool_dialogs.h"

namespace hinagiku::tools {
namespace {

QPointer<CommandBox>& commandBox() {
    static QPointer<CommandBox> box;
    return box;
}

}  // namespace

int launchDroppedFiles(platform::Settings& settings, const std::vector<std::string>& paths,
                       const std::function<void(const QString&)>& warn) {
    int started = 0;
    try {
        for (const std::string& path : paths) {
            const std::optional<LaunchRequest> request = dropRequest(settings, path);
            if (!request)
                continue;
            core::PlaySoundCue(settings, "ope");
            const platform::LaunchResult result = startRequest(*request);
            if (result.started)
                ++started;
            else if (warn)
                warn(QString::fromStdString(result.message));
        }
    } catch (const std::exception&) {
        QApplication::beep();
        if (warn)
            warn(QString::fromUtf8(kDropFailure.data(),
                                   static_cast<qsizetype>(kDropFailure.size())));
    }
    return started;
}

void addToolHooks(mainwindow::MainWindowHooks& hooks, mainwindow::MainWindow& window,
                  platform::Settings& settings) {
    auto warn = [&window](const QString& text) { toolDialogs().warn(&window, text, {}); };
    hooks.fillLauncherMenu = [&settings, warn](QMenu* menu) {
        fillLauncherMenu(menu, settings, warn);
    };
    hooks.runCommand = [](const QString& command) {
        if (CommandBox* box = commandBox())
            box->run(command);
    };
    hooks.openWithAssociations = [&settings, warn](const std::vector<std::string>& paths) {
        launchDroppedFiles(settings, paths, warn);
    };
}

void installTools(mainwindow::MainWindow& window, platform::Settings& settings,
                  const platform::Clock& clock) {
    using mainwindow::Tool;
    window.setTool(Tool::LauncherEditor, {[&window, &settings] {
                                              LauncherEditor::openTopLevel(
                                                  settings, &window,
                                                  [&window] { window.rebuildLauncherMenu(); });
                                          },
                                          {}});
    window.setTool(Tool::DayCalculator,
                   {[&settings, &clock] { DayCalculatorWindow::open(settings, clock); },
                    [] { return DayCalculatorWindow::isOpen(); }});
    window.setTool(Tool::CountdownTimer,
                   {[&settings, &clock] { CountdownWindow::open(settings, clock); },
                    [] { return CountdownWindow::isOpen(); }});
    window.setTool(Tool::FileAssociations, {[&settings] { FileAssociationsWindow::open(settings); },
                                            [] { return FileAssociationsWindow::isOpen(); }});
    commandBox() = new CommandBox(window.commandBox(), settings, ShortcutFolder::defaultPath(),
                                  {window.memoMenu(), window.launcherMenu()}, &window);
}

}  // namespace hinagiku::tools
