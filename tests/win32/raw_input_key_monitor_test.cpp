#include "platform/win32/handles.h"
#include "platform/win32/injected_input.h"
#include "platform/win32/raw_input_key_monitor.h"
#include "platform/win32/system_foreground_calls.h"
#include "platform/win32/win32_window_manager.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tavren::win32 {
namespace {

using services::KeypadDigit;

void sendScan(WORD scan, bool up, ULONG_PTR extra) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = scan;
    input.ki.dwFlags = KEYEVENTF_SCANCODE | (up ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = extra;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

void setNumLock(bool on) {
    if (((GetKeyState(VK_NUMLOCK) & 1) != 0) == on) return;
    INPUT inputs[2]{};
    for (auto& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_NUMLOCK;
        input.ki.dwExtraInfo = kTavrenInputMarker;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
}

// Queries until the state answers `wanted`, within two seconds.
bool eventually(RawInputKeyMonitor& monitor, KeypadDigit digit, bool wantedDown) {
    for (int i = 0; i < 200; ++i) {
        if (monitor.query(digit).downNow == wantedDown) return true;
        Sleep(10);
    }
    return false;
}

TEST(RawInputKeyMonitor, SeesKeypadKeysOfOtherSendersButNotItsOwnMarkedOnes) {
    RawInputKeyMonitor monitor;
    // The keys go to another program's window, as when the user types there;
    // Wine drops keyboard input while no window is in front.
    testing::TargetProcess target({L"v:key monitor target"});
    SystemForegroundCalls calls;
    Win32WindowManager(calls).bringToFront(fromHwnd(target.window()));
    ASSERT_TRUE(testing::waitFor([&] { return GetForegroundWindow() == target.window(); }));
    setNumLock(true);
    sendScan(0x50, false, 0); // keypad 2, from "another program"
    EXPECT_TRUE(eventually(monitor, KeypadDigit::D2, true));
    sendScan(0x50, true, 0);
    EXPECT_TRUE(eventually(monitor, KeypadDigit::D2, false));

    sendScan(0x51, false, kTavrenInputMarker); // keypad 3, as Win32Keyboard marks it
    sendScan(0x51, true, kTavrenInputMarker);
    sendScan(0x4F, false, 0); // then keypad 1 as a witness that the queue was read
    EXPECT_TRUE(eventually(monitor, KeypadDigit::D1, true));
    EXPECT_FALSE(monitor.query(KeypadDigit::D3).any());
    sendScan(0x4F, true, 0);
    EXPECT_TRUE(eventually(monitor, KeypadDigit::D1, false));
}

} // namespace
} // namespace tavren::win32
