// tavren.exe's start-up under Wine, as a user sees it: from starting the
// program until its main window is shown, and from then until the window
// answers a message (WM_NULL). Run beside a quiet desktop, then beside another
// program's top-level window whose thread has stopped reading its messages
// (win32_test_target.exe, suspended): a hung window that a broadcast to every
// top-level window would wait for. Median and slowest of 5 runs each.
#include "target_process.h"
#include "tavren_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace tavren::backend::win32::testing;
using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void print(const char* label, std::vector<double> ms) {
    if (ms.empty()) {
        std::printf("  %-40s no run showed the window\n", label);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("  %-40s median %7.1f ms   slowest %7.1f ms\n", label, ms[ms.size() / 2],
                ms.back());
}

// A first run (the prefix has no settings file unless someone left one): a
// few orders and no directive for the board's shape, so the start-up's first
// layout is the one that hides the unused buttons.
const char* const kOrderFile = "attack,FF8080\r\nretreat,8080FF\r\ngather\r\nheal,FFFF80\r\n";

void run(const char* label, bool hungWindow) {
    std::vector<double> shown;
    std::vector<double> answered;
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<TargetProcess> hung;
        if (hungWindow) {
            hung = std::make_unique<TargetProcess>(std::vector<std::wstring>{L"v:hung-bench"});
            hung->freeze();
        }
        const auto start = Clock::now();
        TavrenProcess tavren(kOrderFile);
        const auto seen = Clock::now();
        if (tavren.mainWindow() == nullptr) continue;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(tavren.mainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
        const auto answer = Clock::now();
        shown.push_back(msBetween(start, seen));
        answered.push_back(msBetween(seen, answer));
    }
    std::printf("%s\n", label);
    print("start to main window shown", shown);
    print("shown to first answer (WM_NULL)", answered);
}

} // namespace

// Both cases, or the one named: "quiet" or "hung".
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    if (only != "hung") run("tavren.exe on a quiet desktop", false);
    if (only != "quiet") run("tavren.exe beside a window that reads no messages", true);
    return 0;
}
