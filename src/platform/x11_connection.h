#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// One connection of our own to the X server, for the desktop services that Qt
// does not offer (other programs' windows, global keys). Closed on
// destruction. Opening fails quietly outside X11 (no DISPLAY, or a server
// that refuses); isOpen() then answers false and nothing else may be called.
class X11Connection {
  public:
    // `displayName` empty: the DISPLAY of the environment.
    explicit X11Connection(const std::string& displayName = {});
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool isOpen() const { return connection_ != nullptr; }
    // Whether the server has gone away since (I/O error).
    bool hasFailed() const;

    xcb_connection_t* get() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; }
    int screenNumber() const { return screenNumber_; }
    xcb_window_t root() const { return screen_->root; }
    int fileDescriptor() const;

    // The EWMH atoms and helpers, interned on first use; nullptr when the
    // server did not answer.
    xcb_ewmh_connection_t* ewmh();
    xcb_atom_t atom(std::string_view name);

    // A property's raw bytes, with its type (XCB_NONE when absent).
    struct Property {
        xcb_atom_t type = XCB_NONE;
        std::uint8_t format = 0;
        std::string bytes;
    };
    Property property(xcb_window_t window, xcb_atom_t name) const;
    // A property of 32-bit values (windows, atoms, cardinals).
    std::vector<std::uint32_t> values(xcb_window_t window, xcb_atom_t name) const;
    // A window's title as UTF-8: _NET_WM_NAME, else WM_NAME (Latin-1 for
    // STRING, as it is otherwise). Empty when it has neither.
    std::string title(xcb_window_t window);

  private:
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    std::unique_ptr<xcb_ewmh_connection_t> ewmh_;
    bool ewmhTried_ = false;
};

}  // namespace hinagiku::platform
