#include "input_method/input_method_control.h"

#include "x11/desktop.h"

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

class Fcitx5Control : public InputMethodControl {
public:
    bool setMode(InputMode mode) override {
        const bool done =
            Desktop::run(call(mode == InputMode::Direct ? "Deactivate" : "Activate")) == 0;
        return done && this->mode() == mode;
    }
    InputMode mode() override {
        return output(call("State")).find("(2,)") != std::string::npos ? InputMode::Hiragana
                                                                       : InputMode::Direct;
    }

private:
    static std::string call(const std::string& method) {
        return "gdbus call --session -d org.fcitx.Fcitx5 -o /controller -m "
               "org.fcitx.Fcitx.Controller1." +
               method + " 2>&1";
    }
};

// One engine for every window: mozc (composing kana from the start) or the
// US keyboard.
class IbusControl : public InputMethodControl {
public:
    bool setMode(InputMode mode) override {
        // Says it failed when the engine was the one asked for already: the
        // engine it reports afterwards tells.
        Desktop::run(std::string("ibus engine ") +
                     (mode == InputMode::Direct ? "xkb:us::eng" : "mozc-jp"));
        return this->mode() == mode;
    }
    InputMode mode() override {
        return output("ibus engine").rfind("mozc", 0) == 0 ? InputMode::Hiragana
                                                           : InputMode::Direct;
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
    // In kana mode the first Enter commits the composition, the second sends the
    // line; directly the first sends the letters and the second an empty line.
    if (mode == InputMode::Hiragana && letters == "ka") return "か\n";
    return letters + "\n\n";
}

} // namespace tavren
