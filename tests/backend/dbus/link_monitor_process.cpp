#include "link_monitor_process.h"

#include <chrono>
#include <thread>

namespace tavren::dbus_tests {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);
} // namespace

LinkMonitorProcess::LinkMonitorProcess(const QStringList& arguments) {
    process_.start(QStringLiteral(TAVREN_LINK_MONITOR), arguments);
    process_.waitForStarted();
}

LinkMonitorProcess::~LinkMonitorProcess() {
    kill();
}

bool LinkMonitorProcess::openWhenServed(services::Conversation& conversation,
                                        const std::string& application, const std::string& topic,
                                        const std::string& item) {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline && process_.state() == QProcess::Running) {
        if (conversation.open(application, topic, item)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string LinkMonitorProcess::outputOfAtLeast(std::size_t expectedSize) {
    const auto deadline = Clock::now() + kPatience;
    while (output_.size() < expectedSize && Clock::now() < deadline) {
        process_.waitForReadyRead(100);
        output_ += process_.readAllStandardOutput().toStdString();
    }
    return output_;
}

void LinkMonitorProcess::kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
}

std::string LinkMonitorProcess::errors() {
    return process_.readAllStandardError().toStdString();
}

} // namespace tavren::dbus_tests
