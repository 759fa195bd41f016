#pragma once

#include "descriptor.h"

#include <csignal>
#include <iterator>

namespace tavren::backend::posix {

// Turns the requests to end the program that arrive as signals (SIGTERM from
// `kill` and at logout, SIGHUP when the session or terminal goes, SIGINT from
// Ctrl+C) into a readable pipe, so that the event loop can end the program
// through its own shut-down, settings saved, instead of the signal's default
// action ending it on the spot. Once installed, a signal only writes one byte
// to the pipe: what it asks for happens when the event loop reads it. A signal
// that was ignored when the program started stays ignored.
//
// One instance at a time (a signal handler can reach only one pipe); the
// previous handlers come back and the pipe closes when it goes.
class EndSignals {
public:
    EndSignals();
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // Readable once an end signal has arrived; never blocks.
    int descriptor() const { return readEnd_.get(); }
    // Reads away what has arrived; true when there was anything.
    bool takeArrived();

    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

private:
    struct PipeEnds {
        int read;
        int write;
    };
    explicit EndSignals(PipeEnds ends);
    static PipeEnds openPipe();

    Descriptor readEnd_;
    Descriptor writeEnd_;
    struct sigaction previous_[std::size(kSignals)];
};

} // namespace tavren::backend::posix
