#pragma once

#include "platform/services/keyboard.h"

namespace tavren::win32 {

// Types key sequences with SendInput into the foreground window.
//
// Characters go as Unicode input (KEYEVENTF_UNICODE), so the text arrives
// exactly, Japanese and full-width forms included, whatever the keyboard
// layout and whether or not an input method is on. A character with Ctrl or
// Alt held is a shortcut, not text: it goes as its virtual key where the layout
// has one. Named keys, Enter and the modifiers go as virtual keys with their
// scan codes (some games read only those). The foreground is checked before
// every key; typing stops as soon as it is another window. Every synthesised
// key carries kTavrenInputMarker.
class Win32Keyboard : public services::Keyboard {
public:
    // How long the target may take to answer each of the two round trips that
    // tell it has processed the keys.
    static constexpr unsigned kProcessedTimeoutMs = 1000;

    services::TypeResult type(services::WindowHandle target,
                              const services::KeySequence& keys) override;
};

} // namespace tavren::win32
