#include "helper_thread.h"

namespace tavren::backend::win32 {

namespace {

DWORD WINAPI runJob(void* job) {
    MSG ignored;
    // A thread has a message queue from its first such call on.
    ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);
    (*static_cast<const std::function<void()>*>(job))();
    return 0;
}

} // namespace

bool waitAnsweringSentMessages(HANDLE object, DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const ULONGLONG now = ::GetTickCount64();
            left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG ignored;
        // Delivers the sent messages waiting, takes nothing else.
        ::PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool runOnHelperThread(const std::function<void()>& job) {
    const UniqueHandle thread(
        ::CreateThread(nullptr, 0, runJob, const_cast<std::function<void()>*>(&job), 0, nullptr));
    if (!thread.valid()) return false;
    waitAnsweringSentMessages(thread.get(), INFINITE);
    return true;
}

MessageLoopThread::MessageLoopThread(Handlers handlers, DWORD endWaitMs)
    : shared_(std::make_shared<Shared>(std::move(handlers))), endWaitMs_(endWaitMs),
      thread_(start(shared_)) {}

HANDLE MessageLoopThread::start(const std::shared_ptr<Shared>& shared) {
    if (!shared->wakeEvent.valid()) return nullptr;
    // The thread holds the shared part for as long as it runs, this object or not.
    auto* forThread = new std::shared_ptr<Shared>(shared);
    HANDLE thread = ::CreateThread(nullptr, 0, run, forThread, 0, nullptr);
    if (thread == nullptr) delete forThread;
    return thread;
}

MessageLoopThread::~MessageLoopThread() {
    if (!running()) return;
    shared_->ending = true;
    ::SetEvent(shared_->wakeEvent.get());
    waitAnsweringSentMessages(thread_.get(), endWaitMs_);
}

void MessageLoopThread::wake() {
    if (running()) ::SetEvent(shared_->wakeEvent.get());
}

DWORD WINAPI MessageLoopThread::run(void* parameter) {
    const std::shared_ptr<Shared> shared = *static_cast<std::shared_ptr<Shared>*>(parameter);
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    MSG message;
    // A thread has a message queue from its first such call on.
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (shared->handlers.start) shared->handlers.start();
    HANDLE wake = shared->wakeEvent.get();
    while (!shared->ending) {
        const DWORD woken =
            ::MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_FAILED) break;
        if (woken == WAIT_OBJECT_0 && !shared->ending && shared->handlers.wake)
            shared->handlers.wake();
        while (!shared->ending && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    if (shared->handlers.stop) shared->handlers.stop();
    return 0;
}

} // namespace tavren::backend::win32
