#pragma once

#include "platform/services/keyboard.h"
#include "platform/x11/synthesis_ledger.h"
#include "platform/x11/x11_connection.h"

namespace tavren::x11 {

// Types key sequences with XTest into the foreground window.
//
// Keys on the current keyboard map are typed with their keycode and the shift
// level's modifiers. Characters that are not on it are bound to spare keycodes,
// as many at once as there are spare keycodes, typed, and the map is restored
// once the window has processed them. Caps Lock is unlocked while typing and
// modifiers held down before typing are released, so that neither changes the
// text; both are put back afterwards, on every path.
//
// Owns its own connection to the X server (waiting for the target reads events
// from it). Records every key it fakes in `ledger`, which must outlive it.
class X11Keyboard : public services::Keyboard {
public:
    // nullptr: $DISPLAY. Throws std::runtime_error when the server cannot be
    // reached or lacks XTest or XKB.
    X11Keyboard(const char* displayName, SynthesisLedger& ledger);

    services::TypeResult type(services::WindowHandle target,
                              const services::KeySequence& keys) override;

    Display* display() const { return display_.get(); }

private:
    DisplayPtr display_;
    SynthesisLedger& ledger_;
};

} // namespace tavren::x11
