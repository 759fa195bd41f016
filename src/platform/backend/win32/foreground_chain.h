#pragma once

#include "platform/services/window_manager.h"

#include <chrono>
#include <cstdint>

namespace tavren::backend::win32 {

// The calls that bringing a window to the front is made of, so that what the
// chain does when the system refuses, or is slow, can be exercised where the
// real system never refuses (Wine's foreground lock lets every call through).
class ForegroundCalls {
public:
    virtual ~ForegroundCalls() = default;
    virtual services::WindowHandle foreground() = 0;
    // True when the system accepted the request. The window becomes the
    // foreground window only once its thread has taken the activation, which
    // may be a moment later.
    virtual bool setForeground(services::WindowHandle window) = 0;
    // False once the window has been destroyed.
    virtual bool exists(services::WindowHandle window) = 0;
    virtual bool isMinimised(services::WindowHandle window) = 0;
    virtual void restore(services::WindowHandle window) = 0;
    // True when the window's thread has stopped reading its messages: the
    // system says so, or it does not answer a message within a short time.
    virtual bool isHung(services::WindowHandle window) = 0;
    // The thread that owns a window (0 for none), and our own thread.
    virtual std::uint32_t threadOf(services::WindowHandle window) = 0;
    virtual std::uint32_t currentThread() = 0;
    // Joins or leaves another thread's input state.
    virtual bool attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) = 0;
    // Injects an input event that reaches no window (a mouse input that
    // neither moves nor clicks): the system then counts this program as the one
    // that received the last input, and lets it take the foreground.
    virtual void sendEmptyInput() = 0;
    // Lets a moment pass (about a millisecond), answering what other threads
    // send this one meanwhile. How long it took.
    virtual std::chrono::microseconds pause() = 0;
};

// Asks for `window` to become the foreground window, as one request of the
// press that holds `press`, and returns once it is in front or after a short
// wait when it is not (yet).
//
// A request the system accepted is an activation under way: it is waited for
// and never pushed. Only a refusal (a keypad hot key pressed while a game has
// the focus) is pushed past, once per press: with input that reaches no window,
// then, if the foreground window's thread still reads its messages, attached
// to that thread's input for one more request. A window that no longer exists
// is not asked for at all. A minimised window is restored first, even when it
// is the foreground window already. Attachments are always undone.
void bringToFront(ForegroundCalls& calls, services::WindowHandle window,
                  services::FrontAllowance& press);

} // namespace tavren::backend::win32
