#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace tavren::x11 {

struct DisplayCloser {
    void operator()(Display* display) const {
        if (display) XCloseDisplay(display);
    }
};

// An owned connection to the X server.
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Opens a connection (nullptr: $DISPLAY). Throws std::runtime_error when the
// server cannot be reached or lacks XKB.
DisplayPtr openDisplay(const char* displayName);

// Catches the X errors raised while it lives instead of letting Xlib end the
// process: the windows we talk to belong to other programs and may vanish at any
// moment. Xlib's error handler is process-wide, so the previous one is put back.
class ScopedErrorTrap {
public:
    explicit ScopedErrorTrap(Display* display);
    ~ScopedErrorTrap();
    ScopedErrorTrap(const ScopedErrorTrap&) = delete;
    ScopedErrorTrap& operator=(const ScopedErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far; true when any
    // request since the trap was set (or last asked) failed.
    bool failedSinceLastCheck();

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

// The atom of the given name, created if needed.
Atom atom(Display* display, const char* name);

} // namespace tavren::x11
