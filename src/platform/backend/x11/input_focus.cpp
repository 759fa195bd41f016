#include "platform/backend/x11/input_focus.h"

#include <X11/Xlib.h>

namespace tavren::backend::x11 {

bool focusIsWithin(Display* display, unsigned long window) {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    const Window root = DefaultRootWindow(display);
    while (focus != None && focus != PointerRoot && focus != root) {
        if (focus == window) return true;
        Window rootOfFocus = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, focus, &rootOfFocus, &parent, &children, &count)) return false;
        if (children) XFree(children);
        focus = parent;
    }
    return false;
}

} // namespace tavren::backend::x11
