#pragma once

#include "foreground_chain.h"
#include "platform/services/window_manager.h"

namespace tavren::win32 {

// The desktop's top-level windows in z-order (the desktop window's children,
// topmost first), their titles through the wide API as UTF-8, and the
// foreground window. Titles are returned whole; the lists cut them by UTF-8
// bytes, as on every platform.
class Win32WindowManager : public services::WindowManager {
public:
    explicit Win32WindowManager(ForegroundCalls& calls) : calls_(calls) {}

    std::vector<services::TopLevelWindow> topLevelWindows() override;
    // Waits briefly for a request the system accepted; pushes past a refusal
    // once per press (see the foreground chain).
    using services::WindowManager::bringToFront;
    void bringToFront(services::WindowHandle window, services::FrontAllowance& press) override;
    services::WindowHandle foregroundWindow() override;

private:
    ForegroundCalls& calls_;
};

} // namespace tavren::win32
