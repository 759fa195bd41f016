#include "typing_plan.h"

#include "virtual_keys.h"

#include <windows.h>

namespace tavren::backend::win32 {

namespace {

using services::KeyStroke;

// The modifier keys of services::Modifier bits, in the order they are pressed.
std::vector<std::uint8_t> modifierKeys(std::uint8_t modifiers) {
    std::vector<std::uint8_t> keys;
    if (modifiers & services::kShift) keys.push_back(VK_SHIFT);
    if (modifiers & services::kControl) keys.push_back(VK_CONTROL);
    if (modifiers & services::kAlt) keys.push_back(VK_MENU);
    return keys;
}

std::optional<TypingStep> stepOf(const KeyStroke& stroke, const KeyboardLayout& layout) {
    std::uint8_t modifiers = stroke.modifiers;
    if (stroke.isNamed) {
        const VirtualKey key = virtualKeyOf(stroke.named);
        if (key.code == 0) return std::nullopt;
        return Key{key.code, key.extended, modifierKeys(modifiers)};
    }
    if (modifiers & (services::kControl | services::kAlt)) {
        if (const auto key = layout.keyOf(stroke.character)) {
            modifiers |= key->modifiers;
            return Key{key->virtualKey, false, modifierKeys(modifiers)};
        }
    }
    // Text goes as the character Shift makes of it, like every other character:
    // as Unicode input, which Caps Lock cannot change.
    const char32_t character =
        (modifiers & services::kShift) ? layout.shifted(stroke.character) : stroke.character;
    return Character{character,
                     modifierKeys(static_cast<std::uint8_t>(modifiers & ~services::kShift))};
}

} // namespace

TypingPlan planTyping(const services::KeySequence& keys, const KeyboardLayout& layout) {
    TypingPlan plan;
    for (const KeyStroke& stroke : keys) {
        auto step = stepOf(stroke, layout);
        if (!step) return {Impossible::NoVirtualKey, {}};
        plan.steps.push_back(std::move(*step));
    }
    return plan;
}

} // namespace tavren::backend::win32
