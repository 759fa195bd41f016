#include "win32_keyboard.h"

#include "handles.h"
#include "injected_input.h"
#include "virtual_keys.h"

#include <vector>

namespace tavren::win32 {

using services::KeyStroke;
using services::TypeResult;

namespace {

INPUT virtualKeyInput(WORD vk, bool extended, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = kTavrenInputMarker;
    return input;
}

INPUT unicodeInput(wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(unit);
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = kTavrenInputMarker;
    return input;
}

std::vector<wchar_t> utf16Units(char32_t c) {
    if (c < 0x10000) return {static_cast<wchar_t>(c)};
    const char32_t v = c - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
}

void appendModifiers(std::vector<INPUT>& inputs, std::uint8_t mods, bool up) {
    const WORD order[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    const std::uint8_t bits[] = {services::kShift, services::kControl, services::kAlt};
    for (int i = 0; i < 3; ++i) {
        const int k = up ? 2 - i : i; // released in the reverse order
        if (mods & bits[k]) inputs.push_back(virtualKeyInput(order[k], false, up));
    }
}

// The layout's key for a character with its shift state, when it has one.
bool layoutKeyOf(char32_t c, WORD& vk, std::uint8_t& mods) {
    if (c >= 0x10000) return false;
    const SHORT scan = ::VkKeyScanW(static_cast<WCHAR>(c));
    if (scan == -1) return false;
    vk = LOBYTE(scan);
    const BYTE shiftState = HIBYTE(scan);
    if (shiftState & 1) mods |= services::kShift;
    if (shiftState & 2) mods |= services::kControl;
    if (shiftState & 4) mods |= services::kAlt;
    return true;
}

std::vector<INPUT> inputsFor(const KeyStroke& stroke) {
    std::vector<INPUT> inputs;
    std::uint8_t mods = stroke.modifiers;
    if (stroke.isNamed) {
        const VirtualKey key = virtualKeyOf(stroke.named);
        if (key.code == 0) return {};
        appendModifiers(inputs, mods, false);
        inputs.push_back(virtualKeyInput(key.code, key.extended, false));
        inputs.push_back(virtualKeyInput(key.code, key.extended, true));
        appendModifiers(inputs, mods, true);
        return inputs;
    }
    WORD vk = 0;
    if ((mods & (services::kControl | services::kAlt)) && layoutKeyOf(stroke.character, vk, mods)) {
        appendModifiers(inputs, mods, false);
        inputs.push_back(virtualKeyInput(vk, false, false));
        inputs.push_back(virtualKeyInput(vk, false, true));
        appendModifiers(inputs, mods, true);
        return inputs;
    }
    // Shift alone changes nothing about a character that is typed as itself.
    appendModifiers(inputs, mods & ~services::kShift, false);
    for (const wchar_t unit : utf16Units(stroke.character)) {
        inputs.push_back(unicodeInput(unit, false));
        inputs.push_back(unicodeInput(unit, true));
    }
    appendModifiers(inputs, mods & ~services::kShift, true);
    return inputs;
}

// A window answers a sent message only between its messages, so the second
// answer comes after the input queued before the first was taken up.
void waitUntilProcessed(HWND target) {
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR ignored = 0;
        if (::SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                  Win32Keyboard::kProcessedTimeoutMs, &ignored) == 0)
            return;
    }
}

} // namespace

TypeResult Win32Keyboard::type(services::WindowHandle target, const services::KeySequence& keys) {
    if (target == 0) return TypeResult::Interrupted;
    const HWND window = toHwnd(target);
    for (const KeyStroke& stroke : keys) {
        if (::GetForegroundWindow() != window) return TypeResult::Interrupted;
        std::vector<INPUT> inputs = inputsFor(stroke);
        if (inputs.empty()) return TypeResult::Failed;
        const UINT sent =
            ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        if (sent != inputs.size()) return TypeResult::Failed;
    }
    waitUntilProcessed(window);
    return TypeResult::Typed;
}

} // namespace tavren::win32
