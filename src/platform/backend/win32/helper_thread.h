#pragma once

#include "unique_handle.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace tavren::backend::win32 {

// Runs `job` on a thread of its own that has a message queue and no window,
// and returns once it has ended. Meanwhile this thread answers the messages
// other threads send it (as SendMessageTimeout does while it waits) and
// leaves its other messages queued. False, with nothing run, when no thread
// could be started.
bool runOnHelperThread(const std::function<void()>& job);

// Waits until `object` is signalled, for at most `milliseconds` (INFINITE: no
// limit), answering meanwhile the messages other threads send this one: a
// thread that waits for another one that sends to its windows would otherwise
// wait for ever. True when the object was signalled.
bool waitAnsweringSentMessages(HANDLE object, DWORD milliseconds);

// A thread of its own with a message loop, for work that must never hold the
// user-interface thread and that gets its answers as messages. The thread
// runs `start` first; then `wake` after each call of wake() (calls made
// before it ran are answered by one run), dispatching its messages meanwhile;
// and `stop` last, when this goes away. Ending waits at most `endWaitMs` for
// the thread, answering sent messages meanwhile; a thread that is still busy
// then (in a call that waits for a hung program) is left to end with the
// process, and the handlers stay alive for it.
class MessageLoopThread {
public:
    struct Handlers {
        std::function<void()> start;
        std::function<void()> wake;
        std::function<void()> stop;
    };

    MessageLoopThread(Handlers handlers, DWORD endWaitMs);
    ~MessageLoopThread();
    MessageLoopThread(const MessageLoopThread&) = delete;
    MessageLoopThread& operator=(const MessageLoopThread&) = delete;

    // False when no thread could be started: nothing will ever run.
    bool running() const { return thread_.valid(); }
    void wake();

private:
    struct Shared {
        explicit Shared(Handlers h)
            : handlers(std::move(h)), wakeEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
        Handlers handlers;
        UniqueHandle wakeEvent; // auto-reset: one run of `wake` answers every call before it
        std::atomic<bool> ending{false};
    };
    static HANDLE start(const std::shared_ptr<Shared>& shared);
    static DWORD WINAPI run(void* shared);

    std::shared_ptr<Shared> shared_;
    DWORD endWaitMs_;
    UniqueHandle thread_;
};

} // namespace tavren::backend::win32
