#pragma once

#include "platform/backend/x11/binding_plan.h"
#include "platform/backend/x11/input_method.h"
#include "platform/backend/x11/keyboard_state.h"
#include "platform/services/key_sequence.h"

#include <X11/X.h>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace tavren::backend::x11 {

// The steps of typing an order, in the order they are done.

// A modifier key the XTest device holds, released for the order so that it
// changes no key, and pressed again once the order is over, however it ends.
struct ReleaseModifier {
    KeyCode keycode = 0;
    friend bool operator==(const ReleaseModifier&, const ReleaseModifier&) = default;
};
// Caps Lock unlocked for the order, and locked again once it is over.
struct UnlockCapsLock {
    friend bool operator==(const UnlockCapsLock&, const UnlockCapsLock&) = default;
};
// Spare keycodes bound to the characters that the keys after it type with
// them. The bindings linger after the order (LingeringBindings gives them back).
struct Bind {
    std::vector<SlotBinding> bindings;
    friend bool operator==(const Bind&, const Bind&) = default;
};
// Every key typed so far read by the window before bindings change.
struct WaitForRead {
    friend bool operator==(const WaitForRead&, const WaitForRead&) = default;
};
// The window and its input method act on every key typed so far.
struct CatchUp {
    friend bool operator==(const CatchUp&, const CatchUp&) = default;
};
// One key pressed and released, its modifier keys pressed before it and
// released after it in the reverse order.
struct Key {
    KeyCode keycode = 0;
    std::vector<KeyCode> modifiers;
    friend bool operator==(const Key&, const Key&) = default;
};

using TypingStep = std::variant<ReleaseModifier, UnlockCapsLock, Bind, WaitForRead, CatchUp, Key>;

// Why an order cannot be typed at all.
enum class Impossible {
    // Ctrl, Alt or Super held on a physical keyboard would turn characters into
    // shortcuts, and cannot be released from here.
    ShortcutModifierHeld,
    // A key needs a modifier that no key of the map sets.
    NoModifierKey,
    // A character off the map finds no spare keycode to be bound to.
    NoSpareKeycode,
};

struct TypingPlan {
    // Set when nothing may be typed: the plan has no step then.
    std::optional<Impossible> impossible;
    std::vector<TypingStep> steps;
    // The key type Bind gives keycodes bound at four levels; -1: two at most.
    int fourLevelType = -1;
    // The input method's give-back key is the last key.
    bool giveBackInBand = false;

    bool possible() const { return !impossible; }
};

// A key the input method acts on, as it is typed.
struct ModifiedKey {
    KeySym keysym = NoSymbol;
    unsigned modifiers = 0; // real modifiers
};

// The input method's part in an order (none: no input method to turn).
struct InputMethodKeys {
    std::optional<ModifiedKey> direct;   // typed before the order's first key
    std::optional<ModifiedKey> giveBack; // typed after its last
    bool handsCharactersOnAsText = false;
};

// The key as typed; nothing for no key or a keysym name the server does not know.
std::optional<ModifiedKey> typeable(const std::optional<InputMethodKey>& key);

// The modifier keys down when an order begins. Those the XTest device holds
// are released for the order; keys held on a physical keyboard cannot be
// released from here (XTest acts on its own device) and stay down.
struct HeldModifiers {
    std::vector<KeyCode> released;
    unsigned stillHeld = 0; // the real modifiers set once those are up
};
HeldModifiers heldModifiers(const KeyboardState& keyboard);

// Whether what stays held turns characters into shortcuts: typing nothing is
// the only safe answer.
bool heldAsShortcut(const KeyboardState& keyboard);

// Which keys type `keys` on `keyboard` with its input method's keys around them,
// which spare keycodes are bound to what and when, and what is released for
// the order. `targetRunsGtk3` is asked at most once, only when a character
// would start a GTK 3 compose sequence. Sends nothing.
TypingPlan planTyping(const services::KeySequence& keys, const KeyboardState& keyboard,
                      const InputMethodKeys& inputMethod,
                      const std::function<bool()>& targetRunsGtk3);

} // namespace tavren::backend::x11
