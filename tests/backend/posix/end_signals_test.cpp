// End signals against the real kernel: the signals are raised in this process.
#include "platform/backend/posix/end_signals.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <stdexcept>

using tavren::backend::posix::EndSignals;

namespace {

bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

int othersCaught = 0;
extern "C" void countOther(int) {
    ++othersCaught;
}

} // namespace

TEST(EndSignalsTest, EachEndSignalOnlyMakesThePipeReadable) {
    EndSignals signals;
    EXPECT_FALSE(readable(signals.descriptor()));
    EXPECT_FALSE(signals.takeArrived());
    for (int signal : EndSignals::kSignals) {
        // With the default action in force this would end the test program.
        ASSERT_EQ(::raise(signal), 0);
        EXPECT_TRUE(readable(signals.descriptor())) << signal;
        EXPECT_TRUE(signals.takeArrived()) << signal;
        EXPECT_FALSE(readable(signals.descriptor())) << signal;
    }
}

TEST(EndSignalsTest, ManySignalsBeforeTheLoopReadsThemNeverBlock) {
    EndSignals signals;
    for (int i = 0; i < 100000; ++i)
        ::raise(SIGTERM); // far more than the pipe holds
    EXPECT_TRUE(signals.takeArrived());
    EXPECT_FALSE(signals.takeArrived());
}

TEST(EndSignalsTest, TheHandlersThatWereThereComeBackAfterwards) {
    struct sigaction other {};
    other.sa_handler = countOther;
    sigemptyset(&other.sa_mask);
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGHUP, &other, &saved), 0);
    {
        EndSignals signals;
        ::raise(SIGHUP);
        EXPECT_EQ(othersCaught, 0);
        EXPECT_TRUE(signals.takeArrived());
    }
    ::raise(SIGHUP);
    EXPECT_EQ(othersCaught, 1);
    ::sigaction(SIGHUP, &saved, nullptr);
}

TEST(EndSignalsTest, ASignalIgnoredAtTheStartStaysIgnored) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &saved), 0); // as nohup starts a program
    {
        EndSignals signals;
        ::raise(SIGHUP);
        EXPECT_FALSE(signals.takeArrived());
        ::raise(SIGTERM); // the others are still taken
        EXPECT_TRUE(signals.takeArrived());
    }
    ::sigaction(SIGHUP, &saved, nullptr);
}

TEST(EndSignalsTest, OnlyOneInstanceAtATime) {
    EndSignals signals;
    EXPECT_THROW(EndSignals second, std::logic_error);
    ::raise(SIGINT); // still the first one's
    EXPECT_TRUE(signals.takeArrived());
}
