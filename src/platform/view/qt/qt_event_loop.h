#pragma once

#include "platform/services/event_loop.h"

namespace tavren::view::qt {

// The application's Qt event loop. Needs a QApplication.
//
// quit() ends the program as the main window's unload asks: every window
// disappears at once, no further user input is dispatched (a pass of
// processPendingEvents() after quit does nothing, so no handler starts after the
// unload), and exec() returns as soon as the running handler gives control back,
// also when quit() came before exec() was entered (start-up failing early).
class QtEventLoop : public services::EventLoop {
public:
    void processPendingEvents() override;
    void quit() override;
    bool ending() const override { return quitRequested_; }

    // Runs the event loop until quit(); returns the exit code for main().
    int exec();

private:
    bool quitRequested_ = false;
};

} // namespace tavren::view::qt
