// Feeds arbitrary bytes through the key-syntax parser: braces, groups, modifiers,
// repeat counts and UTF-8 must never crash, hang or exhaust the stack, and what
// it accepts must be keys that the keyboard can type.
#include "delivery/send_keys.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavren;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto keys = delivery::parseSendKeys(text);
    if (!keys) return 0;
    // Every character yields at most one stroke, but a braced one may repeat.
    if (keys->size() > size * delivery::kMaxRepeatCount) __builtin_trap();
    constexpr std::uint8_t kAllModifiers = services::kShift | services::kControl | services::kAlt;
    for (const services::KeyStroke& stroke : *keys) {
        if (stroke.modifiers & ~kAllModifiers) __builtin_trap();
        if (stroke.isNamed) {
            if (stroke.named > services::NamedKey::KeypadDivide) __builtin_trap();
        } else {
            const char32_t c = stroke.character;
            // Controls are typed as named keys; the rest must be a scalar value.
            if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                __builtin_trap();
        }
    }
    return 0;
}
