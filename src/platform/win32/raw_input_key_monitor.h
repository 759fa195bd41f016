#pragma once

#include "platform/services/keyboard.h"
#include "platform/win32/keypad_key_table.h"

#include <windows.h>

namespace tavren::win32 {

// The global state of the keypad digit keys from Raw Input, delivered to a
// hidden window of our own even while another program has the focus
// (RIDEV_INPUTSINK). A hidden top-level window rather than a message-only one:
// Wine delivers no raw input to a message-only window. Each query first takes the raw input waiting
// for that window, so a tap between two queries is not lost. Keys sent by Win32Keyboard carry its
// marker and never count; keys other programs send count like the user's. Must be queried from the
// thread that made it.
class RawInputKeyMonitor : public services::KeyMonitor {
public:
    // Throws std::runtime_error when the window or the registration fails.
    RawInputKeyMonitor();
    ~RawInputKeyMonitor() override;
    RawInputKeyMonitor(const RawInputKeyMonitor&) = delete;
    RawInputKeyMonitor& operator=(const RawInputKeyMonitor&) = delete;

    services::KeyState query(services::KeypadDigit key) override;

private:
    void drainInput();
    void take(HRAWINPUT input);

    HWND window_ = nullptr;
    KeypadKeyTable table_;
};

} // namespace tavren::win32
