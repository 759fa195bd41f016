#pragma once

#include <windows.h>

namespace tavren::backend::win32 {

// This thread shares the input queue of the thread that owns a window, from
// construction to destruction (AttachThreadInput): the synchronous key state
// that GetKeyState reports is then that queue's, which changes as the other
// thread reads its key messages. Attaching resets the shared key state.
class AttachedInput {
public:
    explicit AttachedInput(HWND window);
    ~AttachedInput();
    AttachedInput(const AttachedInput&) = delete;
    AttachedInput& operator=(const AttachedInput&) = delete;

    // False when the queues could not be joined: the window is gone, is this
    // thread's own, or lives on another desktop.
    bool attached() const { return attached_; }

private:
    DWORD own_;
    DWORD other_;
    bool attached_;
};

} // namespace tavren::backend::win32
