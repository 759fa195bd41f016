#pragma once

#include "platform/services/window_manager.h"
#include "window_properties.h"

#include <optional>
#include <vector>

struct _XDisplay;

namespace tavren::backend::x11 {

// The desktop's top-level windows, their activation and the focus, through the
// window manager's EWMH interface. Without a window manager (none announced, or
// the announcement left behind by one that has gone) it works on the root's
// children directly: raising and focusing them itself.
//
// Handles are client windows while a window manager runs and top-level windows
// of the root without one; each mode compares only with its own kind.
class X11WindowManager : public services::WindowManager {
public:
    // The display stays open, and owned by the caller, for the manager's lifetime.
    explicit X11WindowManager(_XDisplay* display);

    // Topmost first. Every managed client counts as visible, minimised ones too:
    // activating one restores it.
    std::vector<services::TopLevelWindow> topLevelWindows() override;
    // Returns once the window manager has brought the window to the front, or
    // after a short wait when it has not (yet). It honours every request it
    // gets as a pager's: there is never a refusal to push past.
    using services::WindowManager::bringToFront;
    void bringToFront(services::WindowHandle window, services::FrontAllowance& press) override;
    // The active window while it has the input focus, else 0.
    services::WindowHandle foregroundWindow() override;

private:
    bool windowManagerRunning() const;
    std::optional<std::vector<unsigned long>> managedClientsTopmostFirst() const;
    std::vector<services::TopLevelWindow> unmanagedTopLevels() const;
    // The window inside a top-level that carries its title (marked by WM_STATE),
    // or the top-level itself.
    unsigned long clientWindowOf(unsigned long topLevel) const;
    // The root's child that contains the window, or 0.
    unsigned long topLevelOf(unsigned long window) const;

    _XDisplay* display_;
    unsigned long root_;
    WindowProperties properties_;
};

} // namespace tavren::backend::x11
