#include "wayland_session.h"

namespace tavren::program {

std::optional<std::string> waylandSessionNotice(const std::string& waylandDisplay,
                                                const std::string& sessionType) {
    if (waylandDisplay.empty() && sessionType != "wayland") return std::nullopt;
    // Another program's keys reach no Wayland-native window, and XInput2 sees
    // the keyboard only while an X11 window has the focus.
    return "a Wayland session: orders reach X11 windows only (those running under XWayland, "
           "which are the ones the lists show); the keypad keys press buttons only while an "
           "XWayland window has the focus; `tavren --press N` presses one from anywhere";
}

} // namespace tavren::program
