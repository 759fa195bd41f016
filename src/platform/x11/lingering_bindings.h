#pragma once

#include "platform/x11/keymap_override.h"
#include "platform/x11/x11_connection.h"

#include <X11/Xlib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tavren::x11 {

// Spare keycodes bound to characters that are not on the keyboard map, kept
// bound for as long as some window may still read keys typed with them.
//
// A client looks a keycode up in the map it holds when it reads the key, not
// when the key was typed, and it re-reads the map as soon as it learns of a
// change, even one queued after keys it has not read yet. So a binding may
// change only once the window has provably read every key typed with it (it
// answered its pings), or after an idle time long enough for a window that was
// merely late (stopped, swapping, busy) to catch up. Until then bindings linger,
// and a later order reuses them instead of changing the map again.
//
// Owns a connection of its own that nothing else touches, used under a lock by
// the caller's thread and by the thread that puts the map back once the idle
// time has passed. Only spare keycodes change, so no request on it can fail on
// a window of another program (the process-wide error handler is left alone).
class LingeringBindings {
public:
    using Clock = std::chrono::steady_clock;

    // nullptr: $DISPLAY. Throws std::runtime_error when the server cannot be reached.
    LingeringBindings(const char* displayName, std::chrono::milliseconds idleTime);
    // Puts the map back at once: nothing can wait any longer.
    ~LingeringBindings();
    LingeringBindings(const LingeringBindings&) = delete;
    LingeringBindings& operator=(const LingeringBindings&) = delete;

    // While an order is being typed the idle restore does not run.
    void beginOrder();

    // Binds each keysym to its keycode (spare keycodes, free now), in one
    // request, applied by the server before anything sent afterwards.
    bool bind(const std::vector<std::pair<KeyCode, KeySym>>& bindings);

    // Whether any keycode is bound now.
    bool active();

    // Makes every keycode free again once that is safe: at once when the
    // window read all keys typed since the last restore (`read`) and no earlier
    // order's keys are still unaccounted for, else after the idle time (this
    // call then blocks until then). For an order that needs more characters
    // than there are spare keycodes.
    void restoreWhenSafe(bool read);

    // Ends the order: restores at once when `read` allows it, otherwise leaves
    // the bindings in place for the idle time, after which they are restored
    // in the background unless another order has begun.
    void endOrder(bool read);

    std::chrono::milliseconds idleTime() const { return idleTime_; }

private:
    void restoreLocked();
    void restoreWhenIdle();

    DisplayPtr display_;
    std::chrono::milliseconds idleTime_;
    std::mutex mutex_;
    std::condition_variable changed_;
    KeymapOverride override_;
    Clock::time_point keepUntil_{};
    bool typing_ = false;
    bool ending_ = false;
    std::thread restorer_;
};

} // namespace tavren::x11
