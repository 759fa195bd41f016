#include "system_foreground_calls.h"

#include "handles.h"

namespace tavren::win32 {

services::WindowHandle SystemForegroundCalls::foreground() {
    return fromHwnd(::GetForegroundWindow());
}

bool SystemForegroundCalls::setForeground(services::WindowHandle window) {
    return ::SetForegroundWindow(toHwnd(window)) != FALSE;
}

bool SystemForegroundCalls::isMinimised(services::WindowHandle window) {
    return ::IsIconic(toHwnd(window)) != FALSE;
}

void SystemForegroundCalls::restore(services::WindowHandle window) {
    ::ShowWindow(toHwnd(window), SW_RESTORE);
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

void SystemForegroundCalls::tapAlt() {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_MENU;
        key.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(VK_MENU, MAPVK_VK_TO_VSC));
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

} // namespace tavren::win32
