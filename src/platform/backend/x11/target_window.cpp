#include "platform/backend/x11/target_window.h"

#include "platform/backend/x11/ignored_x_errors.h"
#include "platform/backend/x11/input_focus.h"

#include "platform/backend/x11/x11_connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <thread>

namespace tavren::backend::x11 {
namespace {

using Clock = std::chrono::steady_clock;

// A window property holding one window id; 0 when it is missing.
Window windowProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window value = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        if (type == XA_WINDOW && format == 32 && count == 1)
            value = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return value;
}

// The time a settled window takes to read keys without a way to ask it.
constexpr auto kSettleTime = std::chrono::milliseconds(20);

// Long enough for a toolkit to finish the pass over its event queue in which it
// answered a ping.
constexpr auto kPassTime = std::chrono::milliseconds(5);

} // namespace

TargetWindow::TargetWindow(Display* display, Window window)
    : display_(display), window_(window), root_(DefaultRootWindow(display)),
      netActiveWindow_(atom(display, "_NET_ACTIVE_WINDOW")),
      netSupportingWmCheck_(atom(display, "_NET_SUPPORTING_WM_CHECK")),
      wmProtocols_(atom(display, "WM_PROTOCOLS")), netWmPing_(atom(display, "_NET_WM_PING")),
      nextToken_(static_cast<long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
              .count() &
          0x3fffffff)) {
    // A window manager is running when its check window names itself.
    const Window check = windowProperty(display_, root_, netSupportingWmCheck_);
    managed_ = check != 0 && windowProperty(display_, check, netSupportingWmCheck_) == check;
}

bool TargetWindow::isForeground() {
    if (managed_ && windowProperty(display_, root_, netActiveWindow_) != window_) return false;
    return focusIsWithin(display_, window_);
}

bool TargetWindow::takesPings() {
    Atom* protocols = nullptr;
    int count = 0;
    bool found = false;
    if (XGetWMProtocols(display_, window_, &protocols, &count)) {
        for (int i = 0; i < count; ++i)
            if (protocols[i] == netWmPing_) found = true;
        XFree(protocols);
    }
    return found;
}

bool TargetWindow::waitUntilProcessed(std::chrono::milliseconds timeout) {
    IgnoredXErrors ignoreErrors(display_);
    if (takesPings()) {
        // A toolkit answers a ping in the same pass over its event queue in which
        // it read the keys before it, and delivers those keys only after the pass.
        // A second ping sent at once can still join that pass; sent a moment
        // later it is answered in a pass of its own, after the keys.
        if (!ping(timeout)) return false;
        std::this_thread::sleep_for(kPassTime);
        return ping(timeout);
    }
    XSync(display_, False);
    std::this_thread::sleep_for(kSettleTime);
    return false;
}

bool TargetWindow::ping(std::chrono::milliseconds timeout) {
    // The answer goes to the root window for the window manager, sent to the
    // clients selecting either structure (Qt) or substructure (GTK) notification
    // there besides the window manager's redirection; we listen for both.
    XSelectInput(display_, root_, StructureNotifyMask | SubstructureNotifyMask);
    const long token = nextToken_++;
    XEvent ping{};
    ping.xclient.type = ClientMessage;
    ping.xclient.window = window_;
    ping.xclient.message_type = wmProtocols_;
    ping.xclient.format = 32;
    ping.xclient.data.l[0] = static_cast<long>(netWmPing_);
    ping.xclient.data.l[1] = token;
    ping.xclient.data.l[2] = static_cast<long>(window_);
    XSendEvent(display_, window_, False, NoEventMask, &ping);
    XFlush(display_);

    bool answered = false;
    const auto deadline = Clock::now() + timeout;
    while (!answered) {
        while (!answered && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            answered = event.type == ClientMessage && event.xclient.message_type == wmProtocols_ &&
                       static_cast<Atom>(event.xclient.data.l[0]) == netWmPing_ &&
                       event.xclient.data.l[1] == token &&
                       static_cast<Window>(event.xclient.data.l[2]) == window_;
        }
        if (answered) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
    XSelectInput(display_, root_, NoEventMask);
    return answered;
}

} // namespace tavren::backend::x11
