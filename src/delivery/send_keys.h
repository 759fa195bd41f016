#pragma once

#include "platform/services/key_sequence.h"

#include <optional>
#include <string_view>

namespace tavren::delivery {

// Parses text in the classic SendKeys key syntax into key strokes:
// "~" Enter; "+" "^" "%" hold Shift, Ctrl, Alt for the next key or parenthesised
// group; "{NAME}" / "{NAME n}" a named key n times; "{x}" quotes a syntax
// character; "{x n}" repeats a character; CR is Enter; every other character
// (UTF-8) is typed as itself. A malformed string yields nothing at all.
std::optional<services::KeySequence> parseSendKeys(std::string_view text);

} // namespace tavren::delivery
