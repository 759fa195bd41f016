#include "form_frame.h"

namespace tavren::view::win32 {
namespace {

using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using DpiOfWindow = UINT(WINAPI*)(HWND);

// Windows 10 (1607) and later; looked up at run time, as Windows 8.1 has neither.
template <typename Function> Function fromUser32(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

} // namespace

SIZE clientPixels(const controls::Rect& outer, const TwipsScale& scale) {
    return SIZE{controls::FormFrame::clientWidth(outer, scale),
                controls::FormFrame::clientHeight(outer, scale)};
}

SIZE windowSizeAround(HWND window, SIZE client) {
    static const auto adjustForDpi = fromUser32<AdjustForDpi>("AdjustWindowRectExForDpi");
    static const auto dpiOfWindow = fromUser32<DpiOfWindow>("GetDpiForWindow");
    RECT r{0, 0, client.cx, client.cy};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    const BOOL menu = ::GetMenu(window) != nullptr;
    // A per-monitor aware window's frame is drawn at its monitor's DPI, which
    // the system metrics AdjustWindowRectEx reads need not be.
    const UINT dpi = dpiOfWindow ? dpiOfWindow(window) : 0;
    if (!adjustForDpi || dpi == 0 || !adjustForDpi(&r, style, menu, exStyle, dpi))
        ::AdjustWindowRectEx(&r, style, menu, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

} // namespace tavren::view::win32
