#include "x11_window_manager.h"

#include "ignored_x_errors.h"
#include "input_focus.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>

namespace tavren::backend::x11 {

namespace {

// The EWMH source indication of a pager: the window manager then honours the
// request even though our program is not the one the user is working in.
constexpr long kSourcePager = 2;

// How deep under a top-level to look for the client window. Reparenting window
// managers put it one or two levels down.
constexpr int kClientSearchDepth = 4;

// How long one activation request may take the window manager. Callers ask
// again when it has not happened by then (the send pipeline does, a bounded
// number of times), so this only spares them asking in a tight loop while the
// window manager is merely slow.
constexpr auto kActivationWait = std::chrono::milliseconds(25);
constexpr auto kActivationPoll = std::chrono::microseconds(500);

struct Children {
    Window parent = None;
    std::vector<Window> windows; // bottom first
};

std::optional<Children> queryTree(Display* display, Window window) {
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return std::nullopt;
    Children out{parent, std::vector<Window>(children, children + count)};
    if (children) XFree(children);
    return out;
}

} // namespace

X11WindowManager::X11WindowManager(_XDisplay* display)
    : display_(display), root_(DefaultRootWindow(display)), properties_(display) {}

bool X11WindowManager::windowManagerRunning() const {
    const auto check = properties_.atom("_NET_SUPPORTING_WM_CHECK");
    const auto announced = properties_.readList(root_, check, XA_WINDOW);
    if (!announced || announced->empty() || announced->front() == None) return false;
    // A window manager that has gone leaves its announcement behind; the check
    // window it pointed to is then gone or no longer points to itself.
    const auto confirmed = properties_.readList(announced->front(), check, XA_WINDOW);
    return confirmed && !confirmed->empty() && confirmed->front() == announced->front();
}

std::optional<std::vector<unsigned long>> X11WindowManager::managedClientsTopmostFirst() const {
    // The stacking list runs bottom to top. A manager without it still has the
    // plain client list, whose order is the order of mapping.
    auto clients =
        properties_.readList(root_, properties_.atom("_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    if (!clients) {
        clients = properties_.readList(root_, properties_.atom("_NET_CLIENT_LIST"), XA_WINDOW);
        if (!clients) return std::nullopt;
    }
    std::reverse(clients->begin(), clients->end());
    return clients;
}

std::vector<services::TopLevelWindow> X11WindowManager::topLevelWindows() {
    IgnoredXErrors ignore(display_);
    if (windowManagerRunning()) {
        if (const auto clients = managedClientsTopmostFirst()) {
            std::vector<services::TopLevelWindow> out;
            for (const auto client : *clients)
                out.push_back(
                    {static_cast<services::WindowHandle>(client), properties_.title(client), true});
            return out;
        }
    }
    return unmanagedTopLevels();
}

std::vector<services::TopLevelWindow> X11WindowManager::unmanagedTopLevels() const {
    std::vector<services::TopLevelWindow> out;
    const auto tree = queryTree(display_, root_);
    if (!tree) return out;
    for (auto it = tree->windows.rbegin(); it != tree->windows.rend(); ++it) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, *it, &attributes)) continue;
        if (attributes.map_state != IsViewable || attributes.c_class != InputOutput ||
            attributes.override_redirect)
            continue;
        out.push_back({static_cast<services::WindowHandle>(*it),
                       properties_.title(clientWindowOf(*it)), true});
    }
    return out;
}

unsigned long X11WindowManager::clientWindowOf(unsigned long topLevel) const {
    const auto wmState = properties_.atom("WM_STATE");
    // Breadth first, so the client nearest the top wins over nested windows
    // that happen to carry the mark too.
    std::deque<std::pair<Window, int>> queue{{topLevel, 0}};
    while (!queue.empty()) {
        const auto [window, depth] = queue.front();
        queue.pop_front();
        if (properties_.readList(window, wmState, wmState)) return window;
        if (depth == kClientSearchDepth) continue;
        if (const auto tree = queryTree(display_, window))
            for (const auto child : tree->windows)
                queue.push_back({child, depth + 1});
    }
    return topLevel;
}

unsigned long X11WindowManager::topLevelOf(unsigned long window) const {
    while (window != None && window != root_) {
        const auto tree = queryTree(display_, window);
        if (!tree) return None;
        if (tree->parent == root_) return window;
        window = tree->parent;
    }
    return None;
}

void X11WindowManager::bringToFront(services::WindowHandle handle, services::FrontAllowance&) {
    const auto window = static_cast<Window>(handle);
    IgnoredXErrors ignore(display_);
    if (windowManagerRunning()) {
        // A window that has gone cannot come to the front: no point waiting.
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) return;
        if (foregroundWindow() == handle) return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = properties_.atom("_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = kSourcePager;
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = None;
        XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XFlush(display_);
        // The window manager carries the request out in its own time; on Windows
        // the same call returns with the window in front. Give it a moment.
        const auto deadline = std::chrono::steady_clock::now() + kActivationWait;
        while (foregroundWindow() != handle && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(kActivationPoll);
        return;
    }
    // Nobody manages the stacking or the focus: do both ourselves.
    XRaiseWindow(display_, window);
    XSetInputFocus(display_, clientWindowOf(window), RevertToParent, CurrentTime);
}

services::WindowHandle X11WindowManager::foregroundWindow() {
    IgnoredXErrors ignore(display_);
    if (windowManagerRunning()) {
        const auto active =
            properties_.readList(root_, properties_.atom("_NET_ACTIVE_WINDOW"), XA_WINDOW);
        if (!active || active->empty() || active->front() == None) return 0;
        // The property trails the focus: right after a click on another window it
        // still names the one keys would no longer reach.
        if (!focusIsWithin(display_, active->front())) return 0;
        return static_cast<services::WindowHandle>(active->front());
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    if (focus == None || focus == PointerRoot) return 0;
    return static_cast<services::WindowHandle>(topLevelOf(focus));
}

} // namespace tavren::backend::x11
