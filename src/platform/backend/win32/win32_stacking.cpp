#include "win32_stacking.h"

#include "handles.h"

namespace tavren::backend::win32 {

void Win32Stacking::setKeepAbove(const controls::Form& form, bool above) {
    const HWND window = toHwnd(handleOf_(form));
    if (window == nullptr) return;
    ::SetWindowPos(window, above ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE);
}

} // namespace tavren::backend::win32
