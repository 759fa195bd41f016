#pragma once

#include "platform/services/event_loop.h"

#include <functional>

#include <windows.h>

namespace tavren::program {

// Runs the program's own shut-down (`end`: what closing the main window does)
// when Windows ends the session: log-off, shut-down, restart, or the Restart
// Manager closing the program for an update. The end is never refused.
// Windows ends the process soon after the last of its windows has answered
// WM_ENDSESSION, so the shut-down runs inside that message, as a close by the
// user would run inside the event loop, rather than later from the loop.
//
// Made once start-up is over: until then the settings file holds what start-up
// loads, and a session ending in the middle of it leaves the file as it is.
// Nothing is done once the program is ending anyway.
class SessionEnd {
public:
    SessionEnd(const services::EventLoop& loop, std::function<void()> end);
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const services::EventLoop& loop_;
    std::function<void()> end_;
    // A hidden top-level window of its own: Windows asks every top-level
    // window, hidden ones included, but no message-only window. The forms'
    // own windows are the view's, and the nick window must not take the
    // session's end for its close box.
    HWND window_ = nullptr;
};

} // namespace tavren::program
