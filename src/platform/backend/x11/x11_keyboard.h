#pragma once

#include "platform/backend/x11/lingering_bindings.h"
#include "platform/backend/x11/synthesis_ledger.h"
#include "platform/backend/x11/x11_connection.h"
#include "platform/backend/x11/xtest_keyboard_state.h"
#include "platform/services/keyboard.h"

#include <chrono>
#include <memory>

namespace tavren::backend::x11 {

// Types key sequences with XTest into the foreground window.
//
// Keys on the current keyboard map are typed with their keycode and the shift
// level's modifiers. Characters that are not on it are bound to spare keycodes,
// two to a keycode (its plain and its Shift level), or four where the map has
// a level-three modifier (AltGr and Shift+AltGr), every distinct one of the
// order at once where they fit. A binding changes only once the window has
// provably read the keys typed with it (it answered its pings) or after
// `kBindingIdleTime`; bindings linger that long after every order, and later
// orders reuse them. An order with more distinct characters than the slots
// hold waits for that at each change of bindings. Keys go out in batches under
// one server grab, after one foreground check. Caps Lock is unlocked while
// typing and modifiers the XTest device holds are released, so that neither
// changes the text; both are put back afterwards, on every path. The whole
// order is planned first (TypingPlan): one that cannot be typed is refused
// before anything is released or sent.
//
// With an input method running, the target's input context is turned to direct
// input for the order and given back once the input method has handled it.
//
// Owns its own connection to the X server (waiting for the target reads events
// from it). Records every key it fakes in `ledger`, which must outlive it.
class InputMethod;

class X11Keyboard : public services::Keyboard {
public:
    // Long enough for a window that was stopped or swapped out for a moment to
    // read what it was sent; short enough that the map is back soon after.
    static constexpr std::chrono::milliseconds kBindingIdleTime{2000};

    // nullptr: $DISPLAY. Throws std::runtime_error when the server cannot be
    // reached or lacks XTest or XKB. `inputMethod` (may be nullptr: none is
    // switched) must outlive the keyboard.
    X11Keyboard(const char* displayName, SynthesisLedger& ledger,
                InputMethod* inputMethod = nullptr);

    services::TypeResult type(services::WindowHandle target,
                              const services::KeySequence& keys) override;

    Display* display() const { return display_.get(); }

private:
    DisplayPtr display_;
    SynthesisLedger& ledger_;
    InputMethod* inputMethod_;
    std::unique_ptr<LingeringBindings> bindings_;
    std::unique_ptr<XTestKeyboardState> xtest_;
};

} // namespace tavren::backend::x11
