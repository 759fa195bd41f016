#include "end_signals.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace tavren::backend::posix {
namespace {

// The write end of the one installed pipe, for the handler: all a signal
// handler may reach is static storage.
std::atomic<int> signalledPipe{-1};

extern "C" void noteEndSignal(int signal) {
    const int saved = errno;
    const int fd = signalledPipe.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(signal);
        // A full pipe already holds an unread request: this one adds nothing.
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

EndSignals::PipeEnds EndSignals::openPipe() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe for end signals");
    return {ends[0], ends[1]};
}

EndSignals::EndSignals() : EndSignals(openPipe()) {}

EndSignals::EndSignals(PipeEnds ends) : readEnd_(ends.read), writeEnd_(ends.write) {
    int expected = -1;
    if (!signalledPipe.compare_exchange_strong(expected, writeEnd_.get()))
        throw std::logic_error("end signals are already taken");

    struct sigaction action {};
    action.sa_handler = noteEndSignal;
    sigemptyset(&action.sa_mask);
    // Calls that the signal interrupts go on as if nothing happened.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &previous_[i]);
        // Ignored when we were started (nohup, a background job of a shell):
        // whoever started us meant that signal not to end us.
        if (previous_[i].sa_handler == SIG_IGN) continue;
        ::sigaction(kSignals[i], &action, nullptr);
    }
}

EndSignals::~EndSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previous_[i], nullptr);
    signalledPipe.store(-1);
}

bool EndSignals::takeArrived() {
    char bytes[64];
    bool any = false;
    while (::read(readEnd_.get(), bytes, sizeof bytes) > 0)
        any = true;
    return any;
}

} // namespace tavren::backend::posix
