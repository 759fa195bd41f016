#pragma once

#include "platform/backend/win32/keypad_key_table.h"
#include "platform/services/keyboard.h"

#include <windows.h>

namespace tavren::backend::win32 {

// The global state of the keypad digit keys from Raw Input, delivered to a
// hidden window of our own even while another program has the focus
// (RIDEV_INPUTSINK). A hidden top-level window rather than a message-only one:
// Wine delivers no raw input to a message-only window.
//
// The window's own procedure records every WM_INPUT, whoever dispatches it: the
// program's message loop, a nested one while a press waits, or a modal loop
// while the user drags a window. Between two queries the events are there
// already, so a tap between two ticks is not lost.
//
// Keys sent by Win32Keyboard carry its marker and never count; keys other
// programs send count like the user's. Num Lock is kept from the raw events,
// not from this thread's key state, which moves only with the key messages
// this thread reads (none while a game has the keyboard). Must be made and
// queried on the thread whose message loop runs.
class RawInputKeyMonitor : public services::KeyMonitor {
public:
    // Throws std::runtime_error when the window or the registration fails.
    RawInputKeyMonitor();
    ~RawInputKeyMonitor() override;
    RawInputKeyMonitor(const RawInputKeyMonitor&) = delete;
    RawInputKeyMonitor& operator=(const RawInputKeyMonitor&) = delete;

    services::KeyState query(services::KeypadDigit key) override;
    void monitoringStopped() override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void take(HRAWINPUT input);

    HWND window_ = nullptr;
    KeypadKeyTable table_;
};

} // namespace tavren::backend::win32
