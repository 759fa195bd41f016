#pragma once

#include <X11/Xlib.h>

#include <chrono>

namespace tavren::backend::x11 {

// The window that receives synthesised keys: is it still in front, and has it
// processed what it was sent.
class TargetWindow {
public:
    // `display` is borrowed; it must be a connection of our own, since waiting
    // reads its events.
    TargetWindow(Display* display, Window window);

    // True while the window is the foreground window: it has the input focus (or
    // a window inside it does) and, under a window manager, is the root's
    // _NET_ACTIVE_WINDOW too.
    bool isForeground();

    Window window() const { return window_; }

    // Returns once the window has processed every key sent so far: two
    // _NET_WM_PING round trips in sequence when it takes pings (a toolkit answers
    // the first before it delivers the keys it read with it), else a server round
    // trip and a short settle time. A window that does not answer is given up on
    // after `timeout` per ping. True only when the window answered both pings:
    // without pings, "processed" is a guess.
    bool waitUntilProcessed(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

private:
    bool ping(std::chrono::milliseconds timeout);
    bool takesPings();

    Display* display_;
    Window window_;
    Window root_;
    Atom netActiveWindow_;
    Atom netSupportingWmCheck_;
    Atom wmProtocols_;
    Atom netWmPing_;
    bool managed_ = false;
    long nextToken_;
};

} // namespace tavren::backend::x11
