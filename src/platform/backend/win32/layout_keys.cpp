#include "layout_keys.h"

#include "platform/services/key_sequence.h"

namespace tavren::backend::win32 {

namespace {

// ToUnicodeEx flag: leave the kernel's keyboard state (a pending dead key)
// as it was (Windows 10 1607 and later; older systems ignore it).
constexpr UINT kKeepKeyboardState = 0x4;

} // namespace

WindowKeyboardLayout::WindowKeyboardLayout(HWND window)
    : layout_(::GetKeyboardLayout(::GetWindowThreadProcessId(window, nullptr))) {}

std::optional<LayoutKey> WindowKeyboardLayout::keyOf(char32_t c) const {
    if (c >= 0x10000) return std::nullopt;
    const SHORT scan = ::VkKeyScanExW(static_cast<WCHAR>(c), layout_);
    if (scan == -1) return std::nullopt;
    LayoutKey key;
    key.virtualKey = LOBYTE(scan);
    const BYTE shiftState = HIBYTE(scan);
    if (shiftState & 1) key.modifiers |= services::kShift;
    if (shiftState & 2) key.modifiers |= services::kControl;
    if (shiftState & 4) key.modifiers |= services::kAlt;
    return key;
}

char32_t WindowKeyboardLayout::shifted(char32_t c) const {
    const auto key = keyOf(c);
    if (!key || (key->modifiers & ~services::kShift) != 0) return c;
    BYTE state[256] = {};
    state[VK_SHIFT] = 0x80;
    state[VK_LSHIFT] = 0x80;
    const UINT scanCode = ::MapVirtualKeyExW(key->virtualKey, MAPVK_VK_TO_VSC, layout_);
    wchar_t out[4] = {};
    const int n =
        ::ToUnicodeEx(key->virtualKey, scanCode, state, out, 4, kKeepKeyboardState, layout_);
    return n == 1 ? static_cast<char32_t>(out[0]) : c;
}

} // namespace tavren::backend::win32
