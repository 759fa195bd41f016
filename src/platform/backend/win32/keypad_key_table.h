#pragma once

#include "platform/services/keyboard.h"

#include <array>
#include <cstdint>

namespace tavren::backend::win32 {

// One keyboard event as Raw Input reports it, reduced to what the keypad table needs.
struct RawKeyEvent {
    std::uint16_t makeCode = 0; // the scan code
    bool extended = false;      // RI_KEY_E0: the grey arrow and editing keys share keypad codes
    bool released = false;      // RI_KEY_BREAK
    std::uintptr_t extraInformation = 0;
    // The virtual key the system gave it: tells Num Lock from Pause, which
    // shares its scan code, and a keypad digit from its arrow or editing key.
    std::uint16_t virtualKey = 0;
};

// The state of the keypad digit keys, kept from raw key events: held now, and
// pressed since the last query. Kept by scan code, so a keypad key is the same
// key whether Num Lock makes it a digit or an arrow.
//
// Num Lock is kept from the events too: each press of it (not its repeats while
// held) switches it, whoever sent it, Tavren included, since any press switches
// the system's; a keypad key that comes as its digit's virtual key shows it on.
// With Num Lock off every query answers "not pressed" and forgets the presses
// seen meanwhile. Keypad keys that carry Tavren's own marker never count.
class KeypadKeyTable {
public:
    // `numLockOn`: the toggle when the events start.
    explicit KeypadKeyTable(bool numLockOn) : numLockOn_(numLockOn) {}

    void onKey(const RawKeyEvent& event);
    // `downForTheSystem`: whether the system's own key state has the key down
    // now. A key held here that the system has up was let go unseen: it is
    // forgotten rather than held for ever.
    services::KeyState query(services::KeypadDigit key, bool downForTheSystem);
    bool held(services::KeypadDigit key) const { return held_[static_cast<std::size_t>(key)]; }
    // Every key held is forgotten; a key still down is held again at its next
    // press or repeat.
    void forgetHeldKeys() { held_ = {}; }
    bool numLockOn() const { return numLockOn_; }

private:
    std::array<bool, 10> held_{};
    std::array<bool, 10> pressedSinceQuery_{};
    bool numLockOn_;
    bool numLockDown_ = false;
};

// The digit of a keypad key's scan code (not extended), or -1.
int keypadDigitOfScanCode(std::uint16_t makeCode, bool extended);

} // namespace tavren::backend::win32
