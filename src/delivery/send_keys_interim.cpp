// Interim stand-in for the key-syntax parser, so that the delivery layer builds
// and its tests run before the real parser arrives. It knows no syntax at all:
// every UTF-8 character is typed as itself, CR is Enter, LF types nothing, and
// text with braces or parentheses is refused as a whole rather than typed wrong.
// Drop this file when send_keys.cpp lands.
#include "send_keys.h"

namespace tavren::delivery {

std::optional<services::KeySequence> parseSendKeys(std::string_view text) {
    services::KeySequence keys;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (i + length > text.size()) return std::nullopt;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (c == U'{' || c == U'}' || c == U'(' || c == U')') return std::nullopt;
        if (c == U'\r')
            keys.push_back(services::KeyStroke::key(services::NamedKey::Enter));
        else if (c != U'\n')
            keys.push_back(services::KeyStroke::text(c));
    }
    return keys;
}

} // namespace tavren::delivery
