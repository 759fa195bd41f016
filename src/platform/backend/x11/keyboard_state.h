#pragma once

#include "platform/backend/x11/keyboard_map.h"
#include "platform/backend/x11/keymap_override.h"
#include "platform/backend/x11/xtest_keyboard_state.h"

#include <X11/Xlib.h>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace tavren::backend::x11 {

// One bit per keycode, as XQueryKeymap gives them.
using KeyBits = std::array<char, 32>;

inline bool isDown(const KeyBits& keys, KeyCode keycode) {
    return keys[keycode / 8] & (1 << (keycode % 8));
}

// The keyboard as an order finds it, read before anything is sent: all that a
// typing plan is made from besides the order and the input method's keys.
struct KeyboardState {
    // The keyboard map's answers.
    KeyPlaces places;
    std::map<unsigned, KeyCode> modifierKeys; // a key per real modifier, where the map has one
    std::optional<LevelThree> levelThree;
    std::vector<KeyCode> spareKeycodes;
    unsigned numLockMask = 0;
    std::array<unsigned char, 256> modifierMap{}; // each keycode's real modifiers

    // Spare keycodes bound for earlier orders, and whether keys typed with
    // them may still be unread.
    std::map<KeyCode, BoundLevels> bound;
    bool earlierKeysMayBeUnread = false;

    // Keys down on the core keyboard, whichever device holds them, and on the
    // XTest device alone (asked only while some modifier key is down; nothing
    // when the server cannot tell).
    KeyBits down{};
    std::optional<KeyBits> synthesisedDown;
    // The core keyboard's real modifiers.
    unsigned baseModifiers = 0;
    unsigned latchedModifiers = 0;
    unsigned lockedModifiers = 0;
};

// Reads the keyboard map and the keys and modifiers down now. Nothing when the
// server does not answer. Leaves `bound` and `earlierKeysMayBeUnread` to the
// caller, who keeps the bindings.
std::optional<KeyboardState> readKeyboardState(Display* display, XTestKeyboardState& xtest);

} // namespace tavren::backend::x11
