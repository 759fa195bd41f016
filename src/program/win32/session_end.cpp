#include "session_end.h"

#include "platform/backend/win32/window_class.h"

#include <utility>

namespace tavren::program {
namespace {

const wchar_t* sessionEndClass(WNDPROC proc) {
    static const wchar_t* const name =
        backend::win32::registerPlainWindowClass(L"TavrenSessionEnd", proc);
    return name;
}

} // namespace

SessionEnd::SessionEnd(const services::EventLoop& loop, std::function<void()> end)
    : loop_(loop), end_(std::move(end)) {
    // Never shown, and kept off the taskbar and Alt+Tab should anything show it.
    window_ =
        ::CreateWindowExW(WS_EX_TOOLWINDOW, sessionEndClass(&SessionEnd::windowProc), L"", WS_POPUP,
                          0, 0, 0, 0, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
}

SessionEnd::~SessionEnd() {
    if (window_) ::DestroyWindow(window_);
}

LRESULT CALLBACK SessionEnd::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SessionEnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_QUERYENDSESSION:
        // Nothing of Tavren's needs the user's word: its data is its settings,
        // saved without asking once the end is certain.
        return TRUE;
    case WM_ENDSESSION:
        // FALSE: another program refused, and the session goes on.
        if (wParam && self && !self->loop_.ending()) self->end_();
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tavren::program
