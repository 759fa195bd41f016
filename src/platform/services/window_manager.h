#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavren::controls {
class Form;
}

namespace tavren::services {

// A native top-level window id (an X window id, an HWND). 0 = none.
using WindowHandle = std::int64_t;

struct TopLevelWindow {
    WindowHandle handle = 0;
    std::string title; // UTF-8, whole (callers cut it as they need)
    bool visible = true;
};

// The desktop's window manager: which windows exist and which one has the focus.
class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Every top-level window in stacking order, topmost first.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    // Asks for the window to become the foreground window. May wait briefly for
    // that to happen; callers check foregroundWindow() rather than assume it.
    virtual void bringToFront(WindowHandle window) = 0;
    // The window that has the keyboard focus now, 0 if none.
    virtual WindowHandle foregroundWindow() = 0;
};

// Keeping one of our own windows above all others, without moving or resizing it.
class WindowStacking {
public:
    virtual ~WindowStacking() = default;
    virtual void setKeepAbove(const controls::Form& form, bool above) = 0;
};

} // namespace tavren::services
