#include "platform/x11_window_closer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/x11_connection.h"

namespace hinagiku::platform {
namespace {

bool contains(const std::vector<std::uint32_t>& list, std::uint32_t value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// Top-level windows with their titles, in the order the matching uses.
struct Candidates {
    std::vector<xcb_window_t> windows;
    std::vector<std::string> titles;
};

Candidates clientWindows(X11Connection& x) {
    Candidates result;
    xcb_ewmh_connection_t* ewmh = x.ewmh();
    if (ewmh != nullptr) {
        const auto clients = x.values(x.root(), ewmh->_NET_CLIENT_LIST);
        if (!clients.empty()) {
            for (const auto window : clients) {
                result.windows.push_back(window);
                result.titles.push_back(x.title(window));
            }
            return result;
        }
    }
    // No EWMH client list: the root's children, topmost first; a framed
    // client (a window manager that reparents without EWMH) is found one
    // level down.
    const auto cookie = xcb_query_tree(x.get(), x.root());
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x.get(), cookie, nullptr);
    if (tree == nullptr)
        return result;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    std::vector<xcb_window_t> tops(children, children + xcb_query_tree_children_length(tree));
    std::free(tree);
    std::reverse(tops.begin(), tops.end());
    for (const auto top : tops) {
        std::string title = x.title(top);
        xcb_window_t window = top;
        if (title.empty()) {
            const auto inner = xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), top), nullptr);
            if (inner != nullptr) {
                const xcb_window_t* kids = xcb_query_tree_children(inner);
                for (int i = 0; i < xcb_query_tree_children_length(inner); ++i) {
                    title = x.title(kids[i]);
                    if (!title.empty()) {
                        window = kids[i];
                        break;
                    }
                }
                std::free(inner);
            }
        }
        if (title.empty())
            continue;
        result.windows.push_back(window);
        result.titles.push_back(std::move(title));
    }
    return result;
}

bool sendDeleteWindow(X11Connection& x, xcb_window_t window) {
    const xcb_atom_t protocols = x.atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = x.atom("WM_DELETE_WINDOW");
    if (protocols == XCB_NONE || deleteWindow == XCB_NONE)
        return false;
    if (!contains(x.values(window, protocols), deleteWindow))
        return false;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = deleteWindow;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(x.get(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    return true;
}

}  // namespace

X11WindowCloser::X11WindowCloser(std::string displayName) : displayName_(std::move(displayName)) {}

bool X11WindowCloser::closeWindowByTitle(std::string_view text) {
    if (text.empty())
        return false;
    X11Connection x(displayName_);
    if (!x.isOpen())
        return false;
    const Candidates candidates = clientWindows(x);
    const int index = firstTitleContaining(candidates.titles, text);
    if (index < 0)
        return false;
    const xcb_window_t window = candidates.windows[static_cast<std::size_t>(index)];

    bool asked = false;
    xcb_ewmh_connection_t* ewmh = x.ewmh();
    if (ewmh != nullptr &&
        contains(x.values(x.root(), ewmh->_NET_SUPPORTED), ewmh->_NET_CLOSE_WINDOW)) {
        xcb_ewmh_request_close_window(ewmh, x.screenNumber(), window, XCB_CURRENT_TIME,
                                      XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
        asked = true;
    } else {
        asked = sendDeleteWindow(x, window);
    }
    // A round trip: the request has reached the server before the
    // connection closes.
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    return asked;
}

}  // namespace hinagiku::platform
