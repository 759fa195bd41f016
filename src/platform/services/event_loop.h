#pragma once

namespace tavren::services {

// The application's event loop, as the behaviour needs it.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Processes the events pending now, once. Handlers may run nested inside.
    virtual void processPendingEvents() = 0;
    // Ends the program once the current handler returns.
    virtual void quit() = 0;
};

} // namespace tavren::services
