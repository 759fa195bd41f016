#pragma once

#include <cstdint>
#include <vector>

namespace tavren::services {

// Keys that are named rather than typed as a character.
enum class NamedKey : std::uint8_t {
    Enter,
    Tab,
    Backspace,
    Delete,
    Insert,
    Home,
    End,
    PageUp,
    PageDown,
    Up,
    Down,
    Left,
    Right,
    Escape,
    Break,
    CapsLock,
    NumLock,
    ScrollLock,
    PrintScreen,
    Help,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
    KeypadAdd,
    KeypadSubtract,
    KeypadMultiply,
    KeypadDivide,
};

enum Modifier : std::uint8_t { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

// One key press and release: either a character, typed as itself whatever the
// keyboard layout, or a named key; with the modifiers held around it.
struct KeyStroke {
    char32_t character = 0; // used when isNamed is false
    NamedKey named = NamedKey::Enter;
    bool isNamed = false;
    std::uint8_t modifiers = kNoModifier;

    static KeyStroke text(char32_t c, std::uint8_t mods = kNoModifier) {
        return KeyStroke{c, NamedKey::Enter, false, mods};
    }
    static KeyStroke key(NamedKey k, std::uint8_t mods = kNoModifier) {
        return KeyStroke{0, k, true, mods};
    }
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

using KeySequence = std::vector<KeyStroke>;

} // namespace tavren::services
