#pragma once

#include "platform/backend/x11/keymap_override.h"
#include "platform/backend/x11/x11_connection.h"

#include <X11/Xlib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace tavren::backend::x11 {

// Spare keycodes bound to characters that are not on the keyboard map, kept
// bound for as long as some window may still read keys typed with them, and
// a little longer for later orders to reuse.
//
// A client looks a keycode up in the map it holds when it reads the key, not
// when the key was typed, and it re-reads the map as soon as it learns of a
// change, even one queued after keys it has not read yet. So a binding may
// change only once the window has provably read every key typed with it (it
// answered its pings), or after an idle time long enough for a window that was
// merely late (stopped, swapping, busy) to catch up. Every change of the map
// also makes each client (the window manager first) re-read it, so bindings
// linger for the idle time after the last order whatever happened: an order
// typed meanwhile with the same characters changes nothing.
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

    // While an order is being typed the idle restore does not run, and what
    // bound() tells stays true.
    void beginOrder();

    // The keycodes bound now and their characters.
    std::map<KeyCode, BoundLevels> bound();

    // Whether keys typed by an earlier order may still be unread: its window
    // did not answer, and the idle time since has not passed.
    bool earlierKeysMayBeUnread();

    // Binds each keysym to its keycode and level, in one request, applied by
    // the server before anything sent afterwards. Keycodes not named keep
    // their bindings. `fourLevelType`: as KeymapOverride::bind's.
    bool bind(const std::vector<SlotBinding>& bindings, int fourLevelType = -1);

    // Blocks until every binding may change: at once when the window read all
    // keys of this order so far (`readSoFar`) and no earlier order's keys are
    // unaccounted for, else once the idle time has passed.
    void waitUntilRebindable(bool readSoFar);

    // Ends the order: the bindings linger for the idle time, after which they
    // are restored in the background unless another order has begun.
    void endOrder(bool read);
    // Likewise, keys not known to be read taken for unread `unreadFor` (at
    // least the idle time): a reader known to be slower than a window merely
    // late.
    void endOrder(bool read, std::chrono::milliseconds unreadFor);

    std::chrono::milliseconds idleTime() const { return idleTime_; }

private:
    void restoreWhenIdle();

    DisplayPtr display_;
    std::chrono::milliseconds idleTime_;
    std::mutex mutex_;
    std::condition_variable changed_;
    KeymapOverride override_;
    Clock::time_point unreadUntil_{};
    Clock::time_point lingerUntil_{};
    bool typing_ = false;
    bool ending_ = false;
    std::thread restorer_;
};

} // namespace tavren::backend::x11
