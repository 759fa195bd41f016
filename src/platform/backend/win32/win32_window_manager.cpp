#include "win32_window_manager.h"

#include "handles.h"
#include "wide_text.h"

#include <dwmapi.h>

namespace tavren::backend::win32 {

namespace {

std::string titleOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, title.data(), length + 1);
    title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return wideToUtf8(title);
}

} // namespace

bool isCloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
           cloaked != 0;
}

std::vector<services::TopLevelWindow> Win32WindowManager::topLevelWindows() {
    std::vector<services::TopLevelWindow> windows;
    // A window closed during the walk ends it early (GetWindow answers 0), as
    // the walk of any moment may.
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h != nullptr;
         h = ::GetWindow(h, GW_HWNDNEXT)) {
        windows.push_back({fromHwnd(h), titleOf(h), ::IsWindowVisible(h) != FALSE && !cloaked_(h)});
    }
    return windows;
}

void Win32WindowManager::bringToFront(services::WindowHandle window,
                                      services::FrontAllowance& press) {
    backend::win32::bringToFront(calls_, window, press);
}

services::WindowHandle Win32WindowManager::foregroundWindow() {
    return calls_.foreground();
}

} // namespace tavren::backend::win32
