#include "platform/backend/win32/raw_input_key_monitor.h"

#include "window_class.h"

#include <stdexcept>

namespace tavren::backend::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TavrenRawInputSink";

// Num Lock's toggle as the system has it when monitoring starts. GetKeyState
// answers from this thread's key state, which Windows brings into step with the
// system's, toggles included, when the thread asks with no keyboard input of
// its own waiting, as here before any window is shown (GetAsyncKeyState has no
// toggle bit). Wine 8 leaves out a toggle made before the thread's input
// began; the first keypad digit corrects that. From here on the raw events
// keep it.
bool numLockAtStart() {
    return (::GetKeyState(VK_NUMLOCK) & 1) != 0;
}

// The keypad key's virtual key with Num Lock on (VK_NUMPADn) and the one it
// has with Num Lock off or Shift held (an arrow or editing key, VK_CLEAR for 5):
// the system's key state knows the key by whichever it went down as.
constexpr BYTE kVirtualKeysOfDigit[10][2] = {
    {VK_NUMPAD0, VK_INSERT}, {VK_NUMPAD1, VK_END},   {VK_NUMPAD2, VK_DOWN},  {VK_NUMPAD3, VK_NEXT},
    {VK_NUMPAD4, VK_LEFT},   {VK_NUMPAD5, VK_CLEAR}, {VK_NUMPAD6, VK_RIGHT}, {VK_NUMPAD7, VK_HOME},
    {VK_NUMPAD8, VK_UP},     {VK_NUMPAD9, VK_PRIOR}};

bool downForTheSystem(services::KeypadDigit key) {
    const auto& keys = kVirtualKeysOfDigit[static_cast<std::size_t>(key)];
    return ((::GetAsyncKeyState(keys[0]) | ::GetAsyncKeyState(keys[1])) & 0x8000) != 0;
}

} // namespace

RawInputKeyMonitor::RawInputKeyMonitor() : table_(numLockAtStart()) {
    registerPlainWindowClass(kWindowClass, procedure);
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), this);
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
    // Input still queued for the window finds no monitor behind it.
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
}

services::KeyState RawInputKeyMonitor::query(services::KeypadDigit key) {
    // A key-up can go unseen (raw input does not reach us while an elevated
    // window or a secure desktop has the keyboard): a key is held only while
    // the system agrees, or it would press at every tick for ever.
    return table_.query(key, table_.held(key) && downForTheSystem(key));
}

void RawInputKeyMonitor::monitoringStopped() {
    // A key let go while nobody watched must not press when monitoring is
    // switched on again; a key still down is held again at its next repeat.
    table_.forgetHeldKeys();
}

LRESULT CALLBACK RawInputKeyMonitor::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(l);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_INPUT) {
        auto* self =
            reinterpret_cast<RawInputKeyMonitor*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) self->take(reinterpret_cast<HRAWINPUT>(l));
    }
    // For WM_INPUT too: the system frees the input's data there.
    return ::DefWindowProcW(window, message, w, l);
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
    event.virtualKey = raw.data.keyboard.VKey;
    table_.onKey(event);
}

} // namespace tavren::backend::win32
