#include "x11_window_manager.h"

#include "ignored_x_errors.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <deque>

namespace tavren::x11 {

namespace {

// The EWMH source indication of a pager: the window manager then honours the
// request even though our program is not the one the user is working in.
constexpr long kSourcePager = 2;

// How deep under a top-level to look for the client window. Reparenting window
// managers put it one or two levels down.
constexpr int kClientSearchDepth = 4;

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

void X11WindowManager::bringToFront(services::WindowHandle handle) {
    const auto window = static_cast<Window>(handle);
    IgnoredXErrors ignore(display_);
    if (windowManagerRunning()) {
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
        if (!active || active->empty()) return 0;
        return static_cast<services::WindowHandle>(active->front());
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    if (focus == None || focus == PointerRoot) return 0;
    return static_cast<services::WindowHandle>(topLevelOf(focus));
}

} // namespace tavren::x11
