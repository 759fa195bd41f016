// Typing into windows behind an input method in a Japanese mode (fcitx5 or
// ibus with mozc composing kana), as input_method_bench.sh sets the desktop up:
// press to delivered for a short ASCII order, and a 500-character mixed order,
// into a GTK 3 entry, a Qt line edit and an xterm, beside `xdotool type` of the
// same text and Enter. A line counts as intact when it arrived exactly.
// Qt before X11's headers, whose macros (Bool, Status) clash with it.
#include <QCoreApplication>

#include "backend/x11/desktop.h"
#include "backend/x11/typing_texts.h"
#include "delivery/send_keys.h"
#include "input_method/input_method_control.h"
#include "platform/backend/dbus/desktop_input_method.h"
#include "platform/backend/x11/x11_keyboard.h"
#include "typing_loss.h"

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

// The complete lines: a terminal's reader writes a line byte by byte.
std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!in.eof()) lines.push_back(line);
    return lines;
}

// Runs `send` and returns the milliseconds until the log has one more line
// (or the time-out), with that line. The keys are typed on this thread, as
// Tavren types them on its main thread; another watches the log.
std::pair<double, std::string> timeLine(const std::string& log, const std::function<void()>& send,
                                        std::chrono::milliseconds timeout = 15s) {
    const std::size_t before = linesOf(log).size();
    const auto start = Clock::now();
    std::atomic<double> ms{0};
    std::string line = "(nothing)";
    std::thread watcher([&] {
        while (Clock::now() - start < timeout) {
            const auto lines = linesOf(log);
            if (lines.size() > before) {
                ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                line = lines[before];
                return;
            }
            std::this_thread::sleep_for(200us);
        }
        ms = std::chrono::duration<double, std::milli>(timeout).count();
    });
    send();
    watcher.join();
    return {ms.load(), line};
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
Figures measure(const std::string& log, const std::string& text, int presses, Send send,
                std::chrono::milliseconds timeout) {
    Figures figures;
    std::vector<double> times;
    for (int i = 0; i < presses; ++i) {
        const auto [ms, line] = timeLine(
            log, [&] { send(text); }, timeout);
        times.push_back(ms);
        figures.intact += line == text;
        if (line != text && std::getenv("TAVREN_BENCH_SHOW_LOST"))
            std::fprintf(stderr, "sent %s\ngot  %s\n", text.substr(0, 60).c_str(),
                         line.substr(0, 80).c_str());
        ++figures.total;
        // A line left composing would swallow the next: commit it.
        if (line != text) Desktop::run("xdotool key Return");
        std::this_thread::sleep_for(50ms);
    }
    figures.medianMs = median(times);
    return figures;
}

} // namespace

int main(int argc, char* argv[]) {
    // Tavren serves ibus an engine of its own, through Qt's event loop.
    QCoreApplication app(argc, argv);
    auto control = InputMethodControl::forThisDesktop();
    if (!control) {
        std::fprintf(stderr, "no input method runs on this desktop (see input_method_bench.sh)\n");
        return 2;
    }
    const char* which = std::getenv("TAVREN_TEST_INPUT_METHOD");
    Desktop desktop;
    backend::dbus::DesktopInputMethod inputMethod;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger, &inputMethod};

    const std::string shortOrder = "attack the north now";
    std::string longOrder;
    for (int seed = 0; longOrder.size() < 1200; ++seed)
        longOrder += x11test::mixedJapaneseLine(seed, 40) + " go ";
    const std::size_t longCharacters = benchmark::codePoints(longOrder);

    std::printf("%s with mozc composing kana; median of 10 presses, and one long order\n\n", which);
    std::printf("| target | who | 20 ASCII: press to delivered | intact | %zu mixed: chars/s | "
                "intact |\n|---|---|---|---|---|---|\n",
                longCharacters);
    struct Target {
        const char* name;
        std::unique_ptr<x11test::SpawnedWindow> (Desktop::*start)(const std::string&,
                                                                  const std::string&);
    };
    const Target targets[] = {{"xterm", &Desktop::startTerminal},
                              {"GTK 3 entry", &Desktop::startGtkTarget},
                              {"Qt line edit", &Desktop::startTarget}};
    // Every window first: after xdotool's keyboard-map changes the window
    // manager is too busy for a while to manage new windows.
    struct Started {
        const char* name;
        std::string log;
        std::unique_ptr<x11test::SpawnedWindow> window;
    };
    std::vector<Started> started;
    for (const auto& target : targets) {
        const std::string log = desktop.directory() + "/" + target.name + ".log";
        started.push_back({target.name, log,
                           (desktop.*target.start)(log, std::string("IM Bench ") + target.name)});
    }
    for (auto& [name, log, window] : started) {
        // The window's input context exists once the window has read its focus.
        bool ready = false;
        for (int attempt = 0; window && attempt < 30 && !ready; ++attempt)
            ready = desktop.activate(window->window()) && control->setMode(InputMode::Hiragana);
        if (!ready) {
            std::printf("| %s | (could not %s) | | | | |\n", name,
                        !window ? "start it" : "activate it with mozc on");
            continue;
        }
        const auto tavren = [&](const std::string& text) {
            const auto keys = delivery::parseSendKeys(text + "~");
            keyboard.type(static_cast<services::WindowHandle>(window->window()), *keys);
        };
        const auto xdotool = [&](const std::string& text) {
            Desktop::run("xdotool type --delay 0 '" + text + "' && xdotool key Return");
        };
        const Figures tavrenShort = measure(log, shortOrder, 10, tavren, 15s);
        const Figures tavrenLong = measure(log, longOrder, 1, tavren, 30s);
        control->setMode(InputMode::Hiragana);
        // Composed, xdotool's lines mostly never arrive: the Enter only commits.
        const Figures xdotoolShort = measure(log, shortOrder, 10, xdotool, 2s);
        const Figures xdotoolLong = measure(log, longOrder, 1, xdotool, 10s);
        const auto rate = [&](const Figures& f) {
            return static_cast<double>(longCharacters) / (f.medianMs / 1000.0);
        };
        std::printf("| %s | Tavren | %.1f ms | %d/%d | %.0f | %d/%d |\n", name,
                    tavrenShort.medianMs, tavrenShort.intact, tavrenShort.total, rate(tavrenLong),
                    tavrenLong.intact, tavrenLong.total);
        const auto xdotoolFigure = [](const Figures& f, const char* format, double value) {
            char text[32];
            std::snprintf(text, sizeof text, format, value);
            return f.intact ? std::string(text) : std::string("-");
        };
        std::printf("| %s | xdotool | %s | %d/%d | %s | %d/%d |\n", name,
                    xdotoolFigure(xdotoolShort, "%.1f ms", xdotoolShort.medianMs).c_str(),
                    xdotoolShort.intact, xdotoolShort.total,
                    xdotoolFigure(xdotoolLong, "%.0f", rate(xdotoolLong)).c_str(),
                    xdotoolLong.intact, xdotoolLong.total);
        std::fflush(stdout);
    }
    return 0;
}
