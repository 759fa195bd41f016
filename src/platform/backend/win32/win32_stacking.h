#pragma once

#include "platform/services/window_manager.h"

#include <functional>

namespace tavren::backend::win32 {

// Joins our own window to the topmost windows or takes it out, without moving
// or resizing it.
class Win32Stacking : public services::WindowStacking {
public:
    using HandleOf = std::function<services::WindowHandle(const controls::Form&)>;
    explicit Win32Stacking(HandleOf handleOf) : handleOf_(std::move(handleOf)) {}

    void setKeepAbove(const controls::Form& form, bool above) override;

private:
    HandleOf handleOf_;
};

} // namespace tavren::backend::win32
