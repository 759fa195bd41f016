#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one place for UTF-8 handling: every directory that looks inside text uses
// these, so that all of them agree on what a character is.
namespace tavren::text {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// The length of the well-formed UTF-8 character that starts at text[pos], or 0
// when none does (a stray continuation byte, a cut, overlong or surrogate
// sequence, a value beyond Unicode).
std::size_t validSequenceLength(std::string_view text, std::size_t pos);

// The character that starts at text[pos], advancing pos past it; nothing (pos
// unchanged) where no well-formed character starts.
std::optional<char32_t> decodeCharacter(std::string_view text, std::size_t& pos);

bool isValidUtf8(std::string_view text);

// The text with every byte that is not part of a well-formed character replaced
// by U+FFFD, one for each such byte.
std::string replacingInvalidBytes(std::string_view text);

// The characters of valid UTF-8 text, each as its own byte run. A byte that
// does not start a character stands alone.
std::vector<std::string_view> utf8Characters(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not end inside a UTF-8
// character; bytes that are not UTF-8 are cut where the limit falls.
std::string_view cutOnCharacterBoundary(std::string_view text, std::size_t maxBytes);

} // namespace tavren::text
