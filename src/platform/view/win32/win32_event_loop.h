#pragma once

#include "platform/services/event_loop.h"

#include <functional>
#include <utility>

#include <windows.h>

namespace tavren::view::win32 {

// The thread's message loop.
class Win32EventLoop : public services::EventLoop {
public:
    // Takes a message before it is translated and dispatched, and says whether
    // it did (the dialog manager's keyboard navigation in the program's own
    // windows, which dispatches what it takes).
    using MessageFilter = std::function<bool(MSG&)>;

    Win32EventLoop() = default;
    explicit Win32EventLoop(MessageFilter filter) : filter_(std::move(filter)) {}

    // Dispatches the messages queued now (input, timers, posted messages);
    // handlers they run may call this again.
    void processPendingEvents() override;
    // Posts the quit message; exec() returns once it is reached.
    void quit() override;
    bool ending() const override { return ending_; }

    // Runs until quit(); returns the program's exit code.
    int exec();

private:
    void dispatch(MSG& msg) const;

    MessageFilter filter_;
    bool ending_ = false;
    bool quitSeen_ = false;
};

} // namespace tavren::view::win32
