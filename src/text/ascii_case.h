#pragma once

#include <string>
#include <string_view>

// Case folding for names and patterns that are compared "without regard to
// letter case": only the ASCII letters fold, as the classic profile and pattern
// functions did; every other character compares as it is.
namespace tavren::text {

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string asciiLower(std::string_view text);

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace tavren::text
