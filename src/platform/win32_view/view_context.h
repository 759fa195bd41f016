#pragma once

#include "system_font.h"
#include "twips_scale.h"

#include "platform/controls/control.h"

#include <unordered_map>

#include <windows.h>

namespace tavren::win32 {

// Which window shows which control. Menu items and timers have no window of their
// own: they map to their form's.
class WindowRegistry {
public:
    void add(const controls::Control& control, HWND window) { windows_[&control] = window; }
    void remove(const controls::Control& control) { windows_.erase(&control); }
    HWND find(const controls::Control& control) const {
        const auto it = windows_.find(&control);
        return it == windows_.end() ? nullptr : it->second;
    }

    // Stacks the windows of a container's children as the children are ordered,
    // bottom first.
    void restackChildren(const controls::Control& container) const {
        for (const controls::Control* child : container.children()) {
            if (HWND window = find(*child); window && ::GetParent(window))
                ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }

private:
    std::unordered_map<const controls::Control*, HWND> windows_;
};

// What every window of the view draws and measures with. The font and the
// registry belong to the view and outlive its windows.
struct ViewContext {
    TwipsScale scale;
    const SystemFont* font = nullptr;
    WindowRegistry* registry = nullptr;
};

// A colour of the controls as GDI takes it: the system's for a system colour.
COLORREF colourRef(unsigned colour);

} // namespace tavren::win32
