#include "attached_input.h"

namespace tavren::backend::win32 {

AttachedInput::AttachedInput(HWND window)
    : own_(::GetCurrentThreadId()), other_(::GetWindowThreadProcessId(window, nullptr)),
      attached_(other_ != 0 && other_ != own_ && ::AttachThreadInput(own_, other_, TRUE) != 0) {}

AttachedInput::~AttachedInput() {
    if (attached_) ::AttachThreadInput(own_, other_, FALSE);
}

} // namespace tavren::backend::win32
