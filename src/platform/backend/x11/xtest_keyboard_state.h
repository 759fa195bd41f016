#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>

#include <array>
#include <optional>

namespace tavren::backend::x11 {

// The keys the XTest device holds down: the device synthesised keys come from,
// ours and other programs' (xdotool keydown). The core keyboard's key state
// merges every device's, so it cannot tell those from keys the user holds on
// a real keyboard; only keys down here can be released through XTest.
class XTestKeyboardState {
public:
    // `display` is borrowed.
    explicit XTestKeyboardState(Display* display) : display_(display) {}
    ~XTestKeyboardState();
    XTestKeyboardState(const XTestKeyboardState&) = delete;
    XTestKeyboardState& operator=(const XTestKeyboardState&) = delete;

    // One bit per keycode, as XQueryKeymap gives them; nothing when the server
    // has no XTest keyboard device to ask.
    std::optional<std::array<char, 32>> keysDown();

private:
    bool open();

    Display* display_;
    XDevice* device_ = nullptr;
    bool looked_ = false;
};

} // namespace tavren::backend::x11
