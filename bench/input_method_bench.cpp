// Typing into windows behind an input method in a Japanese mode (fcitx5 or
// ibus with mozc composing kana), as input_method_bench.sh sets the desktop up:
// press to delivered for a short ASCII order, and a 500-character mixed order,
// into a GTK 3 entry, a Qt line edit and an xterm, beside `xdotool type` of the
// same text and Enter. A line counts as intact when it arrived exactly.
#include "delivery/send_keys.h"
#include "input_method/input_method_control.h"
#include "platform/dbus/desktop_input_method.h"
#include "platform/x11/x11_keyboard.h"
#include "x11/desktop.h"
#include "x11/typing_texts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace tavren;
using x11test::Desktop;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs `send` and returns the milliseconds until the log has one more line
// (or the time-out), with that line.
std::pair<double, std::string> timeLine(const std::string& log, const std::function<void()>& send,
                                        std::chrono::milliseconds timeout = 15s) {
    const std::size_t before = linesOf(log).size();
    std::atomic<bool> sent{false};
    const auto start = Clock::now();
    std::thread sender([&] {
        send();
        sent = true;
    });
    std::vector<std::string> lines;
    auto arrived = Clock::now();
    while (Clock::now() - start < timeout) {
        lines = linesOf(log);
        arrived = Clock::now();
        if (lines.size() > before) break;
        std::this_thread::sleep_for(200us);
    }
    sender.join();
    const double ms = std::chrono::duration<double, std::milli>(arrived - start).count();
    return {ms, lines.size() > before ? lines[before] : std::string("(nothing)")};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Figures {
    double medianMs = 0;
    int intact = 0;
    int total = 0;
};

template <typename Send>
Figures measure(const std::string& log, const std::string& text, int presses, Send send) {
    Figures figures;
    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        const auto [ms, line] = timeLine(log, [&] { send(text); });
        times.push_back(ms);
        figures.intact += line == text;
        ++figures.total;
        // A line left composing would swallow the next: commit it.
        if (line != text) Desktop::run("xdotool key Return");
        std::this_thread::sleep_for(50ms);
    }
    figures.medianMs = median(times);
    return figures;
}

} // namespace

int main() {
    auto control = InputMethodControl::forThisDesktop();
    if (!control) {
        std::fprintf(stderr, "no input method runs on this desktop (see input_method_bench.sh)\n");
        return 2;
    }
    const char* which = std::getenv("TAVREN_TEST_INPUT_METHOD");
    Desktop desktop;
    dbus::DesktopInputMethod inputMethod;
    x11::SynthesisLedger ledger;
    x11::X11Keyboard keyboard{nullptr, ledger, &inputMethod};

    const std::string shortOrder = "attack the north now";
    std::string longOrder;
    for (int seed = 0; longOrder.size() < 1200; ++seed)
        longOrder += x11test::mixedJapaneseLine(seed, 40) + " go ";
    if (!control->takesFullWidthAt())
        for (auto at = longOrder.find("＠"); at != std::string::npos; at = longOrder.find("＠"))
            longOrder.replace(at, std::string("＠").size(), "！");
    std::size_t longCharacters = 0;
    for (unsigned char c : longOrder)
        longCharacters += (c & 0xC0) != 0x80;

    std::printf("%s with mozc composing kana; median of 10 presses, and one long order\n\n", which);
    std::printf("| target | who | 20 ASCII: press to delivered | intact | %zu mixed: chars/s | "
                "intact |\n|---|---|---|---|---|---|\n",
                longCharacters);
    struct Target {
        const char* name;
        std::unique_ptr<x11test::SpawnedWindow> (Desktop::*start)(const std::string&,
                                                                  const std::string&);
    };
    const Target targets[] = {{"GTK 3 entry", &Desktop::startGtkTarget},
                              {"Qt line edit", &Desktop::startTarget},
                              {"xterm", &Desktop::startTerminal}};
    for (const auto& target : targets) {
        const std::string log = desktop.directory() + "/" + target.name + ".log";
        auto window = (desktop.*target.start)(log, "IM Bench Target");
        if (!window || !desktop.activate(window->window()) ||
            !control->setMode(InputMode::Hiragana)) {
            std::printf("| %s | (could not start) | | | | |\n", target.name);
            continue;
        }
        const auto tavren = [&](const std::string& text) {
            const auto keys = delivery::parseSendKeys(text + "~");
            keyboard.type(static_cast<services::WindowHandle>(window->window()), *keys);
        };
        const auto xdotool = [&](const std::string& text) {
            Desktop::run("xdotool type --delay 0 '" + text + "' && xdotool key Return");
        };
        const Figures tavrenShort = measure(log, shortOrder, 10, tavren);
        const Figures tavrenLong = measure(log, longOrder, 1, tavren);
        control->setMode(InputMode::Hiragana);
        const Figures xdotoolShort = measure(log, shortOrder, 10, xdotool);
        const Figures xdotoolLong = measure(log, longOrder, 1, xdotool);
        const auto rate = [&](const Figures& f) {
            return static_cast<double>(longCharacters) / (f.medianMs / 1000.0);
        };
        std::printf("| %s | Tavren | %.1f ms | %d/%d | %.0f | %d/%d |\n", target.name,
                    tavrenShort.medianMs, tavrenShort.intact, tavrenShort.total, rate(tavrenLong),
                    tavrenLong.intact, tavrenLong.total);
        std::printf("| %s | xdotool | %.1f ms | %d/%d | %.0f | %d/%d |\n", target.name,
                    xdotoolShort.medianMs, xdotoolShort.intact, xdotoolShort.total,
                    rate(xdotoolLong), xdotoolLong.intact, xdotoolLong.total);
        std::fflush(stdout);
    }
    return 0;
}
