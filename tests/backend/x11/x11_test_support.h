#pragma once

#include "desktop_helpers.h"
#include "platform/backend/x11/x11_window_manager.h"

// gtest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tavren::backend::x11::testing {

// A connection to an X server, a window manager service on it, and the
// questions the tests ask about the result.
class DesktopTest : public ::testing::Test {
protected:
    void connect(const std::string& name) {
        display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
        ASSERT_NE(display, nullptr) << "needs an X display: run under scripts/with-desktop.sh";
        manager.emplace(display);
    }
    // The test desktop, once its window manager has announced itself (on a busy
    // machine it may still be starting).
    void connectToManagedDesktop() {
        ASSERT_NO_FATAL_FAILURE(connect({}));
        ASSERT_TRUE(waitFor([&] {
            return !readList(DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW)
                        .empty();
        })) << "needs a window manager: run under scripts/with-desktop.sh";
    }
    void TearDown() override {
        manager.reset();
        if (display) XCloseDisplay(display);
    }

    std::vector<services::TopLevelWindow> list() { return manager->topLevelWindows(); }
    int position(unsigned long id) {
        const auto windows = list();
        const auto it = std::find_if(windows.begin(), windows.end(),
                                     [&](const auto& w) { return w.handle == long(id); });
        return it == windows.end() ? -1 : static_cast<int>(it - windows.begin());
    }
    std::optional<std::string> titleOf(unsigned long id) {
        for (const auto& w : list())
            if (w.handle == long(id)) return w.title;
        return std::nullopt;
    }
    bool listed(unsigned long id) { return position(id) >= 0; }
    bool waitListed(unsigned long id) {
        return waitFor([&] { return listed(id); });
    }
    // Listed, and mapped by the window manager (which then is done with it).
    bool waitShown(unsigned long id) {
        return waitListed(id) && waitFor([&] { return wmState(id) == NormalState; });
    }
    // Whether the window manager stacks `upper` above `lower`, from its own list.
    bool stackedAbove(unsigned long upper, unsigned long lower) {
        const auto order = readList(DefaultRootWindow(display), "_NET_CLIENT_LIST_STACKING",
                                    XA_WINDOW); // bottom first
        const auto u = std::find(order.begin(), order.end(), upper);
        const auto l = std::find(order.begin(), order.end(), lower);
        return u != order.end() && l != order.end() && u > l;
    }
    // Asks again at every look, as the send pipeline does: a window manager may
    // pass over a request for a window it is still busy mapping.
    bool activate(unsigned long id) {
        return waitFor([&] {
            manager->bringToFront(static_cast<services::WindowHandle>(id));
            return manager->foregroundWindow() == long(id);
        });
    }

    Atom atom(const char* name) { return XInternAtom(display, name, False); }
    std::vector<unsigned long> readList(Window w, const char* property, Atom type) {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> out;
        if (XGetWindowProperty(display, w, atom(property), 0, 1024, False, type, &actual, &format,
                               &count, &remaining, &data) == Success &&
            data && format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            out.assign(items, items + count);
        }
        if (data) XFree(data);
        return out;
    }
    long wmState(Window w) {
        const auto state = readList(w, "WM_STATE", atom("WM_STATE"));
        return state.empty() ? -1 : static_cast<long>(state.front());
    }

    Display* display = nullptr;
    std::optional<X11WindowManager> manager;
};

} // namespace tavren::backend::x11::testing
