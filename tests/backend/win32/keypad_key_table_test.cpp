#include "platform/backend/win32/injected_input.h"
#include "platform/backend/win32/keypad_key_table.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tavren::backend::win32 {
namespace {

using services::KeypadDigit;

RawKeyEvent key(std::uint16_t scan, bool released, bool extended = false,
                std::uintptr_t extra = 0) {
    return {scan, extended, released, extra};
}

RawKeyEvent numLock(bool released, std::uintptr_t extra = 0) {
    return {0x45, false, released, extra, VK_NUMLOCK};
}

// The system's key state agrees with whatever the table holds.
constexpr bool kDown = true;

TEST(KeypadKeyTable, ATapBetweenQueriesIsReportedOnceAndAHeldKeyWhileHeld) {
    KeypadKeyTable table(true);
    table.onKey(key(0x4F, false)); // keypad 1
    table.onKey(key(0x4F, true));
    EXPECT_TRUE(table.query(KeypadDigit::D1, kDown).pressedSinceLastQuery);
    EXPECT_FALSE(table.query(KeypadDigit::D1, kDown).any());
    table.onKey(key(0x49, false)); // keypad 9
    EXPECT_TRUE(table.query(KeypadDigit::D9, kDown).downNow);
    EXPECT_TRUE(table.query(KeypadDigit::D9, kDown).downNow);
    EXPECT_FALSE(table.query(KeypadDigit::D8, kDown).any());
}

TEST(KeypadKeyTable, GreyArrowKeysSharingTheScanCodesAreNotTheKeypad) {
    KeypadKeyTable table(true);
    table.onKey(key(0x48, false, true)); // the up arrow beside the keypad
    EXPECT_FALSE(table.query(KeypadDigit::D8, kDown).any());
}

TEST(KeypadKeyTable, OwnMarkedKeysNeverCountButOtherProgramsKeysDo) {
    KeypadKeyTable table(true);
    table.onKey(key(0x52, false, false, kTavrenInputMarker));
    EXPECT_FALSE(table.query(KeypadDigit::D0, kDown).any());
    table.onKey(key(0x52, false, false, 0x1234));
    EXPECT_TRUE(table.query(KeypadDigit::D0, kDown).downNow);
}

TEST(KeypadKeyTable, NumLockOffAnswersNothingAndForgetsThePressesMeanwhile) {
    KeypadKeyTable table(false);
    table.onKey(key(0x4C, false)); // keypad 5
    table.onKey(key(0x4C, true));
    EXPECT_FALSE(table.query(KeypadDigit::D5, kDown).any());
    table.onKey(numLock(false));
    table.onKey(numLock(true));
    EXPECT_FALSE(table.query(KeypadDigit::D5, kDown).any());
}

// Each press switches Num Lock, whoever sent it (Tavren's own too: it switches
// the system's); the repeats of a held Num Lock key do not.
TEST(KeypadKeyTable, NumLockSwitchesAtEachPressNotAtItsRepeats) {
    KeypadKeyTable table(true);
    table.onKey(numLock(false));
    table.onKey(numLock(false)); // repeat
    table.onKey(numLock(true));
    EXPECT_FALSE(table.numLockOn());
    table.onKey(numLock(false, kTavrenInputMarker));
    table.onKey(numLock(true, kTavrenInputMarker));
    EXPECT_TRUE(table.numLockOn());
}

// A toggle made before monitoring started, or while raw input could not reach
// us, shows in the keys: the system gives a keypad key its digit's virtual key
// only with Num Lock on. An arrow or editing key proves nothing (Shift held
// turns digits into them too).
TEST(KeypadKeyTable, AKeypadKeyThatComesAsItsDigitShowsNumLockOn) {
    KeypadKeyTable table(false);
    table.onKey({0x4B, false, false, 0, VK_LEFT}); // keypad 4 with Num Lock off
    EXPECT_FALSE(table.query(KeypadDigit::D4, kDown).any());
    table.onKey({0x4B, false, false, 0, VK_NUMPAD4});
    EXPECT_TRUE(table.query(KeypadDigit::D4, kDown).downNow);
    table.onKey({0x4B, false, false, 0, VK_LEFT});
    EXPECT_TRUE(table.numLockOn());
}

// The key-up never came: once the system has the key up, the table does too,
// and the key presses no more however often it is asked.
TEST(KeypadKeyTable, AHeldKeyTheSystemHasUpIsForgotten) {
    KeypadKeyTable table(true);
    table.onKey(key(0x4B, false)); // keypad 4
    table.query(KeypadDigit::D4, kDown);
    EXPECT_FALSE(table.query(KeypadDigit::D4, false).any());
    EXPECT_FALSE(table.held(KeypadDigit::D4));
    EXPECT_FALSE(table.query(KeypadDigit::D4, kDown).any());
}

TEST(KeypadKeyTable, ForgettingHeldKeysKeepsNothingHeldUntilTheNextPress) {
    KeypadKeyTable table(true);
    table.onKey(key(0x4B, false));
    table.query(KeypadDigit::D4, kDown);
    table.forgetHeldKeys();
    EXPECT_FALSE(table.query(KeypadDigit::D4, kDown).any());
    table.onKey(key(0x4B, false)); // the key's repeat
    EXPECT_TRUE(table.query(KeypadDigit::D4, kDown).downNow);
}

} // namespace
} // namespace tavren::backend::win32
