#include "tooltip/qt/compositing.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace tooltip {

bool CompositingActive() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return true; // Wayland, offscreen and the rest compose (or draw nothing to compose)
    }
    xcb_connection_t* connection = x11->connection();
    // The default screen's number is the one after the dot in the display name (":0.1").
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY")) {
        const std::string name = display;
        if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > name.rfind(':')) {
            screen = std::atoi(name.c_str() + dot + 1);
        }
    }
    const std::string selection = "_NET_WM_CM_S" + std::to_string(screen);
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(selection.size()), selection.c_str());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, atomCookie, nullptr), &std::free);
    if (!atom) {
        return true;
    }
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

} // namespace tooltip
