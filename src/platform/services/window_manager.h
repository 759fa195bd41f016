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

// What one press may still do to get a window to the front beyond asking. A
// window manager that can refuse a request (Windows' foreground lock) pushes past
// a refusal at most once per allowance. The caller keeps one allowance for a
// whole press, both of its front waits, however many requests they make; a
// press that runs nested inside another's wait has its own.
struct FrontAllowance {
    bool spent = false;
};

// The desktop's window manager: which windows exist and which one has the focus.
class WindowManager {
public:
    virtual ~WindowManager() = default;
    // Every top-level window in stacking order, topmost first.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    // Asks for the window to become the foreground window, as one of the
    // requests of the press that holds `press`. May wait briefly for that to
    // happen; callers check foregroundWindow() rather than assume it.
    virtual void bringToFront(WindowHandle window, FrontAllowance& press) = 0;
    // A request that is all its press makes.
    void bringToFront(WindowHandle window) {
        FrontAllowance alone;
        bringToFront(window, alone);
    }
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
