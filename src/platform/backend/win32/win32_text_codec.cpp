#include "win32_text_codec.h"

#include "wide_text.h"

#include <windows.h>

namespace tavren::backend::win32 {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// Trail bytes of Shift_JIS: 40-7E, 80-FC.
bool canTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The character the bytes stand for, or nothing when the code page assigns none.
bool decode(const char* bytes, int size, std::wstring& out) {
    wchar_t units[4];
    const int n = ::MultiByteToWideChar(Win32TextCodec::kShiftJis, MB_ERR_INVALID_CHARS, bytes,
                                        size, units, 4);
    if (n <= 0) return false;
    out.append(units, static_cast<std::size_t>(n));
    return true;
}

} // namespace

std::string Win32TextCodec::legacyToUtf8(const std::string& bytes) {
    std::wstring wide;
    wide.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) { // ASCII is ASCII in Shift_JIS as Windows reads it
            wide.push_back(b);
            ++i;
        } else if (::IsDBCSLeadByteEx(kShiftJis, b)) {
            if (i + 1 < bytes.size() && canTrail(static_cast<unsigned char>(bytes[i + 1]))) {
                if (!decode(bytes.data() + i, 2, wide)) wide.push_back(kReplacement);
                i += 2;
            } else {
                wide.push_back(kReplacement);
                ++i;
            }
        } else {
            if (!decode(bytes.data() + i, 1, wide)) wide.push_back(kReplacement);
            ++i;
        }
    }
    return wideToUtf8(wide);
}

} // namespace tavren::backend::win32
