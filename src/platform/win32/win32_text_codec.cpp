#include "win32_text_codec.h"

#include "wide_text.h"

#include <windows.h>

namespace tavren::win32 {

std::optional<std::string> Win32TextCodec::legacyToUtf8(const std::string& bytes) {
    if (bytes.empty()) return std::string();
    const int size = static_cast<int>(bytes.size());
    const int length =
        ::MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wideToUtf8(wide);
}

} // namespace tavren::win32
