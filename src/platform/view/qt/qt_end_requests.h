#pragma once

#include "platform/services/event_loop.h"

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace tavren::view::qt {

// Runs the program's own shut-down (`end`: what closing the main window does)
// when the program is told to end from outside: a descriptor that becomes
// readable (the end signals' pipe), the desktop session ending (the session
// manager asks for the data to be committed), or the toolkit leaving its loop
// by itself, or the toolkit asked to quit (a session manager's "die"). Each is acted upon from the
// event loop, between handlers or inside a pass of event processing as the user's own close would
// be; nothing is done once the program is ending anyway.
//
// Made once start-up is over: an end asked for during start-up waits until
// then, so that what is saved is the settings that start-up has loaded.
class QtEndRequests : public QObject {
public:
    QtEndRequests(const services::EventLoop& loop, int signalled, std::function<void()> end);

protected:
    // The toolkit answers a quit request by closing every window and gives up
    // at the first that refuses; the nick window only hides on close, so
    // whether the program ended would depend on the windows' order. Tavren
    // takes the request itself and ends through its own shut-down.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestEnd();

    const services::EventLoop& loop_;
    std::function<void()> end_;
    QSocketNotifier* signalled_;
};

} // namespace tavren::view::qt
