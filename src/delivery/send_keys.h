#pragma once

#include "platform/services/key_sequence.h"

#include <optional>
#include <string_view>

namespace tavren::delivery {

// Parses text in the classic SendKeys key syntax into key strokes:
// "~" Enter; "+" "^" "%" hold Shift, Ctrl, Alt for the next key or parenthesised
// group (they combine: "+^a"); "{NAME}" / "{NAME n}" a named key n times (names
// ignore case); "{x}" quotes a syntax character; "{x n}" repeats a character;
// CR is Enter; TAB is the Tab key; every other character (UTF-8) is typed as itself.
//
// A line feed types nothing: every delivered text ends in CR LF and the CR has
// already typed Enter, so typing the LF too would send a second, empty line.
// Square brackets need no quoting ("[" types "["), "{[}" and "{]}" are accepted too.
//
// A malformed string yields nothing at all, so that no key is typed: unbalanced
// braces or parentheses, an unknown key name, a repeat count above
// kMaxRepeatCount, groups nested deeper than kMaxGroupDepth, invalid UTF-8, a modifier with no key
// or group after it, an empty group after a modifier, or a control character other than CR, LF and
// TAB.
std::optional<services::KeySequence> parseSendKeys(std::string_view text);

// The largest n accepted in "{NAME n}"; a larger one is taken for a typing error.
inline constexpr int kMaxRepeatCount = 255;

// The deepest nesting of parenthesised groups accepted. Orders nest a level or
// two; a caption may be as long as an order file line, and parsing a group
// takes stack, so anything deeper is taken for garbage rather than followed.
inline constexpr int kMaxGroupDepth = 32;

} // namespace tavren::delivery
