#pragma once

#include "key_sequence.h"
#include "window_manager.h"

#include <cstdint>

namespace tavren::services {

enum class TypeResult {
    Typed,       // every key was typed and the window has processed them
    Interrupted, // the foreground window changed: the rest was dropped
    Failed,      // nothing (or, from a key the user held too long, nothing more) could be typed
};

// Synthesised keystrokes.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Types the keys into the foreground window, which must be `target`, and returns
    // once that window has processed them. Stops at the first moment the foreground
    // is another window, so keys never land anywhere else.
    virtual TypeResult type(WindowHandle target, const KeySequence& keys) = 0;
};

// Keypad digit keys, by the digit.
enum class KeypadDigit : std::uint8_t { D0, D1, D2, D3, D4, D5, D6, D7, D8, D9 };

struct KeyState {
    bool downNow = false;
    bool pressedSinceLastQuery = false;
    bool any() const { return downNow || pressedSinceLastQuery; }
};

// The global state of keys, whichever program has the focus. Keys that this
// program synthesises itself never count.
class KeyMonitor {
public:
    virtual ~KeyMonitor() = default;
    // Reports the key and forgets that it was pressed, so the next query reports
    // only presses made after this one.
    virtual KeyState query(KeypadDigit key) = 0;
    // Keyboard monitoring was switched off. A key whose release the monitor may
    // have missed meanwhile must not count as held when it is switched on again.
    virtual void monitoringStopped() = 0;
};

} // namespace tavren::services
