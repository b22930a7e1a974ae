#include "GlobalHotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <iostream>

namespace vestrel {
namespace {

// Caps Lock and Num Lock change the modifier state without being meant as modifiers.
constexpr std::uint16_t kLockCombinations[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                               XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

}  // namespace

std::uint8_t X11Keycode(xcb_connection_t* c, std::uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, std::uint8_t(count)), nullptr);
    if (!reply) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perKey = reply->keysyms_per_keycode;
    const int total = xcb_get_keyboard_mapping_keysyms_length(reply);
    xcb_keycode_t found = 0;
    for (int i = 0; i < count && found == 0; ++i)
        for (int j = 0; j < perKey && i * perKey + j < total; ++j)
            if (syms[i * perKey + j] == keysym) {
                found = xcb_keycode_t(setup->min_keycode + i);
                break;
            }
    std::free(reply);
    return found;
}

GlobalHotKey::GlobalHotKey(QObject* parent) : QObject(parent)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    connection_ = x11->connection();
    grab();
    if (grabbed_) QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalHotKey::~GlobalHotKey()
{
    if (grabbed_) QCoreApplication::instance()->removeNativeEventFilter(this);
    ungrab();
}

void GlobalHotKey::grab()
{
    keycode_ = X11Keycode(connection_, kKeysymF11);
    if (keycode_ == 0) return;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_)); it.rem; xcb_screen_next(&it))
        roots_.push_back(it.data->root);
    grabbed_ = !roots_.empty();
    for (const xcb_window_t root : roots_) {
        for (const std::uint16_t modifiers : kLockCombinations) {
            const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection_, 1, root, modifiers, keycode_,
                                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                std::free(error);
                grabbed_ = false;
            }
        }
    }
    if (!grabbed_) {
        // Another program has F11: ours stays the window's own key.
        std::cerr << "vestrel: F11 is held by another program; it works only inside the window\n";
        ungrab();
    }
}

void GlobalHotKey::ungrab()
{
    if (!connection_ || keycode_ == 0) return;
    for (const xcb_window_t root : roots_)
        for (const std::uint16_t modifiers : kLockCombinations)
            xcb_ungrab_key(connection_, keycode_, root, modifiers);
    xcb_flush(connection_);
    roots_.clear();
}

bool GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (press->detail != keycode_) return false;
    // Presses meant for one of our windows go on to it; those the grab took from the rest
    // of the desktop arrive on the root window.
    for (const xcb_window_t root : roots_) {
        if (press->event == root) {
            emit activated();
            return true;
        }
    }
    return false;
}

}  // namespace vestrel
