#include "x11_stacking.h"

#include "ignored_x_errors.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace tavren::backend::x11 {

namespace {

constexpr long kStateRemove = 0;
constexpr long kStateAdd = 1;
constexpr long kSourceApplication = 1;

} // namespace

X11Stacking::X11Stacking(_XDisplay* display, WindowResolver resolver)
    : display_(display), resolver_(std::move(resolver)), properties_(display) {}

bool X11Stacking::isWithdrawn(unsigned long window) const {
    const auto wmState = properties_.atom("WM_STATE");
    const auto state = properties_.readList(window, wmState, wmState);
    return !state || state->empty() || state->front() == WithdrawnState;
}

void X11Stacking::setKeepAbove(const controls::Form& form, bool above) {
    const Window window = resolver_ ? resolver_(form) : None;
    if (window == None) return;
    IgnoredXErrors ignore(display_);
    const auto netWmState = properties_.atom("_NET_WM_STATE");
    const auto aboveAtom = properties_.atom("_NET_WM_STATE_ABOVE");

    if (isWithdrawn(window)) {
        // Not mapped yet (start-up asks before the window is first shown): the
        // window manager reads the state property when the window is mapped.
        auto states = properties_.readList(window, netWmState, XA_ATOM)
                          .value_or(std::vector<unsigned long>{});
        const auto it = std::find(states.begin(), states.end(), aboveAtom);
        if (above && it == states.end()) states.push_back(aboveAtom);
        if (!above && it != states.end()) states.erase(it);
        properties_.writeList(window, netWmState, XA_ATOM, states);
        return;
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = netWmState;
    event.xclient.format = 32;
    event.xclient.data.l[0] = above ? kStateAdd : kStateRemove;
    event.xclient.data.l[1] = static_cast<long>(aboveAtom);
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = kSourceApplication;
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace tavren::backend::x11
