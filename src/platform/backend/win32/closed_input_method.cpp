#include "closed_input_method.h"

#include <imm.h>

#include <cwchar>
#include <optional>

namespace tavren::backend::win32 {

namespace {

// WM_IME_CONTROL's commands (immdev.h, which MinGW lacks).
constexpr WPARAM kGetConversionMode = 0x0001;
constexpr WPARAM kSetConversionMode = 0x0002;
constexpr WPARAM kGetOpenStatus = 0x0005;
constexpr WPARAM kSetOpenStatus = 0x0006;

// An input method answers at once; a window that takes longer is busy, and
// the order waits no longer for it.
constexpr UINT kAnswerTimeoutMs = 200;

std::optional<LRESULT> control(HWND imeWindow, WPARAM command, LPARAM value = 0) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(imeWindow, WM_IME_CONTROL, command, value,
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs, &answer))
        return std::nullopt;
    return static_cast<LRESULT>(answer);
}

// The window that takes the target thread's keys: its focus, else the target.
HWND focusOf(HWND target) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = ::GetWindowThreadProcessId(target, nullptr);
    if (thread != 0 && ::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr)
        return info.hwndFocus;
    return target;
}

// The thread's default IME window: ImmGetDefaultIMEWnd answers for another
// process's window on Windows; where it does not (Wine answers only for this
// thread's), the thread's top-level window of the IME class is the same one.
HWND defaultImeWindowOf(HWND window) {
    if (const HWND found = ::ImmGetDefaultIMEWnd(window)) return found;
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(window, nullptr),
        [](HWND candidate, LPARAM result) -> BOOL {
            wchar_t className[8] = {};
            ::GetClassNameW(candidate, className, 8);
            if (std::wcscmp(className, L"IME") != 0) return TRUE;
            *reinterpret_cast<HWND*>(result) = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

ClosedInputMethod::ClosedInputMethod(HWND target) {
    const HWND imeWindow = defaultImeWindowOf(focusOf(target));
    if (imeWindow == nullptr) return;
    const auto open = control(imeWindow, kGetOpenStatus);
    if (!open || *open == 0) return;
    // Read before closing: some input methods reset the mode as they close.
    const auto mode = control(imeWindow, kGetConversionMode);
    if (!control(imeWindow, kSetOpenStatus, FALSE)) return;
    imeWindow_ = imeWindow;
    closed_ = true;
    knowsConversionMode_ = mode.has_value();
    conversionMode_ = mode.value_or(0);
}

ClosedInputMethod::~ClosedInputMethod() {
    if (!closed_) return;
    control(imeWindow_, kSetOpenStatus, TRUE);
    if (knowsConversionMode_) control(imeWindow_, kSetConversionMode, conversionMode_);
}

} // namespace tavren::backend::win32
