#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

using namespace tavren;
using services::KeypadDigit;
using x11test::Desktop;

namespace {

// Other programs press keypad keys through xdotool. It is given the keys' Num Lock
// off names (KP_End is the key of digit 1): asked for KP_1 it would tap Num Lock
// itself, toggling the lock the test has set.
class X11KeyMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { setNumLock(true); }
    void TearDown() override { setNumLock(false); }

    void setNumLock(bool on) {
        const unsigned mask = XkbKeysymToModifiers(desktop.display(), XK_Num_Lock);
        XkbLockModifiers(desktop.display(), XkbUseCoreKbd, mask, on ? mask : 0);
        XSync(desktop.display(), False);
    }

    Desktop desktop;
    backend::x11::X11Input input{nullptr};
};

TEST_F(X11KeyMonitorTest, AKeypadKeyOfAnotherProgramIsSeenOnce) {
    input.monitor.query(KeypadDigit::D1);
    ASSERT_EQ(Desktop::run("xdotool key KP_End"), 0);

    const auto first = input.monitor.query(KeypadDigit::D1);
    const auto second = input.monitor.query(KeypadDigit::D1);
    const auto other = input.monitor.query(KeypadDigit::D2);

    EXPECT_TRUE(first.pressedSinceLastQuery);
    EXPECT_FALSE(first.downNow);
    EXPECT_FALSE(second.any());
    EXPECT_FALSE(other.any());
}

TEST_F(X11KeyMonitorTest, AShortTapBetweenTwoQueriesIsSeen) {
    input.monitor.query(KeypadDigit::D2);
    ASSERT_EQ(Desktop::run("xdotool keydown KP_Down; sleep 0.005; xdotool keyup KP_Down"), 0);

    const auto state = input.monitor.query(KeypadDigit::D2);

    EXPECT_TRUE(state.pressedSinceLastQuery);
    EXPECT_FALSE(state.downNow);
}

TEST_F(X11KeyMonitorTest, AHeldKeyIsDownUntilReleased) {
    ASSERT_EQ(Desktop::run("xdotool keydown KP_Next"), 0);
    const auto held = input.monitor.query(KeypadDigit::D3);
    const auto stillHeld = input.monitor.query(KeypadDigit::D3);
    Desktop::run("xdotool keyup KP_Next");
    const auto released = input.monitor.query(KeypadDigit::D3);

    EXPECT_TRUE(held.downNow && held.pressedSinceLastQuery);
    EXPECT_TRUE(stillHeld.downNow);
    EXPECT_FALSE(stillHeld.pressedSinceLastQuery);
    EXPECT_FALSE(released.any());
}

TEST_F(X11KeyMonitorTest, WithNumLockOffKeypadKeysAreNotDigits) {
    setNumLock(false);
    ASSERT_EQ(Desktop::run("xdotool key KP_Left"), 0);
    const auto whileOff = input.monitor.query(KeypadDigit::D4);
    setNumLock(true);
    const auto afterwards = input.monitor.query(KeypadDigit::D4);

    EXPECT_FALSE(whileOff.any());
    EXPECT_FALSE(afterwards.any());
}

TEST_F(X11KeyMonitorTest, KeysTypedByOurOwnKeyboardOnTheKeypadAreNotSeen) {
    // Put a character that the keyboard can only type with the keypad key of
    // digit 1 (shifted), so that our own keystrokes land on that very key.
    Display* display = desktop.display();
    const KeyCode keypadOne = XKeysymToKeycode(display, XK_KP_1);
    ASSERT_NE(keypadOne, 0);
    int perKey = 0;
    KeySym* original = XGetKeyboardMapping(display, keypadOne, 1, &perKey);
    KeySym remapped[2] = {XK_KP_End, XK_currency};
    XChangeKeyboardMapping(display, keypadOne, 2, remapped, 1);
    XSync(display, False);
    const auto target = desktop.startTarget(desktop.directory() + "/a.log", "Target A");

    services::TypeResult result = services::TypeResult::Failed;
    if (target)
        result = input.keyboard.type(static_cast<services::WindowHandle>(target->window()),
                                     *delivery::parseSendKeys("¤¤\r\n"));
    const auto ours = input.monitor.query(KeypadDigit::D1);
    XChangeKeyboardMapping(display, keypadOne, perKey, original, 1);
    XFree(original);
    XSync(display, False);
    Desktop::run("xdotool key KP_End");
    const auto theirs = input.monitor.query(KeypadDigit::D1);

    ASSERT_TRUE(target);
    EXPECT_EQ(result, services::TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(desktop.directory() + "/a.log"), "¤¤\n");
    EXPECT_FALSE(ours.any());
    EXPECT_TRUE(theirs.pressedSinceLastQuery);
}

} // namespace
