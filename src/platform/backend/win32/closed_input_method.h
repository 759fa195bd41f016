#pragma once

#include <windows.h>

namespace tavren::backend::win32 {

// The input method of the window that receives an order, closed for the order
// and opened again, in the conversion mode it had, when this goes away.
//
// An open Japanese input method composes the characters SendInput delivers as
// Unicode input (VK_PACKET) like typed ones: kana held in the composition
// while other characters go ahead, and the order's Enter only committing it.
// Another process's input method is reached through the default IME window of
// the window that has the focus in the target's thread, with WM_IME_CONTROL
// (IMC_GETOPENSTATUS / IMC_SETOPENSTATUS and the conversion mode), each
// message bounded: a window that does not answer is left as it is.
//
// The keys must all have been read before this goes away: a sent message is
// handled ahead of queued input, so a reopening sent earlier would overtake
// them.
class ClosedInputMethod {
public:
    explicit ClosedInputMethod(HWND target);
    ~ClosedInputMethod();
    ClosedInputMethod(const ClosedInputMethod&) = delete;
    ClosedInputMethod& operator=(const ClosedInputMethod&) = delete;

    // Whether an open input method was closed for the order.
    bool closed() const { return closed_; }

private:
    HWND imeWindow_ = nullptr;
    bool closed_ = false;
    LRESULT conversionMode_ = 0;
    bool knowsConversionMode_ = false;
};

} // namespace tavren::backend::win32
