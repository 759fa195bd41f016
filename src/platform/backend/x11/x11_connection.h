#pragma once

#include <X11/Xlib.h>

#include <memory>

namespace tavren::backend::x11 {

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

// Ends Xlib's default of quitting the process on any protocol error: the
// windows we talk to belong to other programs and may vanish between any two
// requests. Errors outside an IgnoredXErrors scope are dropped. Call once, at
// start-up.
void survivePeerWindowErrors();

// The atom of the given name, created if needed.
Atom atom(Display* display, const char* name);

} // namespace tavren::backend::x11
