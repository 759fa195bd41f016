#pragma once

#include <functional>

namespace tavren::win32 {

// Runs `job` on a thread of its own that has a message queue and no window,
// and returns once it has ended. Meanwhile this thread answers the messages
// other threads send it (as SendMessageTimeout does while it waits) and
// leaves its other messages queued. False, with nothing run, when no thread
// could be started.
bool runOnHelperThread(const std::function<void()>& job);

} // namespace tavren::win32
