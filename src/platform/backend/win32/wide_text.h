#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavren::backend::win32 {

// The program's text is UTF-8; the wide Windows API speaks UTF-16. Invalid input
// becomes U+FFFD rather than being dropped, so a conversion never shortens text
// silently.
std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

// UTF-8 text in a Windows code page (0 = the system's ANSI code page), or
// nothing when a character has no exact form there: a near match ("best fit",
// e.g. a plain a for an accented one) or a question mark would change the text.
std::optional<std::string> utf8ToCodePage(std::string_view text, unsigned codePage);

} // namespace tavren::backend::win32
