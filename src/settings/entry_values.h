#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavren::settings {

// What the profile store is asked to return for a missing entry.
inline constexpr std::string_view kMissingValue = "not";

// An entry whose value starts with "not", in any letter case, counts as missing.
bool countsAsMissing(std::string_view value);

std::string withoutTrailingBlanks(std::string_view value);

// The value as a whole number, a fraction rounded to the nearest and a half to
// the even neighbour; nothing when it is not a number or does not fit 32 bits.
std::optional<std::int32_t> wholeNumber(std::string_view value);

// A position or size in twips as written to the file: a whole decimal number.
std::string twipsText(double twips);

} // namespace tavren::settings
