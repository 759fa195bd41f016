#pragma once

#include "platform/backend/x11/synthesis_ledger.h"
#include "platform/backend/x11/x11_connection.h"
#include "platform/services/keyboard.h"

#include <array>
#include <set>
#include <vector>

namespace tavren::backend::x11 {

// The global state of the keypad digit keys, from XInput2 raw key events on the
// root window: they reach us whichever window has the focus and even during
// grabs, and a tap between two queries is not lost.
//
// Keypad keys are digits only while Num Lock is on (as the keypad itself types
// digits only then); with Num Lock off they are arrow and editing keys and every
// query answers "not pressed", forgetting the presses seen meanwhile.
//
// Keys faked by the X11Keyboard sharing `ledger` never count. Keys faked by other
// programs through XTest count like keys of a real keyboard.
//
// Owns its own connection to the X server; `ledger` must outlive it.
class X11KeyMonitor : public services::KeyMonitor {
public:
    // nullptr: $DISPLAY. Throws std::runtime_error when the server cannot be
    // reached or lacks XInput 2.2.
    X11KeyMonitor(const char* displayName, SynthesisLedger& ledger);

    services::KeyState query(services::KeypadDigit key) override;
    // Nothing to forget: the server queues every raw event for our own
    // connection, read or not, so no release goes unseen.
    void monitoringStopped() override {}

private:
    void drainEvents();
    void onRawKey(int type, int keycode, int sourceDevice);
    void readKeypadLayout();
    bool numLockOn();

    DisplayPtr display_;
    SynthesisLedger& ledger_;
    int xiOpcode_ = 0;
    int xkbEventBase_ = 0;
    std::set<int> xtestDevices_;
    bool layoutStale_ = true;
    unsigned numLockMask_ = 0;
    std::array<std::vector<int>, 10> keycodesOfDigit_;
    std::array<std::set<int>, 256> heldBy_; // source devices holding each key
    std::array<bool, 256> pressedSinceQuery_{};
};

} // namespace tavren::backend::x11
