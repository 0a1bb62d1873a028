#include "cycle/ui/cycle_open.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "core/data_folders.h"
#include "core/ui/application.h"
#include "core/ui/privacy_gate.h"
#include "cycle/cycle_file.h"
#include "cycle/ui/cycle_window.h"

namespace hinagiku::cycle {
namespace {

QPointer<CycleWindow>& theWindow() {
    static QPointer<CycleWindow> window;
    return window;
}

FolderErrorSink& sink() {
    static FolderErrorSink value;
    return value;
}

void showFolderError(std::string_view message) {
    if (sink()) {
        sink()(message);
        return;
    }
    QApplication::beep();
    QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox::warning(nullptr, QStringLiteral("Hinagiku"), text);
}

}  // namespace

void setFolderErrorSink(FolderErrorSink value) {
    sink() = std::move(value);
}

CycleWindow* openCycleTracker(platform::Settings& settings, const platform::Clock& clock,
                              DateTime selectedDate) {
    if (!core::passPrivacyGate(core::GuardedFeature::Period))
        return nullptr;
    if (!core::RequireDataFolder(settings))
        return nullptr;
    const auto folder = preparePeriodFolder(core::PrivateFolder(settings));
    if (!folder) {
        showFolderError(core::kMissingFolderMessage);
        return nullptr;
    }
    if (CycleWindow* open = theWindow()) {
        open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* window = new CycleWindow(settings, clock, std::make_unique<CycleFile>(settings, *folder),
                                   selectedDate);
    theWindow() = window;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CycleWindow* openCycleWindow() {
    return theWindow();
}

}  // namespace hinagiku::cycle
