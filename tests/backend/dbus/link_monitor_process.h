#pragma once

#include "platform/services/conversation.h"

#include <QProcess>
#include <QStringList>

#include <string>

namespace tavren::dbus_tests {

// tavren-link-monitor run as the peer of one test; ended with the test.
class LinkMonitorProcess {
public:
    explicit LinkMonitorProcess(const QStringList& arguments);
    ~LinkMonitorProcess();

    // Opens the conversation as soon as the monitor serves it; false when the
    // monitor ended or did not serve it within ten seconds.
    bool openWhenServed(services::Conversation& conversation, const std::string& application,
                        const std::string& topic, const std::string& item);
    // What the monitor printed, once it is at least expectedSize bytes long (or
    // after ten seconds, whichever comes first).
    std::string outputOfAtLeast(std::size_t expectedSize);
    // Ends the monitor now, as a crash would.
    void kill();
    std::string errors();

private:
    QProcess process_;
    std::string output_;
};

} // namespace tavren::dbus_tests
