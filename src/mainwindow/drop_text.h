#pragma once

#include <string>
#include <vector>

namespace hinagiku::mainwindow {

// The clipboard text for files dropped on the main window: one file gives
// its path alone; several are joined by one space ([ToolWindow] Separate)
// or each followed by CR LF. With `namesOnly` (Shift held) only the file
// names are used.
std::string droppedNamesText(const std::vector<std::string>& paths, bool namesOnly,
                             bool separateWithSpace);

}  // namespace hinagiku::mainwindow
