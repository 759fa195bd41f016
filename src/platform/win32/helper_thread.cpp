#include "helper_thread.h"

#include "unique_handle.h"

#include <windows.h>

namespace tavren::win32 {

namespace {

DWORD WINAPI runJob(void* job) {
    MSG ignored;
    // A thread has a message queue from its first such call on.
    ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);
    (*static_cast<const std::function<void()>*>(job))();
    return 0;
}

} // namespace

bool runOnHelperThread(const std::function<void()>& job) {
    const UniqueHandle thread(
        ::CreateThread(nullptr, 0, runJob, const_cast<std::function<void()>*>(&job), 0, nullptr));
    if (!thread.valid()) return false;
    HANDLE handle = thread.get();
    while (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG ignored;
        // Delivers the sent messages waiting, takes nothing else.
        ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    ::WaitForSingleObject(handle, INFINITE);
    return true;
}

} // namespace tavren::win32
