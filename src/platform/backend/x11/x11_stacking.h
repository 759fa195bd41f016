#pragma once

#include "platform/services/window_manager.h"
#include "window_properties.h"

#include <functional>

struct _XDisplay;

namespace tavren::backend::x11 {

// Keeps one of our own windows above the others by asking the window manager
// for the "above" state. The window is never re-created, moved or resized, so
// the user's placement and the handle other programs hold stay valid.
class X11Stacking : public services::WindowStacking {
public:
    // The X window showing a form, 0 when it has none (yet).
    using WindowResolver = std::function<unsigned long(const controls::Form&)>;

    // The display stays open, and owned by the caller, for the object's lifetime.
    X11Stacking(_XDisplay* display, WindowResolver resolver);

    void setKeepAbove(const controls::Form& form, bool above) override;

private:
    bool isWithdrawn(unsigned long window) const;

    _XDisplay* display_;
    WindowResolver resolver_;
    WindowProperties properties_;
};

} // namespace tavren::backend::x11
