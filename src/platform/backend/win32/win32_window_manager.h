#pragma once

#include "foreground_chain.h"
#include "platform/services/window_manager.h"

#include <windows.h>

namespace tavren::backend::win32 {

// Whether the desktop window manager keeps a window out of sight though
// IsWindowVisible says it is shown: a suspended store app, a window on another
// virtual desktop (DWMWA_CLOAKED).
bool isCloaked(HWND window);

// The desktop's top-level windows in z-order (the desktop window's children,
// topmost first), their titles through the wide API as UTF-8, and the
// foreground window. Titles are returned whole; the lists cut them by UTF-8
// bytes, as on every platform. A cloaked window counts as not visible, so the
// lists leave it out as they leave out hidden ones.
class Win32WindowManager : public services::WindowManager {
public:
    using CloakCheck = bool (*)(HWND);
    explicit Win32WindowManager(ForegroundCalls& calls, CloakCheck cloaked = isCloaked)
        : calls_(calls), cloaked_(cloaked) {}

    std::vector<services::TopLevelWindow> topLevelWindows() override;
    // Waits briefly for a request the system accepted; pushes past a refusal
    // once per press (see the foreground chain).
    using services::WindowManager::bringToFront;
    void bringToFront(services::WindowHandle window, services::FrontAllowance& press) override;
    services::WindowHandle foregroundWindow() override;

private:
    ForegroundCalls& calls_;
    CloakCheck cloaked_;
};

} // namespace tavren::backend::win32
