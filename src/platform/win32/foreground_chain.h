#pragma once

#include "platform/services/window_manager.h"

#include <cstdint>

namespace tavren::win32 {

// The calls that bringing a window to the front is made of, so the fallbacks can
// be exercised where the real system never refuses (Wine's foreground lock lets
// every call through).
class ForegroundCalls {
public:
    virtual ~ForegroundCalls() = default;
    virtual services::WindowHandle foreground() = 0;
    // True when the system accepted the request.
    virtual bool setForeground(services::WindowHandle window) = 0;
    virtual bool isMinimised(services::WindowHandle window) = 0;
    virtual void restore(services::WindowHandle window) = 0;
    // The thread that owns a window (0 for none), and our own thread.
    virtual std::uint32_t threadOf(services::WindowHandle window) = 0;
    virtual std::uint32_t currentThread() = 0;
    // Joins or leaves another thread's input state.
    virtual bool attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) = 0;
    // Presses and releases Alt: the system lets the program that saw the last
    // input take the foreground.
    virtual void tapAlt() = 0;
};

enum class FrontResult { AlreadyInFront, Plain, AttachedInput, AfterAltTap, Refused };

// Asks for `window` to become the foreground window, checking after each step:
// a plain request first (accepted when we are in front, e.g. after a click on
// one of our buttons); when that is refused (a keypad hot key pressed while a
// game has the focus), the same request while attached to the foreground
// thread's input; and last, after an Alt tap. A minimised window is restored
// first, even when it is the foreground window already. Attachments are always undone.
FrontResult bringToFront(ForegroundCalls& calls, services::WindowHandle window);

} // namespace tavren::win32
