#include "platform/win32/raw_input_key_monitor.h"

#include <stdexcept>

namespace tavren::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TavrenRawInputSink";

void registerWindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    // A second monitor finds the class already there.
    ::RegisterClassExW(&windowClass);
}

} // namespace

RawInputKeyMonitor::RawInputKeyMonitor() {
    registerWindowClass();
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!window_) throw std::runtime_error("cannot create the raw input window");
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01; // generic desktop
    device.usUsage = 0x06;     // keyboard
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = window_;
    if (!::RegisterRawInputDevices(&device, 1, sizeof device)) {
        ::DestroyWindow(window_);
        throw std::runtime_error("cannot register for raw keyboard input");
    }
}

RawInputKeyMonitor::~RawInputKeyMonitor() {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = 0x06;
    device.dwFlags = RIDEV_REMOVE;
    ::RegisterRawInputDevices(&device, 1, sizeof device);
    ::DestroyWindow(window_);
}

services::KeyState RawInputKeyMonitor::query(services::KeypadDigit key) {
    drainInput();
    // The toggle as the input queue last saw it; the key events just taken
    // have brought it up to date.
    const bool numLockOn = (::GetKeyState(VK_NUMLOCK) & 1) != 0;
    return table_.query(key, numLockOn);
}

void RawInputKeyMonitor::drainInput() {
    MSG message;
    while (::PeekMessageW(&message, window_, WM_INPUT, WM_INPUT, PM_REMOVE)) {
        take(reinterpret_cast<HRAWINPUT>(message.lParam));
        // Raw input taken out of the queue must still be handed on for cleanup.
        ::DefWindowProcW(message.hwnd, message.message, message.wParam, message.lParam);
    }
}

void RawInputKeyMonitor::take(HRAWINPUT input) {
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) ==
        static_cast<UINT>(-1))
        return;
    if (raw.header.dwType != RIM_TYPEKEYBOARD) return;
    RawKeyEvent event;
    event.makeCode = raw.data.keyboard.MakeCode;
    event.extended = (raw.data.keyboard.Flags & RI_KEY_E0) != 0;
    event.released = (raw.data.keyboard.Flags & RI_KEY_BREAK) != 0;
    event.extraInformation = raw.data.keyboard.ExtraInformation;
    table_.onKey(event);
}

} // namespace tavren::win32
