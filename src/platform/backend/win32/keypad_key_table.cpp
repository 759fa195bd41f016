#include "platform/backend/win32/keypad_key_table.h"

#include "platform/backend/win32/injected_input.h"

#include <windows.h>

namespace tavren::backend::win32 {

int keypadDigitOfScanCode(std::uint16_t makeCode, bool extended) {
    if (extended) return -1;
    switch (makeCode) {
    case 0x52:
        return 0;
    case 0x4F:
        return 1;
    case 0x50:
        return 2;
    case 0x51:
        return 3;
    case 0x4B:
        return 4;
    case 0x4C:
        return 5;
    case 0x4D:
        return 6;
    case 0x47:
        return 7;
    case 0x48:
        return 8;
    case 0x49:
        return 9;
    default:
        return -1;
    }
}

void KeypadKeyTable::onKey(const RawKeyEvent& event) {
    if (event.virtualKey == VK_NUMLOCK) {
        if (!event.released && !numLockDown_) numLockOn_ = !numLockOn_;
        numLockDown_ = !event.released;
        return;
    }
    if (event.extraInformation == kTavrenInputMarker) return;
    const int digit = keypadDigitOfScanCode(event.makeCode, event.extended);
    if (digit < 0) return;
    if (event.released) {
        held_[digit] = false;
    } else {
        held_[digit] = true;
        pressedSinceQuery_[digit] = true;
        // The system gives a keypad key its digit's virtual key only with Num
        // Lock on: proof of a toggle we did not see, made before we started
        // (Wine lets a program started later read no toggle made before it)
        // or while raw input could not reach us.
        if (event.virtualKey == VK_NUMPAD0 + digit) numLockOn_ = true;
    }
}

services::KeyState KeypadKeyTable::query(services::KeypadDigit key, bool downForTheSystem) {
    const auto digit = static_cast<std::size_t>(key);
    if (!downForTheSystem) held_[digit] = false;
    services::KeyState state{held_[digit], pressedSinceQuery_[digit]};
    pressedSinceQuery_[digit] = false;
    if (!numLockOn_) return {};
    return state;
}

} // namespace tavren::backend::win32
