#pragma once

#include <cstdint>

namespace hinagiku::platform {

// Keeps a top-level window of ours out of the task bar and the pager (EWMH
// _NET_WM_STATE_SKIP_TASKBAR and _SKIP_PAGER): written on the window for a
// window manager that reads it at mapping, and asked of the window manager
// for a window already shown. Does nothing outside X11. Returns whether the
// request reached an X server.
bool keepOffTaskbar(std::uint32_t window);

}  // namespace hinagiku::platform
