#include "delivery/send_keys.h"
#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "platform/backend/win32/win32_keyboard.h"
#include "platform/backend/win32/win32_window_manager.h"
#include "recorded_diagnostics.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tavren::backend::win32 {
namespace {

using services::TypeResult;
using testing::RecordedDiagnostics;
using testing::TargetProcess;
using testing::textOf;
using testing::waitFor;

// The levels a test gives the target's process and ours.
struct FixedIntegrity : ProcessIntegrity {
    std::optional<std::uint32_t> target, own;
    std::optional<std::uint32_t> levelOf(DWORD) override { return target; }
    std::optional<std::uint32_t> ownLevel() override { return own; }
};

class Win32KeyboardTest : public ::testing::Test {
protected:
    SystemForegroundCalls calls;
    Win32WindowManager manager{calls};
    SystemProcessIntegrity integrity;
    RecordedDiagnostics diagnostics;
    Win32Keyboard keyboard{integrity, diagnostics};

    void bringToFront(HWND window) {
        manager.bringToFront(fromHwnd(window));
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == window; }));
    }
    TypeResult type(HWND window, const std::string& sendKeys) {
        const auto keys = delivery::parseSendKeys(sendKeys);
        EXPECT_TRUE(keys.has_value()) << sendKeys;
        return keyboard.type(fromHwnd(window), keys.value_or(services::KeySequence{}));
    }
    // Types into a fresh target and returns what its edit control received.
    std::string typedInto(const std::string& sendKeys, const std::string& expected) {
        TargetProcess target({L"v:keyboard target"});
        bringToFront(target.window());
        EXPECT_EQ(type(target.window(), sendKeys), TypeResult::Typed);
        waitFor([&] { return target.typedText().size() >= expected.size(); });
        return target.typedText();
    }
};

TEST_F(Win32KeyboardTest, TypesAscii) {
    const std::string text = "Hello, World 0123456789 abcxyz";
    EXPECT_EQ(typedInto(text, text), text);
}

TEST_F(Win32KeyboardTest, TypesShiftedSymbolsQuotedInBraces) {
    EXPECT_EQ(typedInto("!@#$&*_|:\"<>?{+}{^}{%}{~}{(}{)}{{}{}}", "!@#$&*_|:\"<>?+^%~(){}"),
              "!@#$&*_|:\"<>?+^%~(){}");
}

// "+" holds Shift for the next key or group: the character is the one the
// layout's key gives with Shift. Characters the layout lacks stay as they are.
TEST_F(Win32KeyboardTest, ShiftGivesTheLayoutsShiftedCharacter) {
    EXPECT_EQ(typedInto("ab+cd+1+(xy)+攻~", "abCd!XY攻\r"), "abCd!XY攻\r");
}

TEST_F(Win32KeyboardTest, TypesJapaneseAndFullWidthTextExactly) {
    const std::string text = "攻撃開始！集合＠本陣ｶﾀｶﾅ￥";
    EXPECT_EQ(typedInto(text, text), text);
}

TEST_F(Win32KeyboardTest, TypesCharactersBeyondTheBasicPlane) {
    const std::string text = "a😀b";
    EXPECT_EQ(typedInto(text, text), text);
}

// The log is read once, the moment type() returns: a window that is still
// reading the keys then could have them taken away by the next window brought
// to the front.
TEST_F(Win32KeyboardTest, AsciiTextHasArrivedWhenTypingReturns) {
    const std::string text = textOf(
        {"a", "b", "k", "q", "z", "A", "Q", "Z", "0", "5", "9", " ", ",", ".", "-", "!", "?"}, 500,
        2024);
    TargetProcess target({L"v:keyboard arrived ascii"});
    bringToFront(target.window());
    ASSERT_EQ(type(target.window(), text), TypeResult::Typed);
    EXPECT_EQ(target.typedText(), text);
}

TEST_F(Win32KeyboardTest, JapaneseTextHasArrivedWhenTypingReturns) {
    const std::string text = textOf({"攻", "撃", "開", "始", "！", "＠", "集", "合", "本", "陣",
                                     "あ", "ア", "ｱ",  "ﾞ",  "ｰ",  "１", "Ａ", "（", "）", "￥"},
                                    100, 2024);
    TargetProcess target({L"v:keyboard arrived japanese"});
    bringToFront(target.window());
    ASSERT_EQ(type(target.window(), text), TypeResult::Typed);
    EXPECT_EQ(target.typedText(), text);
}

// A window that reads none of its keys holds the typing for a bounded time
// only, and what it has not read was not typed.
TEST_F(Win32KeyboardTest, FailsWhenTheTargetReadsNoKeys) {
    TargetProcess target({L"v:keyboard frozen"});
    bringToFront(target.window());
    target.freeze();
    EXPECT_EQ(type(target.window(), "abc~"), TypeResult::Failed);
}

// A window that answers messages but leaves its key messages unread (a game
// reading raw input only) holds the first order for one wait, and is typed
// into unpaced from then on.
TEST_F(Win32KeyboardTest, AWindowThatReadsNoKeyMessagesIsFoundOutOnce) {
    TargetProcess target({L"r:keyboard raw input only"});
    bringToFront(target.window());
    EXPECT_EQ(type(target.window(), "first~"), TypeResult::Typed);
    EXPECT_EQ(type(target.window(), "second~"), TypeResult::Typed);
    ASSERT_EQ(diagnostics.failures.size(), 1u);
    EXPECT_EQ(diagnostics.failures[0].what, services::IgnoredFailure::KeysNotFollowed);
}

// An open input method would compose the order: it is closed while the
// target reads the keys and open again afterwards.
TEST_F(Win32KeyboardTest, TheTargetsInputMethodIsClosedForTheOrderAndOpenAfter) {
    TargetProcess target({L"i:keyboard input method"});
    bringToFront(target.window());
    ASSERT_EQ(type(target.window(), "あa~"), TypeResult::Typed);
    ASSERT_TRUE(waitFor([&] { return target.typedText() == "あa\r"; })) << target.typedText();
    std::vector<std::string> seen;
    for (const std::string& line : target.log())
        if (line.rfind("ime ", 0) == 0 || line.rfind("char ", 0) == 0) seen.push_back(line);
    const std::vector<std::string> expected{"ime open", "ime closed", "char 3042",
                                            "char 61",  "char D",     "ime open"};
    EXPECT_EQ(seen, expected);
}

// Windows keeps the keys of a program from the windows of one that runs as
// administrator: nothing is sent, and the reason is told.
TEST(Win32KeyboardIntegrity, AWindowRunningAsAdministratorGetsNothingAndTheReasonIsTold) {
    FixedIntegrity levels;
    levels.target = SECURITY_MANDATORY_HIGH_RID;
    levels.own = SECURITY_MANDATORY_MEDIUM_RID;
    RecordedDiagnostics diagnostics;
    Win32Keyboard keyboard(levels, diagnostics);
    TargetProcess target({L"v:keyboard elevated"});
    SystemForegroundCalls calls;
    Win32WindowManager(calls).bringToFront(fromHwnd(target.window()));
    ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == target.window(); }));

    const auto keys = delivery::parseSendKeys("never~");
    EXPECT_EQ(keyboard.type(fromHwnd(target.window()), *keys), TypeResult::Failed);
    ASSERT_EQ(diagnostics.failures.size(), 1u);
    EXPECT_NE(diagnostics.failures[0].reason.find("administrator"), std::string::npos);
    Sleep(200);
    EXPECT_EQ(target.typedText(), "");
}

TEST_F(Win32KeyboardTest, EnterArrivesAsTheReturnKeyWithItsScanCode) {
    TargetProcess target({L"v:keyboard enter"});
    bringToFront(target.window());
    ASSERT_EQ(type(target.window(), "ab~"), TypeResult::Typed);
    ASSERT_TRUE(waitFor([&] { return target.typedText() == "ab\r"; })) << target.typedText();
    const auto keys = target.keysDown();
    EXPECT_NE(std::find(keys.begin(), keys.end(), "13 28 0"), keys.end())
        << "no VK_RETURN, scan 0x1C";
}

TEST_F(Win32KeyboardTest, NamedKeysArriveAsVirtualKeysWithScanCodes) {
    TargetProcess target({L"v:keyboard named"});
    bringToFront(target.window());
    ASSERT_EQ(type(target.window(), "{LEFT}{F5}{TAB}"), TypeResult::Typed);
    ASSERT_TRUE(waitFor([&] { return target.keysDown().size() >= 3; }));
    const auto keys = target.keysDown();
    // VK_LEFT is an extended key (E0 4B); F5 is 3F; Tab 0F.
    EXPECT_NE(std::find(keys.begin(), keys.end(), "37 75 1"), keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), "116 63 0"), keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), "9 15 0"), keys.end());
}

TEST_F(Win32KeyboardTest, StopsWhenAnotherWindowIsInFront) {
    TargetProcess intended({L"v:keyboard intended"});
    TargetProcess other({L"v:keyboard other"});
    bringToFront(other.window());
    EXPECT_EQ(type(intended.window(), "never"), TypeResult::Interrupted);
    // Nothing may land in the window that is in front instead.
    EXPECT_EQ(type(other.window(), "z"), TypeResult::Typed);
    ASSERT_TRUE(waitFor([&] { return !other.typedText().empty(); }));
    EXPECT_EQ(other.typedText(), "z");
    EXPECT_EQ(intended.typedText(), "");
}

TEST_F(Win32KeyboardTest, NoTargetTypesNothing) {
    EXPECT_EQ(keyboard.type(0, {services::KeyStroke::text(U'a')}), TypeResult::Interrupted);
}

} // namespace
} // namespace tavren::backend::win32
