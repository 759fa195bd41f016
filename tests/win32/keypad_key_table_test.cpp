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

TEST(KeypadKeyTable, ATapBetweenQueriesIsReportedOnceAndAHeldKeyWhileHeld) {
    KeypadKeyTable table;
    table.onKey(key(0x4F, false)); // keypad 1
    table.onKey(key(0x4F, true));
    EXPECT_TRUE(table.query(KeypadDigit::D1, true).pressedSinceLastQuery);
    EXPECT_FALSE(table.query(KeypadDigit::D1, true).any());
    table.onKey(key(0x49, false)); // keypad 9
    EXPECT_TRUE(table.query(KeypadDigit::D9, true).downNow);
    EXPECT_TRUE(table.query(KeypadDigit::D9, true).downNow);
    EXPECT_FALSE(table.query(KeypadDigit::D8, true).any());
}

TEST(KeypadKeyTable, GreyArrowKeysSharingTheScanCodesAreNotTheKeypad) {
    KeypadKeyTable table;
    table.onKey(key(0x48, false, true)); // the up arrow beside the keypad
    EXPECT_FALSE(table.query(KeypadDigit::D8, true).any());
}

TEST(KeypadKeyTable, OwnMarkedKeysNeverCountButOtherProgramsKeysDo) {
    KeypadKeyTable table;
    table.onKey(key(0x52, false, false, kTavrenInputMarker));
    EXPECT_FALSE(table.query(KeypadDigit::D0, true).any());
    table.onKey(key(0x52, false, false, 0x1234));
    EXPECT_TRUE(table.query(KeypadDigit::D0, true).downNow);
}

TEST(KeypadKeyTable, NumLockOffAnswersNothingAndForgetsThePressesMeanwhile) {
    KeypadKeyTable table;
    table.onKey(key(0x4C, false)); // keypad 5
    table.onKey(key(0x4C, true));
    EXPECT_FALSE(table.query(KeypadDigit::D5, false).any());
    EXPECT_FALSE(table.query(KeypadDigit::D5, true).any());
}

} // namespace
} // namespace tavren::win32
