// Press-to-delivered latency: from the call of the send pipeline's
// btn_Send_MouseDown to the order's line in the Qt test target's log, with the
// real X11 window manager and keyboard on the current (virtual) desktop. Once
// with the target already in front, once with another window in front, so that
// the pipeline's front wait has to bring the target forward first. The line's
// arrival is seen by a watcher thread as it happens (the press itself returns
// only once the target has answered its pings). Beside it, `xdotool type` of
// the same text and Enter into the target in front, from its start to the line.
#include "backend/x11/desktop.h"
#include "delivery/send_pipeline.h"
#include "platform/backend/x11/x11_connection.h"
#include "platform/backend/x11/x11_keyboard.h"
#include "platform/backend/x11/x11_window_manager.h"
#include "platform/controls/controls.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

using namespace tavren;
using x11test::Desktop;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr int kPressesPerRow = 15;

// The pipeline's event processing between front checks. The bench has no
// toolkit whose events could be pending: it counts the passes the wait needed.
class CountingEventLoop : public services::EventLoop {
public:
    void processPendingEvents() override { ++passes; }
    void quit() override {}
    bool ending() const override { return false; }
    int passes = 0;
};

// The send box, the lists and the switches of the main window, as the pipeline
// sees them, with the target picked as send destination.
struct PipelineControls {
    controls::ComboBox combo_UO2{"combo_UO2", nullptr};
    controls::ComboBox combo_UO{"combo_UO", nullptr};
    controls::ComboBox Combo_hWnd{"Combo_hWnd", nullptr};
    controls::CheckBox chk_uo{"chk_uo", nullptr, "return"};
    controls::TextField sendtext{"sendtext", nullptr};
    controls::Button btn_Send{"btn_Send", nullptr, "送信"};

    explicit PipelineControls(Window target) {
        combo_UO2.addItem("Bench Target");
        combo_UO.addItem("Bench Target");
        Combo_hWnd.addItem(std::to_string(target));
        combo_UO2.setListIndex(0);
    }
};

std::size_t linesIn(const std::string& path) {
    std::ifstream in(path);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

std::string lastLine(const std::string& path) {
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line))
        last = line;
    return last;
}

// Notes the moment the log gains a line, from a thread of its own that sleeps
// on inotify between writes.
class LineWatcher {
public:
    explicit LineWatcher(const std::string& path)
        : fd_(inotify_init1(IN_NONBLOCK)), lines_(linesIn(path)) {
        inotify_add_watch(fd_, path.c_str(), IN_MODIFY | IN_CLOSE_WRITE);
        thread_ = std::thread([this, path] {
            while (!done_) {
                pollfd fd{fd_, POLLIN, 0};
                if (poll(&fd, 1, 20) <= 0) continue;
                char buffer[4096];
                while (read(fd_, buffer, sizeof buffer) > 0) {
                }
                const std::size_t now = linesIn(path);
                if (now != lines_) {
                    lastLineAt_ = Clock::now().time_since_epoch().count();
                    lines_ = now;
                }
            }
        });
    }
    ~LineWatcher() {
        done_ = true;
        thread_.join();
        close(fd_);
    }
    std::size_t lines() const { return lines_; }
    Clock::time_point lastLineAt() const {
        return Clock::time_point(Clock::duration(lastLineAt_.load()));
    }

private:
    int fd_;
    std::atomic<std::size_t> lines_;
    std::atomic<Clock::rep> lastLineAt_{0};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct Sample {
    double returnedMs = 0;  // btn_Send_MouseDown returned
    double deliveredMs = 0; // the line is in the log
    int passes = 0;
    bool intact = false;
};

struct Row {
    std::string situation;
    std::string text;
    std::vector<Sample> samples;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

// Waits for the line and times the start, the return and its arrival.
Sample timed(const LineWatcher& watcher, const std::string& log, const std::string& text,
             const std::function<int()>& send) {
    const std::size_t before = watcher.lines();
    const auto start = Clock::now();
    const int passes = send();
    const auto returned = Clock::now();
    while (watcher.lines() <= before && Clock::now() - start < 10s)
        std::this_thread::sleep_for(1ms);
    const auto ms = [&](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(t - start).count();
    };
    return {ms(returned), ms(watcher.lastLineAt()), passes, lastLine(log) == text};
}

Sample press(delivery::SendPipeline& pipeline, CountingEventLoop& events,
             const LineWatcher& watcher, const std::string& log, const std::string& text) {
    return timed(watcher, log, text, [&] {
        events.passes = 0;
        pipeline.btn_Send_MouseDown(controls::MouseEvent{});
        return events.passes;
    });
}

Sample xdotool(const Desktop& desktop, const LineWatcher& watcher, const std::string& log,
               const std::string& text) {
    const std::string path = desktop.directory() + "/xdotool-text";
    if (std::FILE* file = std::fopen(path.c_str(), "w")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
    return timed(watcher, log, text, [&] {
        Desktop::run("xdotool type --delay 0 --file '" + path + "'; xdotool key Return");
        return 0;
    });
}

// 20 characters drawn afresh for every press, so that each needs bindings of
// its own: the keyboard map changes on every press.
std::string freshJapanese(int press) {
    std::string text;
    for (int i = 0; i < 20; ++i) {
        const char32_t c = 0x4E00 + static_cast<char32_t>(press * 20 + i);
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

} // namespace

int main() {
    Desktop desktop;
    const std::string log = desktop.directory() + "/target.log";
    const auto other = desktop.startTarget(desktop.directory() + "/other.log", "Bench Other");
    const auto target = desktop.startTarget(log, "Bench Target");
    if (!target || !other) {
        std::fprintf(stderr, "the test target did not start (run under scripts/with-desktop.sh)\n");
        return 1;
    }

    const auto mappingBefore = desktop.keyboardMapping();
    backend::x11::DisplayPtr display = backend::x11::openDisplay(nullptr);
    backend::x11::X11WindowManager windows(display.get());
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard(nullptr, ledger);
    CountingEventLoop events;
    PipelineControls c(target->window());
    delivery::SendPipeline pipeline(
        {c.combo_UO2, c.combo_UO, c.Combo_hWnd, c.chk_uo, c.sendtext, c.btn_Send}, windows, events,
        keyboard);

    const std::vector<std::pair<std::string, std::string>> texts = {
        {"20 ASCII", "Attack the gate now!"},
        {"20 Japanese", "北門へ全員集合し突入せよ援護射撃開始待機"},
    };
    if (std::FILE* file = std::fopen(log.c_str(), "a")) std::fclose(file);
    LineWatcher watcher(log);
    std::vector<Row> rows;
    for (const auto& [name, text] : texts) {
        c.sendtext.setText(text);
        Row inFront{"target in front", name, {}};
        Row behind{"other window in front", name, {}};
        Row peer{"xdotool, in front", name, {}};
        for (int i = 0; i < kPressesPerRow; ++i) {
            desktop.activate(target->window());
            inFront.samples.push_back(press(pipeline, events, watcher, log, text));
            desktop.activate(other->window());
            behind.samples.push_back(press(pipeline, events, watcher, log, text));
        }
        // Tavren's bindings given back first: xdotool looks for keycodes
        // without any keysym.
        desktop.keyboardMappingBecomes(mappingBefore);
        desktop.activate(target->window());
        for (int i = 0; i < kPressesPerRow; ++i)
            peer.samples.push_back(xdotool(desktop, watcher, log, text));
        rows.push_back(std::move(inFront));
        rows.push_back(std::move(behind));
        rows.push_back(std::move(peer));
    }
    Row fresh{"in front, new chars", "20 Japanese", {}};
    desktop.activate(target->window());
    for (int i = 0; i < kPressesPerRow; ++i) {
        const std::string text = freshJapanese(i);
        c.sendtext.setText(text);
        fresh.samples.push_back(press(pipeline, events, watcher, log, text));
    }
    rows.push_back(std::move(fresh));

    std::printf("\nPress to delivered: btn_Send_MouseDown to the line in a Qt line edit's log\n"
                "(Xvfb + openbox, real X11 window manager and keyboard, %d presses a row)\n",
                kPressesPerRow);
    std::printf("%-22s %-12s %13s %13s %13s %13s %7s %7s\n", "situation", "text", "returned p50",
                "delivered p50", "delivered p90", "delivered max", "passes", "intact");
    for (const auto& row : rows) {
        std::vector<double> returned, delivered;
        int maxPasses = 0, intact = 0;
        for (const auto& s : row.samples) {
            returned.push_back(s.returnedMs);
            delivered.push_back(s.deliveredMs);
            maxPasses = std::max(maxPasses, s.passes);
            intact += s.intact ? 1 : 0;
        }
        std::printf("%-22s %-12s %10.2f ms %10.2f ms %10.2f ms %10.2f ms %7d %4d/%-2zu\n",
                    row.situation.c_str(), row.text.c_str(), percentile(returned, 0.5),
                    percentile(delivered, 0.5), percentile(delivered, 0.9),
                    percentile(delivered, 1.0), maxPasses, intact, row.samples.size());
    }
    std::printf("passes: most event-processing passes one press's front wait needed (limit 21)\n"
                "returned: btn_Send_MouseDown back, after the target answered its pings; for "
                "xdotool, its two commands ended\n"
                "new chars: every press needs its own bindings, so the keyboard map changes each "
                "time\n");
    return 0;
}
