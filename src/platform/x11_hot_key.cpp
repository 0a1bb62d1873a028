#include "platform/x11_hot_key.h"

#include <xcb/xcb_keysyms.h>

#include <QPointer>

#include <algorithm>
#include <cstdlib>

namespace hinagiku::platform {
namespace {

constexpr xcb_keysym_t kSpace = 0x0020;
constexpr xcb_keysym_t kSuperLeft = 0xffeb;
constexpr xcb_keysym_t kSuperRight = 0xffec;
constexpr xcb_keysym_t kNumLock = 0xff7f;

std::vector<std::uint8_t> keycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    std::vector<std::uint8_t> result;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    if (codes == nullptr)
        return result;
    for (xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL; ++code)
        result.push_back(*code);
    std::free(codes);
    return result;
}

// The modifier bit (Mod1..Mod5, or Shift/Lock/Control) that a key belongs
// to in the server's modifier map; 0 when it belongs to none.
std::uint16_t modifierOf(xcb_connection_t* connection, const std::vector<std::uint8_t>& keys) {
    xcb_get_modifier_mapping_reply_t* map =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (map == nullptr)
        return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map);
    const int perModifier = map->keycodes_per_modifier;
    std::uint16_t mask = 0;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code != 0 && std::find(keys.begin(), keys.end(), code) != keys.end()) {
                mask = static_cast<std::uint16_t>(1u << modifier);
                break;
            }
        }
    }
    std::free(map);
    return mask;
}

}  // namespace

X11HotKey::X11HotKey(HotKeyModifier modifier, QObject* parent, const std::string& displayName)
    : HotKey(parent), connection_(displayName) {
    if (!connection_.isOpen())
        return;
    xcb_connection_t* c = connection_.get();

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    if (symbols == nullptr)
        return;
    keycodes_ = keycodesOf(symbols, kSpace);
    std::vector<std::uint8_t> superKeys = keycodesOf(symbols, kSuperLeft);
    const auto superRight = keycodesOf(symbols, kSuperRight);
    superKeys.insert(superKeys.end(), superRight.begin(), superRight.end());
    const std::vector<std::uint8_t> numLockKeys = keycodesOf(symbols, kNumLock);
    xcb_key_symbols_free(symbols);
    if (keycodes_.empty())
        return;

    if (modifier == HotKeyModifier::Control) {
        modifierMask_ = XCB_MOD_MASK_CONTROL;
    } else {
        modifierMask_ = modifierOf(c, superKeys);
        if (modifierMask_ == 0)
            modifierMask_ = XCB_MOD_MASK_4;  // the usual place
    }
    std::uint16_t numLock = modifierOf(c, numLockKeys);
    if (numLock == 0)
        numLock = XCB_MOD_MASK_2;
    lockMasks_ = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock);

    const std::uint16_t variants[] = {0, XCB_MOD_MASK_LOCK, numLock,
                                      static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)};
    bool allTaken = true;
    for (const std::uint16_t variant : variants) {
        bool taken = true;
        for (const auto keycode : keycodes_) {
            const auto cookie = xcb_grab_key_checked(
                c, 1, connection_.root(), static_cast<std::uint16_t>(modifierMask_ | variant),
                keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
                std::free(error);  // held by another program: the key does nothing
                taken = false;
            }
        }
        if (taken)
            grabbedVariants_.push_back(variant);
        allTaken = allTaken && taken;
    }
    registered_ = !grabbedVariants_.empty() && grabbedVariants_.front() == 0 && allTaken;
    if (grabbedVariants_.empty())
        return;

    notifier_ =
        std::make_unique<QSocketNotifier>(connection_.fileDescriptor(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11HotKey::readEvents);
    xcb_flush(c);
    readEvents();  // anything already queued while setting up
}

X11HotKey::~X11HotKey() {
    notifier_.reset();
    if (!connection_.isOpen() || connection_.hasFailed())
        return;
    for (const std::uint16_t variant : grabbedVariants_) {
        for (const auto keycode : keycodes_) {
            xcb_ungrab_key(connection_.get(), keycode, connection_.root(),
                           static_cast<std::uint16_t>(modifierMask_ | variant));
        }
    }
    // A round trip, so the key is free for others the moment we return.
    std::free(xcb_get_input_focus_reply(connection_.get(), xcb_get_input_focus(connection_.get()),
                                        nullptr));
}

void X11HotKey::readEvents() {
    xcb_connection_t* c = connection_.get();
    int presses = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
            const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
            // Buttons and lock keys do not count; every other modifier must match.
            const std::uint16_t relevant = press->state & 0x00ff & ~lockMasks_;
            if (std::find(keycodes_.begin(), keycodes_.end(), press->detail) != keycodes_.end() &&
                relevant == modifierMask_) {
                ++presses;
            }
        }
        std::free(event);
    }
    if (connection_.hasFailed() && notifier_)
        notifier_->setEnabled(false);
    // A receiver may destroy this key; nothing of it is touched after that.
    QPointer<X11HotKey> alive(this);
    for (int i = 0; i < presses && alive; ++i)
        emit activated();
}

}  // namespace hinagiku::platform
