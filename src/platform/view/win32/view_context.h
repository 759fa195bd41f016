#pragma once

#include "form_font.h"
#include "twips_scale.h"

#include "platform/controls/control.h"

#include <unordered_map>

#include <windows.h>

namespace tavren::view::win32 {

// Which window shows which control. Menu items and timers have no window of their
// own: they map to their form's.
class WindowRegistry {
public:
    void add(const controls::Control& control, HWND window) {
        windows_[&control] = window;
        created_.try_emplace(&control, static_cast<int>(created_.size()));
    }
    void remove(const controls::Control& control) {
        windows_.erase(&control);
        created_.erase(&control);
    }
    HWND find(const controls::Control& control) const {
        const auto it = windows_.find(&control);
        return it == windows_.end() ? nullptr : it->second;
    }

    // Stacks the windows of a container's children as stackingOrder() says.
    void restackChildren(const controls::Control& container, const TwipsScale& scale) const;

private:
    std::unordered_map<const controls::Control*, HWND> windows_;
    // The order in which the windows were made: the design's.
    std::unordered_map<const controls::Control*, int> created_;
};

// What every window of the view draws and measures with. The font and the
// registry belong to the view and outlive its windows.
struct ViewContext {
    TwipsScale scale;
    const FormFont* font = nullptr;
    WindowRegistry* registry = nullptr;
};

// A colour of the controls as GDI takes it: the system's for a system colour.
COLORREF colourRef(unsigned colour);

} // namespace tavren::view::win32
