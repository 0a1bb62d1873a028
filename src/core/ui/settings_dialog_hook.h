#pragma once

#include <functional>

namespace hinagiku::core {

// Opens the settings dialog, or brings it to the front when it is open. The
// dialog's window registers itself with setSettingsDialogOpener(); until then
// the request only raises the program's main window.
void openSettingsDialog();
void setSettingsDialogOpener(std::function<void()> opener);

}  // namespace hinagiku::core
