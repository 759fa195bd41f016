// Typing into windows whose input method (fcitx5 or ibus, with mozc) would
// compose the order's letters. Runs on a desktop that with_input_method.sh set
// up; the windows started here talk to that input method.
#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "backend/x11/typing_texts.h"
#include "delivery/send_keys.h"
#include "input_method/input_method_control.h"
#include "platform/backend/dbus/desktop_input_method.h"
#include "platform/backend/x11/x11_keyboard.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

using namespace tavren;
using services::TypeResult;
using x11test::Desktop;
using x11test::SpawnedWindow;

namespace {

enum class Toolkit { Gtk3, Qt6, Xterm };

struct ModeCase {
    std::string name;
    Toolkit toolkit;
    InputMode mode;
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << c.name;
}

class InputMethodTyping : public ::testing::TestWithParam<ModeCase> {
protected:
    void SetUp() override {
        control = InputMethodControl::forThisDesktop();
        ASSERT_TRUE(control) << "no input method runs on this desktop";
        log = desktop.directory() + "/target.log";
        // Once more with a new window when the mode could not be set: under
        // load the toolkit's focus now and then never reaches the input
        // method, and the window is then no use to the test.
        bool modeSet = false;
        for (int attempt = 0; attempt < 2 && !modeSet; ++attempt) {
            target.reset(); // its title is the new one's
            target = startTarget();
            ASSERT_TRUE(target);
            ASSERT_TRUE(desktop.activate(target->window()));
            modeSet = control->setMode(GetParam().mode);
        }
        ASSERT_TRUE(modeSet);
    }

    std::unique_ptr<SpawnedWindow> startTarget() {
        switch (GetParam().toolkit) {
        case Toolkit::Gtk3:
            return desktop.startGtkTarget(log, "IM Target");
        case Toolkit::Qt6:
            return desktop.startTarget(log, "IM Target");
        case Toolkit::Xterm:
            return desktop.startTerminal(log, "IM Target");
        }
        return nullptr;
    }

    TypeResult type(const std::string& text) {
        const auto keys = delivery::parseSendKeys(text);
        EXPECT_TRUE(keys);
        return keyboard.type(static_cast<services::WindowHandle>(target->window()), *keys);
    }

    // The log once `lines` lines have arrived (or what arrived in time).
    std::string lines(std::size_t count) {
        return Desktop::waitForFile(log, [count](const std::string& s) {
            return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')) >= count;
        });
    }

    Desktop desktop;
    std::unique_ptr<InputMethodControl> control;
    backend::dbus::DesktopInputMethod inputMethod;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger, &inputMethod};
    std::string log;
    std::unique_ptr<SpawnedWindow> target;
};

// The order arrives as it stands and the Enter sends it; afterwards the input
// method is in the mode the user had: letters typed by the user come out as
// that mode makes them.
TEST_P(InputMethodTyping, OrdersArriveExactlyAndTheUsersModeStays) {
    const std::string orders[] = {"attack the north now", "突撃開始！", "go 北へ 2 ok",
                                  "ｱﾀｯｸ Zone-7"};
    for (const auto& order : orders)
        ASSERT_EQ(type(order + "~"), TypeResult::Typed) << order;
    EXPECT_EQ(lines(4), "attack the north now\n突撃開始！\ngo 北へ 2 ok\nｱﾀｯｸ Zone-7\n");

    EXPECT_EQ(control->mode(), GetParam().mode);
    const std::string before = Desktop::readFile(log);
    ASSERT_TRUE(control->typeAsTheUser("ka"));
    const std::string expected = InputMethodControl::whatTheUserGets("ka", GetParam().mode);
    EXPECT_EQ(
        Desktop::waitForFile(
            log, [&](const std::string& s) { return s.size() >= before.size() + expected.size(); }),
        before + expected);
}

// "＠" (U+FF20), whose keysym GTK's compose handling misreads, with the keys
// around it.
TEST_P(InputMethodTyping, FullWidthAtArrivesWithTheKeysAroundIt) {
    ASSERT_EQ(type("突撃開始＠~go＠北~"), TypeResult::Typed);
    EXPECT_EQ(lines(2), "突撃開始＠\ngo＠北\n");
    EXPECT_EQ(control->mode(), GetParam().mode);
}

// A long order keeps the input method switched off until its last key went
// through: letters near the end are not composed, and Enter sends the line.
TEST_P(InputMethodTyping, ALongOrderArrivesWhole) {
    std::string order;
    for (int seed = 0; order.size() < 1200; ++seed)
        order += x11test::mixedJapaneseLine(seed, 40) + " go ";
    order += "ka ok";
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(type(order + "~"), TypeResult::Typed);
    EXPECT_EQ(lines(2), order + "\n" + order + "\n");
    EXPECT_EQ(control->mode(), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, InputMethodTyping,
    ::testing::Values(ModeCase{"Gtk3Hiragana", Toolkit::Gtk3, InputMode::Hiragana},
                      ModeCase{"Gtk3Direct", Toolkit::Gtk3, InputMode::Direct},
                      ModeCase{"Gtk3Alphanumeric", Toolkit::Gtk3, InputMode::HalfWidthAlphanumeric},
                      ModeCase{"Qt6Hiragana", Toolkit::Qt6, InputMode::Hiragana},
                      ModeCase{"Qt6Direct", Toolkit::Qt6, InputMode::Direct},
                      ModeCase{"Qt6Alphanumeric", Toolkit::Qt6, InputMode::HalfWidthAlphanumeric},
                      ModeCase{"XtermHiragana", Toolkit::Xterm, InputMode::Hiragana},
                      ModeCase{"XtermDirect", Toolkit::Xterm, InputMode::Direct},
                      ModeCase{"XtermAlphanumeric", Toolkit::Xterm,
                               InputMode::HalfWidthAlphanumeric}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.name; });

// A window the input method does not serve (a terminal without XIM) gets the
// order's keys straight from the server: nothing waits for the input method,
// and what the window gets is the order alone.
TEST(InputMethodBypassed, AWindowWithoutAnInputMethodGetsTheOrderAlone) {
    Desktop desktop;
    auto control = InputMethodControl::forThisDesktop();
    ASSERT_TRUE(control) << "no input method runs on this desktop";
    const std::string log = desktop.directory() + "/target.log";
    auto target = desktop.startTerminal(log, "Plain Target", {"XMODIFIERS=@im=none"});
    ASSERT_TRUE(target);
    // ibus's mode is everyone's; fcitx5 has none for a window it does not serve.
    const char* which = std::getenv("TAVREN_TEST_INPUT_METHOD");
    if (which && which == std::string("ibus")) {
        ASSERT_TRUE(control->setMode(InputMode::Hiragana));
    }
    const InputMode before = control->mode();
    backend::dbus::DesktopInputMethod inputMethod;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger, &inputMethod};
    const auto keys = delivery::parseSendKeys("go 北へ＠ ok~");
    ASSERT_TRUE(keys);
    EXPECT_EQ(keyboard.type(static_cast<services::WindowHandle>(target->window()), *keys),
              TypeResult::Typed);
    EXPECT_EQ(Desktop::waitForFile(
                  log, [](const std::string& s) { return !s.empty() && s.back() == '\n'; }),
              "go 北へ＠ ok\n");
    EXPECT_EQ(control->mode(), before);
}

} // namespace
