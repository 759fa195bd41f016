#pragma once

#include "platform/services/key_sequence.h"

#include <X11/X.h>

namespace tavren::backend::x11 {

// The keysym a named key types (Enter is Return, PageUp is Prior, ...).
KeySym keysymFor(services::NamedKey key);

// The keysym that types a character: Latin-1 characters have their own keysyms,
// every other character the Unicode keysym 0x1000000 + code point.
KeySym keysymFor(char32_t character);

// The keysym of a stroke, named or character.
KeySym keysymFor(const services::KeyStroke& stroke);

} // namespace tavren::backend::x11
