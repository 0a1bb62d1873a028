#pragma once

#include <functional>
#include <string_view>

#include "calendar/date_time.h"
#include "platform/clock.h"
#include "platform/settings.h"

namespace hinagiku::cycle {

class CycleWindow;

// How opening reports a Period folder that cannot be had; by default an
// exclamation beep and an OK box. Tests record it instead.
using FolderErrorSink = std::function<void(std::string_view message)>;
void setFolderErrorSink(FolderErrorSink sink);

// The main window's "Period" item: the privacy gate, the data folder (the
// settings dialog instead when unset), the Period folder in the private
// folder, then the window (or the open one brought to the front). Returns
// nothing when any step stops the opening.
CycleWindow* openCycleTracker(platform::Settings& settings, const platform::Clock& clock,
                              DateTime selectedDate);
// The open tracker window, if any.
CycleWindow* openCycleWindow();

}  // namespace hinagiku::cycle
