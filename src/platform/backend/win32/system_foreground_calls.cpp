#include "system_foreground_calls.h"

#include "handles.h"
#include "injected_input.h"

namespace tavren::backend::win32 {

namespace {

// How long a window's thread may take to answer before it counts as hung. A
// game reads its messages once a frame; one that has not in this long is not
// one to join our input to.
constexpr UINT kHungAnswerLimitMs = 100;

} // namespace

services::WindowHandle SystemForegroundCalls::foreground() {
    return fromHwnd(::GetForegroundWindow());
}

bool SystemForegroundCalls::setForeground(services::WindowHandle window) {
    return ::SetForegroundWindow(toHwnd(window)) != FALSE;
}

bool SystemForegroundCalls::exists(services::WindowHandle window) {
    return ::IsWindow(toHwnd(window)) != FALSE;
}

bool SystemForegroundCalls::isMinimised(services::WindowHandle window) {
    return ::IsIconic(toHwnd(window)) != FALSE;
}

void SystemForegroundCalls::restore(services::WindowHandle window) {
    ::ShowWindow(toHwnd(window), SW_RESTORE);
}

bool SystemForegroundCalls::isHung(services::WindowHandle window) {
    const HWND hwnd = toHwnd(window);
    // The system calls a thread hung after seconds without reading; one that
    // has just stopped is caught by the message it does not answer.
    if (::IsHungAppWindow(hwnd)) return true;
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHungAnswerLimitMs,
                                 &answer) == 0;
}

std::uint32_t SystemForegroundCalls::threadOf(services::WindowHandle window) {
    return ::GetWindowThreadProcessId(toHwnd(window), nullptr);
}

std::uint32_t SystemForegroundCalls::currentThread() {
    return ::GetCurrentThreadId();
}

bool SystemForegroundCalls::attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) {
    return ::AttachThreadInput(ours, theirs, attach ? TRUE : FALSE) != FALSE;
}

void SystemForegroundCalls::sendEmptyInput() {
    // No movement, no button: nothing for any window to receive, and no key
    // that could open a menu. Marked as ours, like every input we make.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwExtraInfo = kTavrenInputMarker;
    ::SendInput(1, &input, sizeof input);
}

std::chrono::microseconds SystemForegroundCalls::pause() {
    const auto start = std::chrono::steady_clock::now();
    // Messages sent to this thread are answered meanwhile: the window taking
    // the activation may be asking one of ours something.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_SENDMESSAGE, 0);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

} // namespace tavren::backend::win32
