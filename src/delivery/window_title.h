#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavren::delivery {

// Window titles arrive as UTF-8. The lists keep them to the byte budgets the
// settings and the lists were designed for, without leaving half a character.

// The longest prefix of `title` of at most maxBytes bytes that does not end
// inside a UTF-8 character.
std::string_view cutTitle(std::string_view title, std::size_t maxBytes);

// True when the title, read to 519 bytes, is empty or nothing but spaces:
// such windows are not worth offering as targets.
bool isBlankTitle(std::string_view title);

// The game client's windows carry "Ultima Online" in their titles, in any
// letter case (the pattern "*Ultima Online*").
bool looksLikeGameClient(std::string_view title);

} // namespace tavren::delivery
