#include "core/ui/settings_dialog_hook.h"

#include <QApplication>
#include <QWidget>

namespace hinagiku::core {
namespace {

std::function<void()>& opener() {
    static std::function<void()> f;
    return f;
}

}  // namespace

void openSettingsDialog() {
    if (opener()) {
        opener()();
        return;
    }
    if (QWidget* window = QApplication::activeWindow())
        window->raise();
}

void setSettingsDialogOpener(std::function<void()> f) {
    opener() = std::move(f);
}

}  // namespace hinagiku::core
