#pragma once

#include "platform/services/event_loop.h"

namespace tavren::win32 {

// The thread's message loop.
class Win32EventLoop : public services::EventLoop {
public:
    // Dispatches the messages queued now (input, timers, posted messages);
    // handlers they run may call this again.
    void processPendingEvents() override;
    // Posts the quit message; exec() returns once it is reached.
    void quit() override;
    bool ending() const override { return ending_; }

    // Runs until quit(); returns the program's exit code.
    int exec();

private:
    bool ending_ = false;
    bool quitSeen_ = false;
};

} // namespace tavren::win32
