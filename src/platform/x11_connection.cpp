#include "platform/x11_connection.h"

#include <QString>

#include <cstdlib>
#include <cstring>

namespace hinagiku::platform {

X11Connection::X11Connection(const std::string& displayName) {
    const char* name = displayName.empty() ? std::getenv("DISPLAY") : displayName.c_str();
    if (name == nullptr || *name == '\0')
        return;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    if (it.rem == 0 || it.data == nullptr) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    screen_ = it.data;
    screenNumber_ = screenNumber;
}

X11Connection::~X11Connection() {
    if (ewmh_)
        xcb_ewmh_connection_wipe(ewmh_.get());
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
}

bool X11Connection::hasFailed() const {
    return connection_ == nullptr || xcb_connection_has_error(connection_) != 0;
}

int X11Connection::fileDescriptor() const {
    return xcb_get_file_descriptor(connection_);
}

xcb_ewmh_connection_t* X11Connection::ewmh() {
    if (!ewmhTried_) {
        ewmhTried_ = true;
        auto ewmh = std::make_unique<xcb_ewmh_connection_t>();
        std::memset(ewmh.get(), 0, sizeof(xcb_ewmh_connection_t));
        xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, ewmh.get());
        // The replies call frees the cookies and, on failure, the screens.
        if (xcb_ewmh_init_atoms_replies(ewmh.get(), cookies, nullptr) != 0) {
            ewmh_ = std::move(ewmh);
        }
    }
    return ewmh_.get();
}

xcb_atom_t X11Connection::atom(std::string_view name) {
    const auto cookie =
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    if (reply == nullptr)
        return XCB_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

X11Connection::Property X11Connection::property(xcb_window_t window, xcb_atom_t name) const {
    Property result;
    if (name == XCB_NONE)
        return result;
    // Titles and window lists are small; a megabyte bounds a hostile one.
    const auto cookie = xcb_get_property(connection_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                         1024 * 1024 / 4);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    if (reply == nullptr)
        return result;
    result.type = reply->type;
    result.format = reply->format;
    const int length = xcb_get_property_value_length(reply);
    if (length > 0) {
        result.bytes.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(length));
    }
    std::free(reply);
    return result;
}

std::vector<std::uint32_t> X11Connection::values(xcb_window_t window, xcb_atom_t name) const {
    const Property p = property(window, name);
    std::vector<std::uint32_t> result;
    if (p.format != 32 || p.bytes.size() < 4)
        return result;
    result.resize(p.bytes.size() / 4);
    std::memcpy(result.data(), p.bytes.data(), result.size() * 4);
    return result;
}

std::string X11Connection::title(xcb_window_t window) {
    if (xcb_ewmh_connection_t* e = ewmh()) {
        const Property netName = property(window, e->_NET_WM_NAME);
        if (netName.type != XCB_NONE && !netName.bytes.empty())
            return netName.bytes;
    }
    const Property name = property(window, XCB_ATOM_WM_NAME);
    if (name.type == XCB_ATOM_STRING) {
        return QString::fromLatin1(name.bytes.data(), static_cast<qsizetype>(name.bytes.size()))
            .toStdString();
    }
    return name.bytes;
}

}  // namespace hinagiku::platform
