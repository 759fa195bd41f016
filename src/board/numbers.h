#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavren::board {

// Rounds to the nearest 32-bit integer, ties to the even neighbour (2.5 -> 2,
// 3.5 -> 4); nothing when the result does not fit or the value is not finite.
std::optional<std::int32_t> roundToInt32(double value);

// A decimal number written in the usual way ("3", " 2.5 ", "-1e2"), independent
// of the user's locale; nothing for an empty text or any text that is not one
// number in whole.
std::optional<double> parseDecimal(std::string_view text);

} // namespace tavren::board
