#pragma once

#include <string>
#include <string_view>

namespace tavren::win32 {

// The program's text is UTF-8; the wide Windows API speaks UTF-16. Invalid input
// becomes U+FFFD rather than being dropped, so a conversion never shortens text
// silently.
std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

} // namespace tavren::win32
