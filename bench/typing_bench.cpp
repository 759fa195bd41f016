// Typing throughput and window-manager latency of the X11 keyboard, beside
// xdotool, against a Qt line edit, a GTK 3 entry and an xterm on the current
// (virtual) desktop.
#include "backend/x11/desktop.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/x11_keyboard.h"
#include "typing_loss.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace tavren;
using x11test::Desktop;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

using tavren::benchmark::codePoints;
using tavren::benchmark::lost;

std::string asciiText(std::size_t length) {
    static const std::string letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.";
    std::mt19937 random(7);
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += letters[random() % letters.size()];
    return text;
}

std::string japaneseText(std::size_t length) {
    static const std::vector<std::string> characters = {
        "攻", "撃", "開", "始", "！", "＠", "北", "南", "東", "西", "前", "進", "退", "却", "集",
        "合", "待", "機", "突", "入", "援", "護", "回", "復", "全", "員", "注", "意", "敵", "味",
        "方", "右", "左", "上", "下", "門", "城", "橋", "森", "川", "い", "ろ", "は", "に", "ほ",
        "へ", "と", "ち", "り", "ぬ", "る", "を", "わ", "か", "よ", "た", "れ", "そ", "つ", "ね"};
    std::mt19937 random(11);
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += characters[random() % characters.size()];
    return text;
}

struct Row {
    std::string tool;
    std::string text;
    std::size_t characters = 0;
    double seconds = 0;
    std::size_t lostCharacters = 0;
    double wmLatencyMs = 0;
    double restoreLatencyMs = -1; // after the bindings were given back; -1: none
};

// Time until the window manager has carried out an activation request sent right
// after the typing: how long it stays busy re-reading the keyboard map.
double windowManagerLatencyMs(Desktop& desktop, Window other, Window back) {
    Display* display = desktop.display();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = other;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    const auto start = Clock::now();
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    while (desktop.activeWindow() != other && Clock::now() - start < 60s)
        std::this_thread::sleep_for(1ms);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    desktop.activate(back);
    return ms;
}

// Emptied, not removed: the terminal's reader keeps its log open.
void truncate(const std::string& log) {
    if (std::FILE* file = std::fopen(log.c_str(), "w")) std::fclose(file);
}

std::string awaitLine(const std::string& log) {
    const std::string content = Desktop::waitForFile(
        log, [](const std::string& s) { return !s.empty() && s.back() == '\n'; }, 60000ms);
    return content.empty() ? content : content.substr(0, content.size() - 1);
}

Row runOurs(Desktop& desktop, backend::x11::X11Keyboard& keyboard, Window target, Window other,
            const std::string& log, const std::string& name, const std::string& text,
            const std::vector<unsigned long>& mapping) {
    truncate(log);
    const auto keys = *delivery::parseSendKeys(text + "\r\n");
    const auto start = Clock::now();
    const auto result = keyboard.type(static_cast<services::WindowHandle>(target), keys);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    Row row{"tavren X11Keyboard", name, codePoints(text), seconds, 0, 0};
    row.wmLatencyMs = windowManagerLatencyMs(desktop, other, target);
    row.lostCharacters =
        result == services::TypeResult::Typed ? lost(text, awaitLine(log)) : codePoints(text);
    // The bindings linger for a later order and are given back in the
    // background: how busy that leaves the window manager, and xdotool
    // after it finds the keycodes free again.
    if (desktop.keyboardMapping() != mapping) {
        desktop.keyboardMappingBecomes(mapping, 20s);
        row.restoreLatencyMs = windowManagerLatencyMs(desktop, other, target);
    }
    return row;
}

Row runXdotool(Desktop& desktop, Window target, Window other, const std::string& log,
               const std::string& name, const std::string& text, const std::string& options) {
    truncate(log);
    const std::string path = desktop.directory() + "/xdotool-text";
    {
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
    const auto start = Clock::now();
    Desktop::run("xdotool type " + options + " --file '" + path + "'; xdotool key Return");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    Row row{"xdotool type " + (options.empty() ? std::string("(default delay)") : options),
            name,
            codePoints(text),
            seconds,
            0,
            0};
    row.wmLatencyMs = windowManagerLatencyMs(desktop, other, target);
    row.lostCharacters = lost(text, awaitLine(log));
    return row;
}

struct Target {
    std::string name;
    std::unique_ptr<x11test::SpawnedWindow> window;
    std::string log;
};

} // namespace

int main() {
    Desktop desktop;
    const std::string dir = desktop.directory();
    const auto other = desktop.startTarget(dir + "/other.log", "Bench Other");
    std::vector<Target> targets;
    targets.push_back(
        {"Qt line edit", desktop.startTarget(dir + "/qt.log", "Bench Qt"), dir + "/qt.log"});
    targets.push_back(
        {"GTK 3 entry", desktop.startGtkTarget(dir + "/gtk.log", "Bench GTK"), dir + "/gtk.log"});
    targets.push_back(
        {"xterm", desktop.startTerminal(dir + "/term.log", "Bench Term"), dir + "/term.log"});
    for (const auto& target : targets)
        if (!target.window || !other) {
            std::fprintf(stderr, "a target did not start (run under scripts/with-desktop.sh)\n");
            return 1;
        }
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard(nullptr, ledger);

    const auto mapping = desktop.keyboardMapping();
    const std::string ascii = asciiText(500);
    const std::string japanese = japaneseText(100);
    const double idleLatency =
        windowManagerLatencyMs(desktop, other->window(), targets[0].window->window());

    std::printf("\nTyping on Xvfb + openbox\n");
    std::printf("%-13s %-30s %-13s %9s %12s %6s %16s %18s\n", "target", "tool", "text", "seconds",
                "chars/s", "lost", "WM latency (ms)", "at restore (ms)");
    for (auto& target : targets) {
        const Window window = target.window->window();
        desktop.activate(window);
        std::vector<Row> rows;
        rows.push_back(runOurs(desktop, keyboard, window, other->window(), target.log, "500 ASCII",
                               ascii, mapping));
        rows.push_back(runOurs(desktop, keyboard, window, other->window(), target.log,
                               "100 Japanese", japanese, mapping));
        for (const std::string options : {"", "--delay 0"}) {
            rows.push_back(runXdotool(desktop, window, other->window(), target.log, "500 ASCII",
                                      ascii, options));
            rows.push_back(runXdotool(desktop, window, other->window(), target.log, "100 Japanese",
                                      japanese, options));
        }
        for (const auto& row : rows) {
            std::printf("%-13s %-30s %-13s %9.3f %12.0f %6zu %16.1f", target.name.c_str(),
                        row.tool.c_str(), row.text.c_str(), row.seconds,
                        row.characters / row.seconds, row.lostCharacters, row.wmLatencyMs);
            if (row.restoreLatencyMs >= 0)
                std::printf(" %18.1f\n", row.restoreLatencyMs);
            else
                std::printf(" %18s\n", "-");
        }
        std::fflush(stdout);
    }
    std::printf("WM latency: time until openbox carries out an activation request sent right "
                "after the typing (idle: %.1f ms)\n"
                "at restore: the same right after Tavren gave its bindings back, %d ms after "
                "the order\n",
                idleLatency, static_cast<int>(backend::x11::X11Keyboard::kBindingIdleTime.count()));
    return 0;
}
