#include "input_method/input_method_control.h"

#include "backend/x11/desktop.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tavren {
namespace {

using x11test::Desktop;
using namespace std::chrono_literals;

std::string output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe))
            out += buffer.data();
        pclose(pipe);
    }
    return out;
}

// What the input method's panel shows for mozc's mode in the focused window,
// after clicking the item labelled `pick` in mozc's mode menu when there is one;
// "" when the panel shows nothing.
std::string panel(const std::string& inputMethod, const std::string& pick = "") {
    std::string command = std::string(TAVREN_MODE_PANEL) + " " + inputMethod;
    if (!pick.empty()) command += " pick '" + pick + "'";
    std::string shown = output(command);
    if (!shown.empty() && shown.back() == '\n') shown.pop_back();
    return shown;
}

// mozc's state is the window's own, and its modes are mozc's once the window's
// input context is active.
class Fcitx5Control : public InputMethodControl {
public:
    bool setMode(InputMode mode) override {
        // A window's input context starts inactive: direct input needs no focus.
        if (mode == InputMode::Direct)
            return Desktop::run(call("Deactivate")) == 0 && this->mode() == mode;
        if (!windowHasFocus() || Desktop::run(call("Activate")) != 0) return false;
        const char* label = modeLabel(mode);
        // The panel's answer to the click is not the test: reading it anew is.
        if (label) panel("fcitx5", label);
        return this->mode() == mode;
    }
    InputMode mode() override {
        if (output(call("State")).find("(2,)") == std::string::npos) return InputMode::Direct;
        const std::string shown = panel("fcitx5");
        for (auto mode : {InputMode::Hiragana, InputMode::HalfWidthAlphanumeric})
            if (shown == modeLabel(mode)) return mode;
        return InputMode::Other;
    }

private:
    // fcitx5 acts on the input context that has its focus: the window's, once
    // the window's toolkit has made one and told fcitx5 of the focus, which may
    // come after the window manager's.
    static bool windowHasFocus() {
        for (int i = 0; i < 200; ++i) {
            if (output(call("DebugInfo")).find("focus:1") != std::string::npos) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    static std::string call(const std::string& method) {
        return "gdbus call --session -d org.fcitx.Fcitx5 -o /controller -m "
               "org.fcitx.Fcitx.Controller1." +
               method + " 2>&1";
    }
    // The mode's name in mozc's menu and on the panel.
    static const char* modeLabel(InputMode mode) {
        switch (mode) {
        case InputMode::Hiragana:
            return "Hiragana";
        case InputMode::HalfWidthAlphanumeric:
            return "Half ASCII";
        default:
            return nullptr;
        }
    }
};

// One engine for every window: mozc, in the mode picked from its menu, or the
// US keyboard. mozc keeps its mode while another engine stands in for it.
class IbusControl : public InputMethodControl {
public:
    bool setMode(InputMode mode) override {
        // Says it failed when the engine was the one asked for already: the
        // engine it reports afterwards tells.
        Desktop::run(std::string("ibus engine ") +
                     (mode == InputMode::Direct ? "xkb:us::eng" : "mozc-jp"));
        if (mode == InputMode::Hiragana) panel("ibus", "Hiragana");
        if (mode == InputMode::HalfWidthAlphanumeric) panel("ibus", "Latin");
        return this->mode() == mode;
    }
    InputMode mode() override {
        if (output("ibus engine").rfind("mozc", 0) != 0) return InputMode::Direct;
        // The panel shows mozc's mode by its symbol.
        const std::string shown = panel("ibus");
        if (shown == "あ") return InputMode::Hiragana;
        if (shown == "_A") return InputMode::HalfWidthAlphanumeric;
        return InputMode::Other;
    }
};

} // namespace

std::unique_ptr<InputMethodControl> InputMethodControl::forThisDesktop() {
    const char* which = std::getenv("TAVREN_TEST_INPUT_METHOD");
    if (!which) return nullptr;
    if (std::string(which) == "fcitx5") return std::make_unique<Fcitx5Control>();
    if (std::string(which) == "ibus") return std::make_unique<IbusControl>();
    return nullptr;
}

bool InputMethodControl::typeAsTheUser(const std::string& letters) {
    return Desktop::run("xdotool type --delay 20 '" + letters +
                        "' && sleep 0.1 && xdotool key Return && sleep 0.1 && "
                        "xdotool key Return") == 0;
}

std::string InputMethodControl::whatTheUserGets(const std::string& letters, InputMode mode) {
    // Where mozc composes (kana, or letters as they are) the first Enter commits
    // the composition and the second sends the line; directly the first sends
    // the letters and the second an empty line.
    if (mode == InputMode::Hiragana && letters == "ka") return "か\n";
    if (mode == InputMode::HalfWidthAlphanumeric) return letters + "\n";
    return letters + "\n\n";
}

void PrintTo(InputMode mode, std::ostream* out) {
    switch (mode) {
    case InputMode::Direct:
        *out << "Direct";
        return;
    case InputMode::Hiragana:
        *out << "Hiragana";
        return;
    case InputMode::HalfWidthAlphanumeric:
        *out << "HalfWidthAlphanumeric";
        return;
    case InputMode::Other:
        *out << "Other";
        return;
    }
}

} // namespace tavren
