#include <gtest/gtest.h>

#include "delivery/send_keys.h"
#include "platform/x11/x11_keyboard.h"
#include "x11/desktop.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

using namespace tavren;
using services::TypeResult;
using x11test::Desktop;

namespace {

// Everything is sent as the delivery pipeline sends it: the text, then CR LF.
TypeResult typeLine(x11::X11Keyboard& keyboard, Window target, const std::string& text) {
    const auto keys = delivery::parseSendKeys(text + "\r\n");
    if (!keys) return TypeResult::Failed;
    return keyboard.type(static_cast<services::WindowHandle>(target), *keys);
}

class X11KeyboardTest : public ::testing::Test {
protected:
    Desktop desktop;
    x11::SynthesisLedger ledger;
    x11::X11Keyboard keyboard{nullptr, ledger};

    std::string log(const std::string& name) const { return desktop.directory() + "/" + name; }
};

struct TypingCase {
    std::string name;
    std::string keys;     // in the key syntax
    std::string expected; // the line the window receives
};

class X11KeyboardTyping : public X11KeyboardTest,
                          public ::testing::WithParamInterface<TypingCase> {};

TEST_P(X11KeyboardTyping, TheWindowReceivesExactlyTheText) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    ASSERT_EQ(typeLine(keyboard, target->window(), GetParam().keys), TypeResult::Typed);
    // Typing returns once the window has processed the keys: no waiting here.
    EXPECT_EQ(Desktop::readFile(log("a.log")), GetParam().expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, X11KeyboardTyping,
    ::testing::Values(TypingCase{"Ascii", "Hello, world 0123456789", "Hello, world 0123456789"},
                      TypingCase{"ShiftedSymbols", "!@#$&*_:\"<>?|{+}{^}{%}{~}{(}{)}{{}{}}[]",
                                 "!@#$&*_:\"<>?|+^%~(){}[]"},
                      TypingCase{"Japanese", "攻撃開始！", "攻撃開始！"},
                      TypingCase{"FullWidthAt", "＠", "＠"},
                      TypingCase{"AccentedLetters", "café élan Ñ", "café élan Ñ"},
                      TypingCase{"MixedScripts", "go 北へ 3 歩 now", "go 北へ 3 歩 now"},
                      TypingCase{"BackspaceCorrectsATypo", "hepp{BS}{BS}llo", "hello"},
                      TypingCase{"ArrowsMoveTheCursor", "ab{LEFT}x{END}y", "axby"},
                      TypingCase{"RepeatCount", "{h 10}", "hhhhhhhhhh"},
                      TypingCase{"ShiftModifier", "+a+(bc)d", "ABCd"}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

TEST_F(X11KeyboardTest, CapsLockDoesNotChangeTheTextAndStaysOn) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    XkbLockModifiers(desktop.display(), XkbUseCoreKbd, LockMask, LockMask);
    XSync(desktop.display(), False);

    const auto result = typeLine(keyboard, target->window(), "Hello World é 攻撃");

    XkbStateRec state{};
    XkbGetState(desktop.display(), XkbUseCoreKbd, &state);
    XkbLockModifiers(desktop.display(), XkbUseCoreKbd, LockMask, 0);
    XSync(desktop.display(), False);
    EXPECT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("a.log")), "Hello World é 攻撃\n");
    EXPECT_TRUE(state.locked_mods & LockMask);
}

TEST_F(X11KeyboardTest, AHeldShiftDoesNotChangeTheTextAndIsHeldAgainAfterwards) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    ASSERT_EQ(Desktop::run("xdotool keydown Shift_L"), 0);

    const auto result = typeLine(keyboard, target->window(), "abc 123");

    XkbStateRec state{};
    XkbGetState(desktop.display(), XkbUseCoreKbd, &state);
    Desktop::run("xdotool keyup Shift_L");
    EXPECT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("a.log")), "abc 123\n");
    EXPECT_TRUE(state.base_mods & ShiftMask);
}

TEST_F(X11KeyboardTest, EveryKeycodeIsRestoredAfterManyCharactersOffTheMap) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    const auto before = desktop.keyboardMapping();
    // More distinct characters than there are spare keycodes: several chunks.
    const std::string text =
        "いろはにほへとちりぬるをわかよたれそつねならむうゐのおくやまけふこえてあさ"
        "きゆめみしゑひもせす攻撃開始！＠";

    ASSERT_EQ(typeLine(keyboard, target->window(), text), TypeResult::Typed);

    EXPECT_EQ(Desktop::readFile(log("a.log")), text + "\n");
    EXPECT_EQ(desktop.keyboardMapping(), before);
}

TEST_F(X11KeyboardTest, AWindowNotInFrontReceivesNothing) {
    const auto a = desktop.startTarget(log("a.log"), "Target A");
    const auto b = desktop.startTarget(log("b.log"), "Target B");
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(desktop.activate(b->window()));
    const auto before = desktop.keyboardMapping();

    EXPECT_EQ(typeLine(keyboard, a->window(), "secret 攻撃"), TypeResult::Interrupted);

    // Whatever had been typed would have reached B before this line.
    ASSERT_EQ(typeLine(keyboard, b->window(), "x"), TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("b.log")), "x\n");
    EXPECT_EQ(Desktop::readFile(log("a.log")), "");
    EXPECT_EQ(desktop.keyboardMapping(), before);
}

TEST_F(X11KeyboardTest, AWindowWithoutPingReceivesTheTextAndKeepsRunning) {
    // xterm ends when it receives a ping it did not ask for.
    const auto term = desktop.start(
        {"xterm", "-T", "Plain Term", "-e", "sh", "-c", "cat > '" + log("term.log") + "'"},
        "Plain Term");
    ASSERT_TRUE(term);

    ASSERT_EQ(typeLine(keyboard, term->window(), "hello xterm{+}1"), TypeResult::Typed);

    EXPECT_EQ(
        Desktop::waitForFile(log("term.log"), [](const std::string& s) { return !s.empty(); }),
        "hello xterm+1\n");
    EXPECT_TRUE(term->stillRunning());
}

} // namespace
