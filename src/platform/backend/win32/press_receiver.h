#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tavren::backend::win32 {

// Where a running tavren.exe takes presses asked for from outside it
// (`tavren.exe --press N`, a shortcut, a macro pad's tool): a message-only
// window of its own, found by its class, that takes WM_COPYDATA carrying the
// button and the mouse button, and answers once the press has ended. The
// press runs in the event loop, as a mouse press does. docs/ipc.md.
class PressReceiver {
public:
    // `press` returns false for a button the board does not show.
    using Press = std::function<bool(int number, bool right)>;
    // Throws std::runtime_error when the window cannot be made.
    explicit PressReceiver(Press press);
    ~PressReceiver();
    PressReceiver(const PressReceiver&) = delete;
    PressReceiver& operator=(const PressReceiver&) = delete;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);

    Press press_;
    HWND window_ = nullptr;
};

// What asking the running tavren.exe to press gave.
struct PressOutcome {
    bool pressed = false;
    std::string why; // when not pressed: one line for the user, without its newline
};

// Asks the tavren.exe running on this desktop to press button `number`, and
// waits until that press has ended. Starts nothing.
PressOutcome askRunningTavrenToPress(int number, bool right);

} // namespace tavren::backend::win32
