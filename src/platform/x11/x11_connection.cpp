#include "platform/x11/x11_connection.h"

#include <X11/XKBlib.h>

#include <stdexcept>
#include <string>

namespace tavren::x11 {
namespace {

// Xlib calls its error handler without any user pointer, so the trap can only
// count in a variable of its own. Traps run on the one thread that talks to X.
int trappedErrors = 0;

int countError(Display*, XErrorEvent*) {
    ++trappedErrors;
    return 0;
}

} // namespace

DisplayPtr openDisplay(const char* displayName) {
    int major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
    int eventBase = 0, errorBase = 0;
    DisplayPtr display(XkbOpenDisplay(const_cast<char*>(displayName), &eventBase, &errorBase,
                                      &major, &minor, &reason));
    if (!display) {
        const char* shown = displayName ? displayName : XDisplayName(nullptr);
        throw std::runtime_error(std::string("cannot open the X display ") + shown +
                                 " with XKB (reason " + std::to_string(reason) + ")");
    }
    return display;
}

ScopedErrorTrap::ScopedErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    trappedErrors = 0;
    previous_ = XSetErrorHandler(countError);
}

ScopedErrorTrap::~ScopedErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool ScopedErrorTrap::failedSinceLastCheck() {
    XSync(display_, False);
    const bool failed = trappedErrors > 0;
    trappedErrors = 0;
    return failed;
}

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

} // namespace tavren::x11
