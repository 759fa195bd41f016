#include "wide_text.h"

#include <windows.h>

namespace tavren::backend::win32 {

std::wstring utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string wideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> utf8ToCodePage(std::string_view text, unsigned codePage) {
    const std::wstring wide = utf8ToWide(text);
    if (wide.empty())
        return text.empty() ? std::optional<std::string>(std::string()) : std::nullopt;
    const int size = static_cast<int>(wide.size());
    BOOL defaultUsed = FALSE;
    // UTF-7 and UTF-8 take neither the flag nor the question; every other code
    // page reports a character it could not hold.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* asked = unicode ? nullptr : &defaultUsed;
    const int length =
        ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, asked);
    if (length <= 0 || defaultUsed) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr, asked);
    if (defaultUsed) return std::nullopt;
    return bytes;
}

} // namespace tavren::backend::win32
