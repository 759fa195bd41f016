#include "platform/view/win32/win32_event_loop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tavren::view::win32 {
namespace {

// A window of this thread whose messages run the test's handler.
class HandlerWindow {
public:
    explicit HandlerWindow(std::function<void(UINT)> handler) : handler_(std::move(handler)) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = procedure;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TavrenEventLoopTest";
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  cls.hInstance, this);
    }
    ~HandlerWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<HandlerWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<HandlerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message >= WM_APP) {
            self->handler_(message);
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    }

    std::function<void(UINT)> handler_;
    HWND window_ = nullptr;
};

TEST(Win32EventLoop, DispatchesWhatIsPendingAndReturns) {
    Win32EventLoop loop;
    std::vector<UINT> seen;
    HandlerWindow window([&](UINT m) { seen.push_back(m); });
    PostMessageW(window.get(), WM_APP + 1, 0, 0);
    PostMessageW(window.get(), WM_APP + 2, 0, 0);
    loop.processPendingEvents();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    loop.processPendingEvents(); // nothing pending: returns at once
    EXPECT_EQ(seen.size(), 2u);
}

TEST(Win32EventLoop, HandlerMayProcessEventsNestedInside) {
    Win32EventLoop loop;
    std::vector<UINT> seen;
    HandlerWindow* self = nullptr;
    HandlerWindow window([&](UINT m) {
        seen.push_back(m);
        if (m == WM_APP + 1) {
            PostMessageW(self->get(), WM_APP + 2, 0, 0);
            loop.processPendingEvents(); // the nested message runs in here
            seen.push_back(WM_APP + 100);
        }
    });
    self = &window;
    PostMessageW(window.get(), WM_APP + 1, 0, 0);
    loop.processPendingEvents();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 100}));
}

TEST(Win32EventLoop, QuitEndsTheLoopEvenWhenANestedPassTookTheQuitMessage) {
    Win32EventLoop loop;
    HandlerWindow window([&](UINT m) {
        if (m == WM_APP + 1) {
            loop.quit();
            loop.processPendingEvents();
        }
    });
    EXPECT_FALSE(loop.ending());
    PostMessageW(window.get(), WM_APP + 1, 0, 0);
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_TRUE(loop.ending());
}

int timerTicks = 0;

TEST(Win32EventLoop, TimerTicksArriveThroughTheLoop) {
    Win32EventLoop loop;
    timerTicks = 0;
    // A thread timer: its WM_TIMER carries the callback that dispatching runs.
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++timerTicks; });
    ASSERT_NE(timer, 0u);
    const DWORD start = GetTickCount();
    while (timerTicks < 2 && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        loop.processPendingEvents();
    }
    KillTimer(nullptr, timer);
    EXPECT_GE(timerTicks, 2);
}

} // namespace
} // namespace tavren::view::win32
