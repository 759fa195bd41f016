// What typing an order comes to on a given keyboard, without a server: which
// keys, which modifiers, which bindings, what is released for it, and when an
// order cannot be typed at all.
#include <gtest/gtest.h>

#include "delivery/send_keys.h"
#include "platform/backend/x11/typing_plan.h"

#include <X11/keysym.h>

#include <functional>
#include <map>
#include <string>

using namespace tavren;
using namespace tavren::backend::x11;

namespace {

constexpr KeyCode kShiftL = 50, kShiftR = 62, kControl = 37, kAlt = 64, kSuper = 133, kAltGr = 92,
                  kCapsLock = 66, kNumLock = 77, kSpare = 200;
constexpr int kSpareKeycodes = 4;

// Part of Xvfb's "us" map with its modifier keys, and four spare keycodes.
// Nothing is held, nothing locked, nothing bound.
KeyboardState usKeyboard() {
    KeyboardState keyboard;
    const auto key = [&](KeyCode keycode, KeySym plain, KeySym shifted) {
        keyboard.places[plain] = {keycode, 0};
        if (shifted != NoSymbol) keyboard.places[shifted] = {keycode, ShiftMask};
    };
    const char* letters = "qwertyuiop"; // keycodes 24..
    for (int i = 0; letters[i]; ++i)
        key(static_cast<KeyCode>(24 + i), XK_a + (letters[i] - 'a'), XK_A + (letters[i] - 'a'));
    const char* row = "asdfghjkl"; // 38..
    for (int i = 0; row[i]; ++i)
        key(static_cast<KeyCode>(38 + i), XK_a + (row[i] - 'a'), XK_A + (row[i] - 'a'));
    const char* bottom = "zxcvbnm"; // 52..
    for (int i = 0; bottom[i]; ++i)
        key(static_cast<KeyCode>(52 + i), XK_a + (bottom[i] - 'a'), XK_A + (bottom[i] - 'a'));
    key(10, XK_1, XK_exclam);
    key(11, XK_2, XK_at);
    key(19, XK_0, XK_parenright);
    key(36, XK_Return, NoSymbol);
    key(65, XK_space, NoSymbol);
    for (const auto& [keycode, modifier] : std::map<KeyCode, unsigned>{{kShiftL, ShiftMask},
                                                                       {kShiftR, ShiftMask},
                                                                       {kCapsLock, LockMask},
                                                                       {kControl, ControlMask},
                                                                       {kAlt, Mod1Mask},
                                                                       {kNumLock, Mod2Mask},
                                                                       {kSuper, Mod4Mask},
                                                                       {kAltGr, Mod5Mask}})
        keyboard.modifierMap[keycode] = static_cast<unsigned char>(modifier);
    // Lock keys set no modifier while held.
    keyboard.modifierKeys = {{ShiftMask, kShiftL},
                             {ControlMask, kControl},
                             {Mod1Mask, kAlt},
                             {Mod4Mask, kSuper},
                             {Mod5Mask, kAltGr}};
    keyboard.levelThree = LevelThree{5, Mod5Mask, kAltGr};
    for (int i = 0; i < kSpareKeycodes; ++i)
        keyboard.spareKeycodes.push_back(static_cast<KeyCode>(kSpare + i));
    keyboard.numLockMask = Mod2Mask;
    return keyboard;
}

void setBit(KeyBits& keys, KeyCode keycode) {
    keys[keycode / 8] = static_cast<char>(keys[keycode / 8] | (1 << (keycode % 8)));
}

// The user holds the key on a physical keyboard.
void holdByHand(KeyboardState& keyboard, KeyCode keycode) {
    setBit(keyboard.down, keycode);
    keyboard.baseModifiers |= keyboard.modifierMap[keycode];
    if (!keyboard.synthesisedDown) keyboard.synthesisedDown.emplace();
}

// Another program holds it down through XTest (xdotool keydown).
void holdThroughXTest(KeyboardState& keyboard, KeyCode keycode) {
    holdByHand(keyboard, keycode);
    setBit(*keyboard.synthesisedDown, keycode);
}

// The plan as a line: keys by their plain keysym ("spareN" for spare
// keycodes), modifiers before the key with "+".
std::string describe(const TypingPlan& plan) {
    const KeyboardState keyboard = usKeyboard();
    std::map<KeyCode, std::string> names;
    for (const auto& [keysym, place] : keyboard.places)
        if (place.levelModifiers == 0) names[place.keycode] = XKeysymToString(keysym);
    for (const auto& [name, keycode] : std::map<std::string, KeyCode>{{"Shift_L", kShiftL},
                                                                      {"Shift_R", kShiftR},
                                                                      {"Control_L", kControl},
                                                                      {"Alt_L", kAlt},
                                                                      {"Super_L", kSuper},
                                                                      {"AltGr", kAltGr}})
        names[keycode] = name;
    for (int i = 0; i < kSpareKeycodes; ++i)
        names[static_cast<KeyCode>(kSpare + i)] = "spare" + std::to_string(i + 1);
    const char* levels[] = {"", "/2", "/3", "/4", "/all"};
    std::string line;
    for (const TypingStep& step : plan.steps) {
        if (!line.empty()) line += ", ";
        if (const auto* release = std::get_if<ReleaseModifier>(&step)) {
            line += "release " + names[release->keycode];
        } else if (std::holds_alternative<UnlockCapsLock>(step)) {
            line += "unlock Caps Lock";
        } else if (const auto* bind = std::get_if<Bind>(&step)) {
            line += "bind";
            for (const SlotBinding& binding : bind->bindings)
                line += std::string(" ") + names[binding.keycode] +
                        levels[static_cast<int>(binding.level)] + "=" +
                        XKeysymToString(binding.keysym);
        } else if (std::holds_alternative<WaitForRead>(step)) {
            line += "wait until read";
        } else if (std::holds_alternative<CatchUp>(step)) {
            line += "catch up";
        } else if (const auto* key = std::get_if<Key>(&step)) {
            for (KeyCode modifier : key->modifiers)
                line += names[modifier] + "+";
            line += names[key->keycode];
        }
    }
    return line;
}

TypingPlan plan(const std::string& sendKeys, const KeyboardState& keyboard,
                const InputMethodKeys& inputMethod = {}, bool gtk3 = false) {
    const auto keys = delivery::parseSendKeys(sendKeys);
    EXPECT_TRUE(keys) << sendKeys;
    return planTyping(keys.value_or(services::KeySequence{}), keyboard, inputMethod,
                      [gtk3] { return gtk3; });
}

struct PlanCase {
    std::string name;
    std::function<void(KeyboardState&)> keyboard; // the state the order finds
    std::string keys;                             // in the key syntax
    std::string expected;                         // describe()'s line
};

void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << c.name;
}

// The fault this was built against: a modifier the XTest device holds was
// released, and pressed again, for an order that was then refused.
struct RefusedCase {
    std::string name;
    std::function<void(KeyboardState&)> keyboard;
    std::string keys;
    Impossible reason;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class RefusedOrder : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOrder, IsKnownBeforeAnythingIsReleasedAndSendsNothing) {
    KeyboardState keyboard = usKeyboard();
    holdThroughXTest(keyboard, kShiftL);
    GetParam().keyboard(keyboard);

    const TypingPlan refused = plan(GetParam().keys, keyboard);

    EXPECT_EQ(refused.impossible, GetParam().reason);
    EXPECT_EQ(describe(refused), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedOrder,
    ::testing::Values(RefusedCase{"CtrlHeldByHand", [](auto& k) { holdByHand(k, kControl); }, "abc",
                                  Impossible::ShortcutModifierHeld},
                      RefusedCase{"AltHeldByHand", [](auto& k) { holdByHand(k, kAlt); }, "abc",
                                  Impossible::ShortcutModifierHeld},
                      RefusedCase{"SuperHeldByHand", [](auto& k) { holdByHand(k, kSuper); }, "abc",
                                  Impossible::ShortcutModifierHeld},
                      RefusedCase{"AltWithoutAnAltKey",
                                  [](auto& k) { k.modifierKeys.erase(Mod1Mask); }, "ab%c",
                                  Impossible::NoModifierKey},
                      RefusedCase{"NoSpareKeycode", [](auto& k) { k.spareKeycodes.clear(); },
                                  "ab北", Impossible::NoSpareKeycode}),
    [](const auto& info) { return info.param.name; });

class TypingPlanOn : public ::testing::TestWithParam<PlanCase> {};

TEST_P(TypingPlanOn, TheKeyboardAsItIs) {
    KeyboardState keyboard = usKeyboard();
    GetParam().keyboard(keyboard);

    const TypingPlan planned = plan(GetParam().keys, keyboard);

    ASSERT_TRUE(planned.possible());
    EXPECT_EQ(describe(planned), GetParam().expected);
}

const auto nothing = [](KeyboardState&) {};

INSTANTIATE_TEST_SUITE_P(
    Cases, TypingPlanOn,
    ::testing::Values(
        PlanCase{"KeysOfTheMap", nothing, "aB{ENTER}", "a, Shift_L+b, Return"},
        PlanCase{"StrokeModifiers", nothing, "^c+d%!", "Control_L+c, Shift_L+d, Shift_L+Alt_L+1"},
        PlanCase{"CharactersOffTheMapBoundFirstLevelsFirst", nothing, "北a南北東西中",
                 "bind spare1=U5317 spare2=U5357 spare3=U6771 spare4=U897F spare1/2=U4E2D, "
                 "spare1, a, spare2, spare1, spare3, spare4, Shift_L+spare1"},
        PlanCase{"ThirdLevelsWithAltGr", nothing, "一二三四五六七八九",
                 "bind spare1=U4E00 spare2=U4E8C spare3=U4E09 spare4=U56DB spare1/2=U4E94 "
                 "spare2/2=U516D spare3/2=U4E03 spare4/2=U516B spare1/3=U4E5D, "
                 "spare1, spare2, spare3, spare4, Shift_L+spare1, Shift_L+spare2, "
                 "Shift_L+spare3, Shift_L+spare4, AltGr+spare1"},
        PlanCase{"MoreCharactersThanSlotsWaitForTheReadingBeforeRebinding",
                 [](auto& k) {
                     k.spareKeycodes.resize(1);
                     k.levelThree.reset();
                 },
                 "北南東",
                 "bind spare1=U5317 spare1/2=U5357, spare1, Shift_L+spare1, "
                 "wait until read, bind spare1=U6771, spare1"},
        PlanCase{"AShiftTheXTestDeviceHoldsIsReleasedFirst",
                 [](auto& k) { holdThroughXTest(k, kShiftL); }, "ab", "release Shift_L, a, b"},
        PlanCase{"AShiftHeldByHandStaysAndLettersGoToOneLevelKeycodes",
                 [](auto& k) { holdByHand(k, kShiftL); }, "ab{ENTER}",
                 "bind spare1/all=a spare2/all=b, spare1, spare2, Return"},
        PlanCase{"TheOtherShiftHeldByHandStaysHeldOnceOneIsReleased",
                 [](auto& k) {
                     holdByHand(k, kShiftL);
                     holdThroughXTest(k, kShiftR);
                 },
                 "a", "release Shift_R, bind spare1/all=a, spare1"},
        PlanCase{"ALockedAltGrSendsLettersToOneLevelKeycodes",
                 [](auto& k) { k.lockedModifiers = Mod5Mask; }, "a", "bind spare1/all=a, spare1"},
        PlanCase{"NumLockChangesNoLevel",
                 [](auto& k) {
                     k.lockedModifiers = Mod2Mask;
                     holdByHand(k, kNumLock);
                 },
                 "a", "a"},
        PlanCase{"CapsLockIsUnlockedBeforeTheFirstKey",
                 [](auto& k) { k.lockedModifiers = LockMask; }, "a", "unlock Caps Lock, a"},
        PlanCase{"AKeycodeOfAnEarlierOrderIsReused",
                 [](auto& k) {
                     k.bound[kSpare] = {0x1005317, NoSymbol, NoSymbol, NoSymbol};
                     k.places[0x1005317] = {kSpare, 0};
                     k.spareKeycodes.erase(k.spareKeycodes.begin());
                 },
                 "北南", "bind spare2=U5357, spare1, spare2"}),
    [](const auto& info) { return info.param.name; });

TEST(TypingPlan, TheInputMethodsKeysEncloseTheOrder) {
    const InputMethodKeys inputMethod{ModifiedKey{XK_bracketleft, ControlMask},
                                      ModifiedKey{XK_space, ShiftMask}, false};

    const TypingPlan planned = plan("ab", usKeyboard(), inputMethod);

    EXPECT_EQ(describe(planned), "bind spare1=bracketleft, Control_L+spare1, a, b, Shift_L+space");
    EXPECT_TRUE(planned.giveBackInBand);
}

// GTK 3 reads "＠" (U+FF20) as its Compose key: it goes through GTK's own
// Unicode entry, which the input method hands on in an order of its own.
TEST(TypingPlan, ACharacterGtk3ReadsAsComposeGoesThroughItsUnicodeEntry) {
    const TypingPlan planned = plan("a＠b", usKeyboard(), {}, true);

    EXPECT_EQ(describe(planned),
              "a, catch up, Shift_L+Control_L+u, f, f, 2, 0, space, catch up, b");
}

TEST(TypingPlan, ACharacterGtk3ReadsAsComposeIsBoundWhereTheTargetIsNoGtk3Window) {
    EXPECT_EQ(describe(plan("＠", usKeyboard(), {}, false)), "bind spare1=UFF20, spare1");
}

} // namespace
