// Press-to-delivered latency: from the call of the send pipeline's
// btn_Send_MouseDown to the order's line in the Qt test target's log, with the
// real X11 window manager and keyboard on the current (virtual) desktop. Once
// with the target already in front, once with another window in front, so that
// the pipeline's front wait has to bring the target forward first.
#include "delivery/send_pipeline.h"
#include "platform/controls/controls.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keyboard.h"
#include "platform/x11/x11_window_manager.h"
#include "x11/desktop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
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

Sample press(delivery::SendPipeline& pipeline, CountingEventLoop& events, const std::string& log,
             const std::string& text) {
    const std::size_t before = linesIn(log);
    events.passes = 0;
    const auto start = Clock::now();
    pipeline.btn_Send_MouseDown(controls::MouseEvent{});
    const auto returned = Clock::now();
    while (linesIn(log) <= before && Clock::now() - start < 10s)
        std::this_thread::sleep_for(200us);
    const auto delivered = Clock::now();
    const auto ms = [&](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(t - start).count();
    };
    return {ms(returned), ms(delivered), events.passes, lastLine(log) == text};
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

    x11::DisplayPtr display = x11::openDisplay(nullptr);
    x11::X11WindowManager windows(display.get());
    x11::SynthesisLedger ledger;
    x11::X11Keyboard keyboard(nullptr, ledger);
    CountingEventLoop events;
    PipelineControls c(target->window());
    delivery::SendPipeline pipeline(
        {c.combo_UO2, c.combo_UO, c.Combo_hWnd, c.chk_uo, c.sendtext, c.btn_Send}, windows, events,
        keyboard);

    const std::vector<std::pair<std::string, std::string>> texts = {
        {"20 ASCII", "Attack the gate now!"},
        {"20 Japanese", "北門へ全員集合し突入せよ援護射撃開始待機"},
    };
    std::vector<Row> rows;
    for (const auto& [name, text] : texts) {
        c.sendtext.setText(text);
        Row inFront{"target in front", name, {}};
        Row behind{"other window in front", name, {}};
        for (int i = 0; i < kPressesPerRow; ++i) {
            desktop.activate(target->window());
            inFront.samples.push_back(press(pipeline, events, log, text));
            desktop.activate(other->window());
            behind.samples.push_back(press(pipeline, events, log, text));
        }
        rows.push_back(std::move(inFront));
        rows.push_back(std::move(behind));
    }

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
    std::printf("passes: most event-processing passes one press's front wait needed (limit 21)\n");
    return 0;
}
