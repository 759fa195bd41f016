#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "backend/x11/physical_keyboard.h"
#include "backend/x11/typing_texts.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/keyboard_map.h"
#include "platform/backend/x11/x11_keyboard.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <random>
#include <set>
#include <stdexcept>
#include <thread>

using namespace tavren;
using services::TypeResult;
using x11test::Desktop;
using namespace std::chrono_literals;

namespace {

// Everything is sent as the delivery pipeline sends it: the text, then CR LF.
TypeResult typeLine(backend::x11::X11Keyboard& keyboard, Window target, const std::string& text) {
    const auto keys = delivery::parseSendKeys(text + "\r\n");
    if (!keys) return TypeResult::Failed;
    return keyboard.type(static_cast<services::WindowHandle>(target), *keys);
}

class X11KeyboardTest : public ::testing::Test {
protected:
    Desktop desktop;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger};

    std::string log(const std::string& name) const { return desktop.directory() + "/" + name; }
};

struct TypingCase {
    std::string name;
    std::string keys;     // in the key syntax
    std::string expected; // the line the window receives
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const TypingCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.keys);
}

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

// Key events the window gets, as the server delivers them.
class KeyEventsOf {
public:
    explicit KeyEventsOf(Window window) : display_(XOpenDisplay(nullptr)) {
        if (!display_) throw std::runtime_error("cannot open the display");
        XSelectInput(display_, window, KeyPressMask | KeyReleaseMask);
        XSync(display_, False);
    }
    ~KeyEventsOf() { XCloseDisplay(display_); }
    KeyEventsOf(const KeyEventsOf&) = delete;
    KeyEventsOf& operator=(const KeyEventsOf&) = delete;

    // Every event until now of what `sender` asked for before.
    int countAfter(Display* sender) {
        XSync(sender, False);
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            ++count_;
        }
        return count_;
    }

private:
    Display* display_;
    int count_ = 0;
};

// Ctrl held on the user's keyboard refuses the order. A Shift the XTest device
// holds (xdotool keydown) is released for an order only once it is known to be
// typed: a refused one sends the window nothing, not even Shift up and down.
TEST_F(X11KeyboardTest, AnOrderRefusedForAHeldCtrlSendsTheWindowNoKeyAtAll) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    testkeys::PhysicalKeyboard user;
    ASSERT_TRUE(user.hold("Control_L"));
    ASSERT_EQ(Desktop::run("xdotool keydown Shift_L"), 0);
    KeyEventsOf events(target->window());

    const auto result = typeLine(keyboard, target->window(), "abc");
    const int eventsOfTheOrder = events.countAfter(keyboard.display());

    ASSERT_TRUE(user.letGo("Control_L"));
    Desktop::run("xdotool keyup Shift_L");
    EXPECT_EQ(result, TypeResult::Failed);
    EXPECT_EQ(eventsOfTheOrder, 0);
    // The window does hear of keys typed into it.
    ASSERT_EQ(typeLine(keyboard, target->window(), "x"), TypeResult::Typed);
    EXPECT_GT(events.countAfter(keyboard.display()), eventsOfTheOrder);
    EXPECT_EQ(Desktop::readFile(log("a.log")), "x\n");
}

TEST_F(X11KeyboardTest, EveryKeycodeIsRestoredAfterManyCharactersOffTheMap) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    const auto before = desktop.keyboardMapping();
    // More distinct characters than all four levels of the spare keycodes
    // hold: the bindings change in the middle.
    const std::string text =
        "いろはにほへとちりぬるをわかよたれそつねならむうゐのおくやまけふこえてあさ"
        "きゆめみしゑひもせす攻撃開始！＠" +
        x11test::cjkCharacters(40, 40);

    ASSERT_EQ(typeLine(keyboard, target->window(), text), TypeResult::Typed);

    EXPECT_EQ(Desktop::readFile(log("a.log")), text + "\n");
    // Given back once the bindings have lingered for a later order.
    EXPECT_TRUE(desktop.keyboardMappingBecomes(before));
}

// Counts the changes of the keyboard map the server announces to its clients:
// each makes every client (the window manager first) read the map anew. The
// server tells every keyboard device of one change; the core keyboard hears of
// it once more, a few milliseconds later, when it takes the map over from the
// device that typed last. The XTest keyboard hears of each change once.
class KeyboardMapChanges {
public:
    KeyboardMapChanges() {
        int major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0, error = 0;
        display_ = XkbOpenDisplay(nullptr, &event_, &error, &major, &minor, &reason);
        if (!display_) throw std::runtime_error("no XKB display");
        int count = 0;
        XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
        int core = 0;
        for (int i = 0; i < count && core == 0; ++i)
            if (devices[i].use == XIMasterKeyboard) core = devices[i].deviceid;
        for (int i = 0; i < count && device_ == 0; ++i)
            if (devices[i].use == XISlaveKeyboard && devices[i].attachment == core &&
                std::string(devices[i].name).find("XTEST") != std::string::npos)
                device_ = devices[i].deviceid;
        XIFreeDeviceInfo(devices);
        if (device_ == 0) throw std::runtime_error("no XTest keyboard");
        XkbSelectEvents(display_, static_cast<unsigned>(device_), XkbMapNotifyMask,
                        XkbMapNotifyMask);
        XSync(display_, False);
    }
    ~KeyboardMapChanges() { XCloseDisplay(display_); }
    KeyboardMapChanges(const KeyboardMapChanges&) = delete;
    KeyboardMapChanges& operator=(const KeyboardMapChanges&) = delete;

    // Every change announced so far.
    std::size_t count() {
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            const auto* xkb = reinterpret_cast<XkbAnyEvent*>(&event);
            if (event.type == event_ && xkb->xkb_type == XkbMapNotify &&
                static_cast<int>(xkb->device) == device_)
                ++changes_;
        }
        return changes_;
    }

private:
    Display* display_;
    int event_ = 0;
    int device_ = 0;
    std::size_t changes_ = 0;
};

TEST_F(X11KeyboardTest, EveryCharacterOffTheMapIsBoundInOneChangeAndReusedByTheNextOrder) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    KeyboardMapChanges changes;
    // 20 distinct characters: more than there are spare keycodes (18), fewer
    // than their two levels hold.
    const std::string order = "北門へ全員集合し突入せよ援護射撃開始待機";

    ASSERT_EQ(typeLine(keyboard, target->window(), order), TypeResult::Typed);
    const std::size_t afterFirst = changes.count();
    ASSERT_EQ(typeLine(keyboard, target->window(), "待機" + order), TypeResult::Typed);

    EXPECT_EQ(Desktop::readFile(log("a.log")), order + "\n待機" + order + "\n");
    EXPECT_EQ(afterFirst, 1u);
    EXPECT_EQ(changes.count(), afterFirst);
}

// Spare keycodes get a third and a fourth level from the key that sets the
// level-three modifier, found on the map as Shift's key is.
TEST_F(X11KeyboardTest, TheLevelThreeModifierAndItsKeyAreOnTheMap) {
    Display* display = desktop.display();
    const auto map = backend::x11::KeyboardMap::fetch(display);
    ASSERT_TRUE(map);

    const auto levelThree = map->levelThree();

    ASSERT_TRUE(levelThree);
    EXPECT_EQ(levelThree->modifier, static_cast<unsigned>(Mod5Mask));
    EXPECT_EQ(levelThree->key, XKeysymToKeycode(display, XK_ISO_Level3_Shift));
    EXPECT_EQ(map->modifierKey(levelThree->modifier), levelThree->key);
    EXPECT_EQ(map->description().map->types[levelThree->keyType].num_levels, 4);
}

// More distinct characters than the first two levels of the spare keycodes
// hold (36) take their third and fourth levels: every one is typed as itself,
// and one change of the map binds them all.
TEST_F(X11KeyboardTest, SixtyDistinctCharactersAreBoundInOneChangeAtFourLevels) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    KeyboardMapChanges changes;
    const std::string order = x11test::fourLevelsOfCharacters();

    ASSERT_EQ(typeLine(keyboard, target->window(), order), TypeResult::Typed);

    EXPECT_EQ(Desktop::readFile(log("a.log")), order + "\n");
    EXPECT_EQ(changes.count(), 1u);
}

// Keycodes the previous order bound at four levels, and AltGr held by the user
// or locked: the third level would be typed for the first. Every character
// comes out as itself all the same.
TEST_F(X11KeyboardTest, AHeldAltGrDoesNotChangeCharactersBoundAtFourLevels) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    const std::string order = x11test::fourLevelsOfCharacters();
    ASSERT_EQ(typeLine(keyboard, target->window(), order), TypeResult::Typed);
    testkeys::PhysicalKeyboard user;
    ASSERT_TRUE(user.hold("ISO_Level3_Shift"));

    const auto result = typeLine(keyboard, target->window(), order + " abc");
    ASSERT_TRUE(user.letGo("ISO_Level3_Shift"));

    EXPECT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("a.log")), order + "\n" + order + " abc\n");
}

TEST_F(X11KeyboardTest, ALockedAltGrDoesNotChangeCharactersBoundAtFourLevels) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    const std::string order = x11test::fourLevelsOfCharacters();
    ASSERT_EQ(typeLine(keyboard, target->window(), order), TypeResult::Typed);
    Display* display = desktop.display();
    XkbLockModifiers(display, XkbUseCoreKbd, Mod5Mask, Mod5Mask);
    XSync(display, False);

    const auto result = typeLine(keyboard, target->window(), order + " abc");
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    XkbLockModifiers(display, XkbUseCoreKbd, Mod5Mask, 0);
    XSync(display, False);

    EXPECT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("a.log")), order + "\n" + order + " abc\n");
    EXPECT_TRUE(state.locked_mods & Mod5Mask);
}

// Keycodes the previous order bound at two levels, and a Shift the user holds:
// the second level would be typed for the first. Every character comes out as
// itself all the same.
TEST_F(X11KeyboardTest, AShiftTheUserHoldsDoesNotChangeCharactersBoundAtTwoLevels) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    const std::string order = "北門へ全員集合し突入せよ援護射撃開始待機";
    ASSERT_EQ(typeLine(keyboard, target->window(), order), TypeResult::Typed);
    testkeys::PhysicalKeyboard user;
    ASSERT_TRUE(user.hold("Shift_L"));

    const auto result = typeLine(keyboard, target->window(), order + " abc");
    ASSERT_TRUE(user.letGo("Shift_L"));

    EXPECT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::readFile(log("a.log")), order + "\n" + order + " abc\n");
    // Nor is Shift left held on the device synthesised keys come from, where
    // the next order's Shift would do nothing (an xterm shows it).
    const auto term = desktop.startTerminal(log("term.log"), "Next Term");
    ASSERT_TRUE(term);
    ASSERT_EQ(typeLine(keyboard, term->window(), "Abc{+}1"), TypeResult::Typed);
    EXPECT_EQ(
        Desktop::waitForFile(log("term.log"), [](const std::string& s) { return !s.empty(); }),
        "Abc+1\n");
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

// The user's own key still down when the order is typed, as Enter is when it
// sends the send box: the key is typed once the user lets go of it.
struct HeldKeyCase {
    std::string name;
    std::string keysym; // held on the user's keyboard
    std::string keys;   // the order, in the key syntax
    std::string expected;
};

void PrintTo(const HeldKeyCase& c, std::ostream* out) {
    *out << c.keysym << " held, " << ::testing::PrintToString(c.keys);
}

class X11KeyboardHeldKey : public X11KeyboardTest,
                           public ::testing::WithParamInterface<HeldKeyCase> {};

TEST_P(X11KeyboardHeldKey, AKeyTheUserHoldsIsTypedOnceLetGo) {
    // The user's press goes into another window (the board's send box), and the
    // order then into the target.
    const auto board = desktop.startTarget(log("board.log"), "Board");
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(board && target);
    ASSERT_TRUE(desktop.activate(board->window()));
    testkeys::PhysicalKeyboard user;
    ASSERT_TRUE(user.hold(GetParam().keysym));
    ASSERT_TRUE(desktop.activate(target->window()));
    // Let go from another thread, as a finger would, while typing is under way.
    std::thread finger([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        user.letGo(GetParam().keysym);
    });

    const auto result = typeLine(keyboard, target->window(), GetParam().keys);
    finger.join();

    EXPECT_EQ(result, TypeResult::Typed);
    // Typing returns once the window has processed the keys: no waiting here.
    EXPECT_EQ(Desktop::readFile(log("a.log")), GetParam().expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11KeyboardHeldKey,
    ::testing::Values(HeldKeyCase{"Enter", "Return", "ret test", "ret test"},
                      HeldKeyCase{"Letter", "a", "banana", "banana"},
                      HeldKeyCase{"EnterInTheMiddle", "Return", "ab~cd", "ab\ncd"}),
    [](const ::testing::TestParamInfo<HeldKeyCase>& info) { return info.param.name; });

TEST_F(X11KeyboardTest, AKeyHeldOnAndOnEndsTheTypingBeforeIt) {
    const auto target = desktop.startTarget(log("a.log"), "Target A");
    ASSERT_TRUE(target);
    testkeys::PhysicalKeyboard user;
    ASSERT_TRUE(user.hold("x"));

    const auto result = typeLine(keyboard, target->window(), "abxcd");

    EXPECT_EQ(result, TypeResult::Failed);
    ASSERT_TRUE(user.letGo("x"));
    ASSERT_EQ(typeLine(keyboard, target->window(), ""), TypeResult::Typed);
    // The user's own x, then what came before the order's x; never the rest
    // of the order without it.
    EXPECT_EQ(Desktop::readFile(log("a.log")), "xab\n");
}

// Asks the window manager to activate a window, as a pager or a click does.
void askToActivate(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

// Whether the window manager has made the window active and given it the focus.
bool inFront(Display* display, Window window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window active = 0;
    if (XGetWindowProperty(display, DefaultRootWindow(display),
                           XInternAtom(display, "_NET_ACTIVE_WINDOW", False), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data) {
        if (count == 1) active = *reinterpret_cast<Window*>(data);
        XFree(data);
    }
    return focus == window && active == window;
}

bool bringInFront(Display* display, Window window) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    auto nextAsk = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::chrono::steady_clock::now() >= nextAsk) {
            askToActivate(display, window);
            nextAsk += 200ms;
        }
        if (inFront(display, window)) return true;
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

// Another window is activated while an order is typed, at a different moment of
// the order each time: not one key may reach it.
TEST_F(X11KeyboardTest, AFocusChangeMidOrderNeverLetsAKeyIntoTheOtherWindow) {
    const auto a = desktop.startTarget(log("a.log"), "Target A");
    const auto b = desktop.startTarget(log("b.log"), "Target B");
    ASSERT_TRUE(a && b);
    // Every key that reaches B, seen as the server delivers it.
    Display* watcher = XOpenDisplay(nullptr);
    ASSERT_NE(watcher, nullptr);
    XSelectInput(watcher, b->window(), KeyPressMask);
    Display* other = XOpenDisplay(nullptr); // the user, clicking B
    ASSERT_NE(other, nullptr);
    const std::string order = "the quick brown fox jumps over the lazy dog 0123456789 qwerty";
    std::mt19937 random(12);                             // the same moments in every run
    std::uniform_int_distribution<int> moment(0, 20000); // microseconds into the order

    int clicksMidOrder = 0, keysInB = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        ASSERT_TRUE(bringInFront(desktop.display(), a->window())) << attempt;
        const auto after = std::chrono::microseconds(moment(random));
        std::atomic<bool> clicked = false;
        std::thread click([&] {
            std::this_thread::sleep_for(after);
            askToActivate(other, b->window());
            clicked = true;
        });
        typeLine(keyboard, a->window(), order);
        clicksMidOrder += clicked;
        click.join();
        ASSERT_TRUE(bringInFront(desktop.display(), b->window())) << attempt;
        XSync(watcher, False);
        while (XPending(watcher) > 0) {
            XEvent event;
            XNextEvent(watcher, &event);
            keysInB += event.type == KeyPress;
        }
    }
    XCloseDisplay(other);
    XCloseDisplay(watcher);

    EXPECT_EQ(keysInB, 0);
    // The clicks did come while orders were typed, or this proved nothing.
    EXPECT_GE(clicksMidOrder, 20);
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
