// How long the IRC link holds its caller on Windows: opening the conversation
// and handing over the start-up announcement and a nick command, with the real
// tavren-link-monitor.exe answering, never answering, and with no server at
// all. Each case is timed over a few runs; the median and the slowest print.
#include "link_monitor_process.h"
#include "platform/backend/win32/dde_conversation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace tavren;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    std::vector<double> open, execute, close;
};

void print(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("  %-34s median %7.2f ms   slowest %7.2f ms\n", label, ms[ms.size() / 2],
                ms.back());
}

// Reads the answers as the program's message loop would, for at most a second.
void readAnswers(const backend::win32::DdeConversation& link) {
    const auto end = Clock::now() + std::chrono::seconds(1);
    while (link.unanswered() != 0 && Clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(1);
    }
}

// One start-up's worth of link traffic, then the conversation's end (after
// reading the answers, if there are any to read).
void timeOnce(Figures& figures, bool answering) {
    auto start = Clock::now();
    auto link =
        std::make_unique<backend::win32::DdeConversation>(services::NoDiagnostics::instance());
    const bool opened = link->open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1");
    figures.open.push_back(msSince(start));
    start = Clock::now();
    link->execute("Text1,/privmsg $# Connect.... OK");
    link->execute("Text1,/nick WS_taro\r\n");
    figures.execute.push_back(msSince(start));
    (void)opened;
    if (answering) readAnswers(*link);
    start = Clock::now();
    link.reset();
    figures.close.push_back(msSince(start));
}

void run(
    const char* label, bool answering,
    const std::function<std::unique_ptr<backend::win32::testing::LinkMonitorProcess>()>& peer) {
    Figures figures;
    for (int i = 0; i < 5; ++i) {
        const auto monitor = peer();
        timeOnce(figures, answering);
    }
    std::printf("%s\n", label);
    print("open", figures.open);
    print("announcement + nick handed over", figures.execute);
    print("conversation ended", figures.close);
}

} // namespace

int main() {
    using backend::win32::testing::LinkMonitorProcess;
    run("tavren-link-monitor.exe answering", true,
        [] { return std::make_unique<LinkMonitorProcess>(); });
    run("tavren-link-monitor.exe --never-answer (a hung IRC client)", false,
        [] { return std::make_unique<LinkMonitorProcess>(L"--never-answer"); });
    run("no server", false, [] { return std::unique_ptr<LinkMonitorProcess>(); });
    return 0;
}
