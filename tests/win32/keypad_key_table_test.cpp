#include "platform/win32/injected_input.h"
#include "platform/win32/keypad_key_table.h"

#include <gtest/gtest.h>

namespace tavren::win32 {
namespace {

using services::KeypadDigit;

RawKeyEvent key(std::uint16_t scan, bool released, bool extended = false,
                std::uintptr_t extra = 0) {
    return {scan, extended, released, extra};
}

constexpr bool kNumLockOn = true;
// The system's key state agrees with whatever the table holds.
constexpr bool kDown = true;

TEST(KeypadKeyTable, ATapBetweenQueriesIsReportedOnceAndAHeldKeyWhileHeld) {
    KeypadKeyTable table;
    table.onKey(key(0x4F, false)); // keypad 1
    table.onKey(key(0x4F, true));
    EXPECT_TRUE(table.query(KeypadDigit::D1, kNumLockOn, kDown).pressedSinceLastQuery);
    EXPECT_FALSE(table.query(KeypadDigit::D1, kNumLockOn, kDown).any());
    table.onKey(key(0x49, false)); // keypad 9
    EXPECT_TRUE(table.query(KeypadDigit::D9, kNumLockOn, kDown).downNow);
    EXPECT_TRUE(table.query(KeypadDigit::D9, kNumLockOn, kDown).downNow);
    EXPECT_FALSE(table.query(KeypadDigit::D8, kNumLockOn, kDown).any());
}

TEST(KeypadKeyTable, GreyArrowKeysSharingTheScanCodesAreNotTheKeypad) {
    KeypadKeyTable table;
    table.onKey(key(0x48, false, true)); // the up arrow beside the keypad
    EXPECT_FALSE(table.query(KeypadDigit::D8, kNumLockOn, kDown).any());
}

TEST(KeypadKeyTable, OwnMarkedKeysNeverCountButOtherProgramsKeysDo) {
    KeypadKeyTable table;
    table.onKey(key(0x52, false, false, kTavrenInputMarker));
    EXPECT_FALSE(table.query(KeypadDigit::D0, kNumLockOn, kDown).any());
    table.onKey(key(0x52, false, false, 0x1234));
    EXPECT_TRUE(table.query(KeypadDigit::D0, kNumLockOn, kDown).downNow);
}

TEST(KeypadKeyTable, NumLockOffAnswersNothingAndForgetsThePressesMeanwhile) {
    KeypadKeyTable table;
    table.onKey(key(0x4C, false)); // keypad 5
    table.onKey(key(0x4C, true));
    EXPECT_FALSE(table.query(KeypadDigit::D5, false, kDown).any());
    EXPECT_FALSE(table.query(KeypadDigit::D5, kNumLockOn, kDown).any());
}

// The key-up never came: once the system has the key up, the table does too,
// and the key presses no more however often it is asked.
TEST(KeypadKeyTable, AHeldKeyTheSystemHasUpIsForgotten) {
    KeypadKeyTable table;
    table.onKey(key(0x4B, false)); // keypad 4
    table.query(KeypadDigit::D4, kNumLockOn, kDown);
    EXPECT_FALSE(table.query(KeypadDigit::D4, kNumLockOn, false).any());
    EXPECT_FALSE(table.held(KeypadDigit::D4));
    EXPECT_FALSE(table.query(KeypadDigit::D4, kNumLockOn, kDown).any());
}

TEST(KeypadKeyTable, ForgettingHeldKeysKeepsNothingHeldUntilTheNextPress) {
    KeypadKeyTable table;
    table.onKey(key(0x4B, false));
    table.query(KeypadDigit::D4, kNumLockOn, kDown);
    table.forgetHeldKeys();
    EXPECT_FALSE(table.query(KeypadDigit::D4, kNumLockOn, kDown).any());
    table.onKey(key(0x4B, false)); // the key's repeat
    EXPECT_TRUE(table.query(KeypadDigit::D4, kNumLockOn, kDown).downNow);
}

} // namespace
} // namespace tavren::win32
