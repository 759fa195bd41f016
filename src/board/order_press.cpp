#include "order_press.h"

#include <string>
#include <string_view>

namespace tavren::board {

namespace {

constexpr int kMonitoringIntervalMs = 100;

// Keypad digit n presses the button after index n: button 0 has no hot key.
constexpr int kFirstHotKeyButton = 1;

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (auto p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

// Other mouse buttons send the at sign where the caption has a backslash or a
// yen sign, the two characters Japanese keyboards share one key for. Matched
// exactly: other width variants are left alone.
std::string withAtSigns(std::string caption) {
    replaceAll(caption, "\\", "@");
    replaceAll(caption, "\xEF\xBF\xA5", "\xEF\xBC\xA0"); // "￥" -> "＠"
    return caption;
}

} // namespace

OrderPress::OrderPress(Controls controls, delivery::SendPipeline& pipeline,
                       services::KeyMonitor& keys)
    : c_(controls), pipeline_(pipeline), keys_(keys) {
    c_.tavren.forEach([this](int index, controls::Button& button) {
        button.mouseDown.connect(
            [this, index](const controls::MouseEvent& e) { tavren_MouseDown(index, e); });
        button.mouseUp.connect(
            [this, index](const controls::MouseEvent& e) { tavren_MouseUp(index, e); });
    });
    c_.chk_Key.clicked.connect([this] { chk_Key_Click(); });
    c_.Timer1.ticked.connect([this] { Timer1_Timer(); });
}

void OrderPress::tavren_MouseDown(int index, const controls::MouseEvent& e) {
    // Whether the button is shown does not matter: hot keys reach hidden ones.
    const controls::Button* button = c_.tavren.find(index);
    if (!button) return;
    const std::string& caption = button->caption();
    c_.sendtext.setText(e.button == controls::kLeftButton ? caption : withAtSigns(caption));
    pipeline_.btn_Send_MouseDown(controls::MouseEvent{});
}

void OrderPress::tavren_MouseUp(int, const controls::MouseEvent&) {}

void OrderPress::chk_Key_Click() {
    const bool on = c_.chk_Key.value() == 1;
    // The key state remembers a tap until it is next asked for. Digits typed into
    // other programs while monitoring was off were not meant as orders: forget
    // them, or switching on would send orders nobody pressed for. A key held
    // down now is still down at the first tick.
    if (on && c_.Timer1.interval() == 0) forgetEarlierTaps();
    // Switching off: a key seen held may be let go while nobody watches.
    if (!on && c_.Timer1.interval() != 0) keys_.monitoringStopped();
    c_.Timer1.setInterval(on ? kMonitoringIntervalMs : 0);
}

void OrderPress::forgetEarlierTaps() {
    for (int digit = 0; digit <= 9; ++digit)
        keys_.query(static_cast<services::KeypadDigit>(digit));
}

void OrderPress::Timer1_Timer() {
    // Every key is examined at every tick, in ascending order, and each press
    // runs to its end (keystrokes included) before the next key is looked at.
    for (int digit = 0; digit <= 9; ++digit) {
        const auto key = static_cast<services::KeypadDigit>(digit);
        if (keys_.query(key).any())
            tavren_MouseDown(kFirstHotKeyButton + digit, controls::MouseEvent{});
    }
}

} // namespace tavren::board
