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
    // Whether quit() was asked: the program is ending. A handler that gets
    // control back from processPendingEvents() checks this, because the end may
    // have been asked in there; once ending, nothing may leave the program any
    // more (no keystroke, no command to another program, no window brought to
    // the front).
    virtual bool ending() const = 0;
};

} // namespace tavren::services
