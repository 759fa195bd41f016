// The key monitor as the program runs it: its thread's message loop
// (Win32EventLoop::exec, GetMessage then DispatchMessage for every message)
// delivers the raw input, and the monitor is asked at the ticks of a 100 ms
// timer, while the keys go to another program's window.
#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/injected_input.h"
#include "platform/backend/win32/raw_input_key_monitor.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "platform/backend/win32/win32_window_manager.h"
#include "platform/view/win32/win32_event_loop.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

namespace tavren::backend::win32 {
namespace {

using services::KeypadDigit;
using services::KeyState;

// A keypad key: its scan code, and the virtual key Windows gives it with Num
// Lock on (the digit's) and off (an arrow or editing key).
struct KeypadKey {
    WORD scan;
    WORD withNumLock;
    WORD withoutNumLock;
};
constexpr KeypadKey kKeypad1{0x4F, VK_NUMPAD1, VK_END};
constexpr KeypadKey kKeypad3{0x51, VK_NUMPAD3, VK_NEXT};
constexpr KeypadKey kKeypad4{0x4B, VK_NUMPAD4, VK_LEFT};
constexpr KeypadKey kKeypad5{0x4C, VK_NUMPAD5, VK_CLEAR};
constexpr KeypadKey kKeypad6{0x4D, VK_NUMPAD6, VK_RIGHT};
constexpr KeypadKey kKeypad7{0x47, VK_NUMPAD7, VK_HOME};

void send(WORD virtualKey, WORD scan, bool up, ULONG_PTR extra = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scan;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.ki.dwExtraInfo = extra;
    SendInput(1, &input, sizeof input);
}

// The keys as the keyboard sends them with Num Lock on, which shows the monitor
// that it is on, whatever it was before; `extra` 0 is a key of the user or of
// another program, kTavrenInputMarker one Win32Keyboard typed.
void press(const KeypadKey& key, ULONG_PTR extra = 0) {
    send(key.withNumLock, key.scan, false, extra);
}
void release(const KeypadKey& key, ULONG_PTR extra = 0) {
    send(key.withNumLock, key.scan, true, extra);
}
void tap(const KeypadKey& key, ULONG_PTR extra = 0) {
    press(key, extra);
    release(key, extra);
}
void tapWithNumLockOff(const KeypadKey& key) {
    send(key.withoutNumLock, key.scan, false);
    send(key.withoutNumLock, key.scan, true);
}
void pressNumLock() {
    send(VK_NUMLOCK, 0x45, false);
    send(VK_NUMLOCK, 0x45, true);
}

// Runs one step at each tick of a 100 ms timer in the program's message loop,
// which dispatches whatever arrives between the ticks, as keyboard monitoring
// polls. Keys sent at one tick have arrived by the next.
void runTicks(const std::vector<std::function<void()>>& steps) {
    struct Run {
        const std::vector<std::function<void()>>& steps;
        std::size_t next;
        view::win32::Win32EventLoop& loop;
    };
    static Run* run = nullptr; // a timer procedure has no context of its own
    view::win32::Win32EventLoop loop;
    Run thisRun{steps, 0, loop};
    run = &thisRun;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (run->next >= run->steps.size()) return;
        run->steps[run->next++]();
        if (run->next == run->steps.size()) run->loop.quit();
    });
    ASSERT_NE(timer, 0u);
    loop.exec();
    KillTimer(nullptr, timer);
}

// What a loop that never hands WM_INPUT to the sink's window does with it: the
// events queued for this thread now are taken away unseen.
void loseQueuedRawInput() {
    ASSERT_TRUE(testing::waitFor([] { return HIWORD(GetQueueStatus(QS_RAWINPUT)) != 0; }));
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_INPUT, WM_INPUT, PM_REMOVE))
        DefWindowProcW(message.hwnd, message.message, message.wParam, message.lParam);
}

class RawInputKeyMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The keys go to another program's window, as when the user types
        // there; Wine drops keyboard input while no window is in front.
        SystemForegroundCalls calls;
        Win32WindowManager(calls).bringToFront(fromHwnd(target_.window()));
        ASSERT_TRUE(testing::waitFor([&] { return GetForegroundWindow() == target_.window(); }));
    }

    testing::TargetProcess target_{{L"v:key monitor target"}};
};

TEST_F(RawInputKeyMonitorTest, KeysOfOtherProgramsReachItThroughTheMessageLoopItsOwnDoNot) {
    RawInputKeyMonitor monitor;
    KeyState tapped, marked, held, afterwards;
    runTicks({
        [] {
            tap(kKeypad4);
            tap(kKeypad3, kTavrenInputMarker);
            press(kKeypad1);
        },
        [&] {
            tapped = monitor.query(KeypadDigit::D4);
            marked = monitor.query(KeypadDigit::D3);
            held = monitor.query(KeypadDigit::D1);
            release(kKeypad1);
        },
        [&] { afterwards = monitor.query(KeypadDigit::D1); },
    });
    EXPECT_TRUE(tapped.pressedSinceLastQuery);
    EXPECT_FALSE(tapped.downNow);
    EXPECT_FALSE(marked.any());
    EXPECT_TRUE(held.downNow);
    EXPECT_FALSE(afterwards.any());
}

TEST_F(RawInputKeyMonitorTest, AKeyWhoseReleaseWentUnseenIsNotHeldForEver) {
    RawInputKeyMonitor monitor;
    KeyState held;
    std::vector<KeyState> later;
    runTicks({
        [] { press(kKeypad5); },
        [&] {
            held = monitor.query(KeypadDigit::D5);
            release(kKeypad5);
            loseQueuedRawInput();
        },
        [&] { later.push_back(monitor.query(KeypadDigit::D5)); },
        [&] { later.push_back(monitor.query(KeypadDigit::D5)); },
    });
    EXPECT_TRUE(held.downNow);
    for (const KeyState& state : later)
        EXPECT_FALSE(state.any());
}

// The key is still down, but its release may come while nobody watches.
TEST_F(RawInputKeyMonitorTest, StoppingMonitoringForgetsAHeldKey) {
    RawInputKeyMonitor monitor;
    KeyState held, afterStop;
    runTicks({
        [] { press(kKeypad6); },
        [&] {
            held = monitor.query(KeypadDigit::D6);
            monitor.monitoringStopped();
            afterStop = monitor.query(KeypadDigit::D6);
            release(kKeypad6);
        },
    });
    EXPECT_TRUE(held.downNow);
    EXPECT_FALSE(afterStop.any());
}

// The monitor runs on a thread that reads no key messages, as Tavren's does
// while a game has the keyboard: that thread's key state does not show Num
// Lock as the keys go (under Wine it does not even show it as it was before
// the thread began).
TEST_F(RawInputKeyMonitorTest, NumLockIsTakenFromTheKeysNotFromTheKeyStateOfAThreadReadingNone) {
    std::vector<KeyState> seen;
    std::thread([&] {
        RawInputKeyMonitor monitor;
        const auto look = [&] { seen.push_back(monitor.query(KeypadDigit::D7)); };
        runTicks({
            [] { tap(kKeypad7); },
            [&] {
                look(); // on
                pressNumLock();
                tapWithNumLockOff(kKeypad7);
            },
            [&] {
                look(); // off
                pressNumLock();
                tap(kKeypad7);
            },
            [&] { look(); }, // on again
        });
    }).join();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].pressedSinceLastQuery);
    EXPECT_FALSE(seen[1].any());
    EXPECT_TRUE(seen[2].pressedSinceLastQuery);
}

} // namespace
} // namespace tavren::backend::win32
