#pragma once

#include <string>

#include "platform/window_closer.h"

namespace hinagiku::platform {

// Closes windows on an X11 display. The windows are the window manager's
// clients in the order of _NET_CLIENT_LIST (or, without an EWMH window
// manager, the root's children from the top of the stack down); titles are
// _NET_WM_NAME or WM_NAME. The request is _NET_CLOSE_WINDOW to the window
// manager when it supports that, else WM_DELETE_WINDOW to the window when the
// window takes it. Each call opens its own short connection, so a display
// that comes and goes does no harm. Without a display nothing happens.
class X11WindowCloser final : public WindowCloser {
  public:
    // `displayName` empty: the DISPLAY of the environment at each call.
    explicit X11WindowCloser(std::string displayName = {});
    bool closeWindowByTitle(std::string_view text) override;

  private:
    std::string displayName_;
};

}  // namespace hinagiku::platform
