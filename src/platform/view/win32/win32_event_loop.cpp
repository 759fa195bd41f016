#include "win32_event_loop.h"

namespace tavren::view::win32 {

void Win32EventLoop::dispatch(MSG& msg) const {
    if (filter_ && filter_(msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void Win32EventLoop::processPendingEvents() {
    MSG msg;
    while (!quitSeen_ && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The quit message taken here still has to end exec().
        if (msg.message == WM_QUIT) {
            quitSeen_ = true;
            return;
        }
        dispatch(msg);
    }
}

void Win32EventLoop::quit() {
    ending_ = true;
    ::PostQuitMessage(0);
}

int Win32EventLoop::exec() {
    MSG msg;
    while (!quitSeen_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        dispatch(msg);
    }
    return 0;
}

} // namespace tavren::view::win32
