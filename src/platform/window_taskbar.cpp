#include "platform/window_taskbar.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/x11_connection.h"

namespace hinagiku::platform {

bool keepOffTaskbar(std::uint32_t window) {
    if (window == 0)
        return false;
    X11Connection x11;
    if (!x11.isOpen())
        return false;
    xcb_ewmh_connection_t* ewmh = x11.ewmh();
    if (ewmh == nullptr)
        return false;
    const xcb_atom_t wanted[] = {ewmh->_NET_WM_STATE_SKIP_TASKBAR, ewmh->_NET_WM_STATE_SKIP_PAGER};
    // The property, keeping the states already there (the toolkit's own).
    std::vector<std::uint32_t> states = x11.values(window, ewmh->_NET_WM_STATE);
    for (const xcb_atom_t atom : wanted)
        if (std::find(states.begin(), states.end(), atom) == states.end())
            states.push_back(atom);
    xcb_ewmh_set_wm_state(ewmh, window, static_cast<std::uint32_t>(states.size()), states.data());
    // The request, for a window manager that already manages the window.
    xcb_ewmh_request_change_wm_state(ewmh, x11.screenNumber(), window, XCB_EWMH_WM_STATE_ADD,
                                     wanted[0], wanted[1], XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
    // A round trip: the property is in place before the toolkit maps.
    free(xcb_get_input_focus_reply(x11.get(), xcb_get_input_focus(x11.get()), nullptr));
    return !x11.hasFailed();
}

}  // namespace hinagiku::platform
