#pragma once

#include "layout_keys.h"
#include "platform/services/key_sequence.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace tavren::backend::win32 {

// The steps of typing an order, in the order they are sent.

// One key pressed and released as its virtual key with its scan code (some
// games read only those), its modifier keys (virtual keys) pressed before it
// and released after it in the reverse order.
struct Key {
    std::uint8_t virtualKey = 0;
    bool extended = false; // the key's scan code carries the E0 prefix
    std::vector<std::uint8_t> modifiers;
    friend bool operator==(const Key&, const Key&) = default;
};
// One character typed as Unicode input (KEYEVENTF_UNICODE), which arrives
// exactly whatever the layout and Caps Lock, with modifier keys held around it.
struct Character {
    char32_t character = 0;
    std::vector<std::uint8_t> modifiers;
    friend bool operator==(const Character&, const Character&) = default;
};

using TypingStep = std::variant<Key, Character>;

// Why an order cannot be typed at all.
enum class Impossible {
    // A named key Windows has no virtual key for.
    NoVirtualKey,
};

struct TypingPlan {
    // Set when nothing may be typed: the plan has no step then.
    std::optional<Impossible> impossible;
    std::vector<TypingStep> steps;

    bool possible() const { return !impossible; }
};

// Which keys and characters type `keys` into a window with `layout`. Text goes
// as Unicode input; "+" (Shift) makes a character the one its key on the
// layout gives with Shift ("+1" is "!"). A character with Ctrl or Alt is a
// shortcut, not text: it goes as its key where the layout has one. Named keys
// and modifiers go as virtual keys. Sends nothing.
TypingPlan planTyping(const services::KeySequence& keys, const KeyboardLayout& layout);

} // namespace tavren::backend::win32
