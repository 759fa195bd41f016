#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace tavren::backend::win32 {

// A character's key on a keyboard layout: its virtual key and the modifiers
// (services::Modifier bits) the layout needs for it.
struct LayoutKey {
    BYTE virtualKey = 0;
    std::uint8_t modifiers = 0;
};

// What a keyboard layout says of characters.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The layout's key for a character; nothing when the layout has none.
    virtual std::optional<LayoutKey> keyOf(char32_t c) const = 0;
    // The character the layout's key for `c` gives with Shift held: "+" in the
    // key syntax holds Shift for the next key, so "+c" is "C" and "+1" is "!"
    // on US and Japanese layouts alike. `c` itself where the layout has no key
    // for it, where the key needs Ctrl or AltGr, or where it gives no one
    // character with Shift.
    virtual char32_t shifted(char32_t c) const = 0;
};

// The keyboard layout of the thread that owns a window: the one that turns
// that window's keys into characters.
class WindowKeyboardLayout final : public KeyboardLayout {
public:
    explicit WindowKeyboardLayout(HWND window);
    std::optional<LayoutKey> keyOf(char32_t c) const override;
    char32_t shifted(char32_t c) const override;

private:
    HKL layout_;
};

} // namespace tavren::backend::win32
