#include "platform/backend/x11/x11_connection.h"

#include <X11/XKBlib.h>

#include <stdexcept>
#include <string>

namespace tavren::backend::x11 {
namespace {
int dropError(Display*, XErrorEvent*) {
    return 0;
}
} // namespace

void survivePeerWindowErrors() {
    XSetErrorHandler(dropError);
}

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

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

} // namespace tavren::backend::x11
