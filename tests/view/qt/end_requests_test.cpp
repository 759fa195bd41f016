// Ends asked for from outside the program reach its shut-down through the event
// loop: a real signal raised in this process, and the toolkit quitting.
#include "platform/backend/posix/end_signals.h"
#include "platform/view/qt/qt_end_requests.h"
#include "platform/view/qt/qt_event_loop.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace tavren;

namespace {

class EndRequestsTest : public ::testing::Test {
protected:
    // Counts the shut-downs asked for; the first one ends the loop as the main
    // window's unload does.
    void shutDown() {
        ++shutDowns;
        loop.quit();
    }
    void TearDown() override {
        // A quit outside any running loop stays pending in Qt: run it off.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QApplication::exec();
    }

    view::qt::QtEventLoop loop;
    int shutDowns = 0;
};

TEST_F(EndRequestsTest, ASignalDuringStartUpIsActedUponOnceTheLoopRuns) {
    backend::posix::EndSignals endSignals;
    ::raise(SIGTERM); // start-up is still running: nothing happens yet
    view::qt::QtEndRequests requests(loop, endSignals.descriptor(), [this] { shutDown(); });
    EXPECT_EQ(shutDowns, 0);
    EXPECT_EQ(loop.exec(), 0); // returns: the shut-down ended the loop
    EXPECT_EQ(shutDowns, 1);
}

TEST_F(EndRequestsTest, SignalsInsideAPassOfEventProcessingEndTheProgramThere) {
    backend::posix::EndSignals endSignals;
    view::qt::QtEndRequests requests(loop, endSignals.descriptor(), [this] { shutDown(); });
    bool endedInsideThePass = false;
    QTimer::singleShot(0, [&] {
        // A handler that waits, processing events, as a press waits for its window.
        ::raise(SIGINT);
        ::raise(SIGHUP);
        for (int pass = 0; pass < 100 && !loop.ending(); ++pass)
            loop.processPendingEvents();
        endedInsideThePass = loop.ending();
    });
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_TRUE(endedInsideThePass);
    EXPECT_EQ(shutDowns, 1); // two signals, one shut-down
}

TEST_F(EndRequestsTest, TheToolkitQuittingByItselfRunsTheShutDown) {
    backend::posix::EndSignals endSignals;
    view::qt::QtEndRequests requests(loop, endSignals.descriptor(), [this] { shutDown(); });
    // As the session manager's "die" makes the toolkit do.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QApplication::exec();
    EXPECT_EQ(shutDowns, 1);
}

TEST_F(EndRequestsTest, NothingMoreOnceTheProgramIsEnding) {
    backend::posix::EndSignals endSignals;
    view::qt::QtEndRequests requests(loop, endSignals.descriptor(), [this] { shutDown(); });
    QTimer::singleShot(0, [&] {
        loop.quit(); // the main window was closed
        ::raise(SIGTERM);
    });
    EXPECT_EQ(loop.exec(), 0); // aboutToQuit comes too
    QCoreApplication::processEvents();
    EXPECT_EQ(shutDowns, 0);
}

} // namespace
