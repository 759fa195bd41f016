#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::view::win32 {

// Breaks a caption into lines no wider than `width` the way the classic controls
// wrap theirs: at explicit line breaks, after spaces, between any two Japanese
// characters, and, for a word wider than the whole line, anywhere. Lines lose
// their trailing spaces. `measure` gives the width of a piece of text.
std::vector<std::wstring> breakCaption(std::wstring_view text, int width,
                                       const std::function<int(std::wstring_view)>& measure);

// Whether a line may break between these two characters without a space.
bool breaksBetween(wchar_t before, wchar_t after);

} // namespace tavren::view::win32
