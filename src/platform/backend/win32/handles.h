#pragma once

#include "platform/services/window_manager.h"

#include <windows.h>

namespace tavren::backend::win32 {

// Window handles travel through the behaviour as plain integers.
inline HWND toHwnd(services::WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(handle));
}
inline services::WindowHandle fromHwnd(HWND window) {
    return static_cast<services::WindowHandle>(reinterpret_cast<INT_PTR>(window));
}

} // namespace tavren::backend::win32
