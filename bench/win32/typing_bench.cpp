// Typing under Wine with the Win32 keyboard service (SendInput, text as
// Unicode input): 500 ASCII and 100 Japanese characters into the edit control
// of win32_test_target.exe, another process, which logs every character it
// receives. Prints characters per second until Win32Keyboard returned (the
// target has read the keys) and until the last character was in the target's
// log, and the characters lost. Median of 5 runs.
#include "../typing_loss.h"
#include "delivery/send_keys.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_foreground_calls.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_window_manager.h"
#include "target_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using tavren::benchmark::codePoints;
using tavren::benchmark::lost;

using namespace tavren;
using Clock = std::chrono::steady_clock;
using win32::testing::TargetProcess;

// Letters, digits, blanks and punctuation that mean nothing in the key syntax.
std::string asciiText(std::size_t length) {
    std::vector<std::string> pool;
    for (char c :
         std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.-!?:;"))
        pool.emplace_back(1, c);
    return win32::testing::textOf(pool, length, 12345);
}

// Kanji, kana, full-width and half-width forms as Japanese players chat.
std::string japaneseText(std::size_t length) {
    return win32::testing::textOf({"攻", "撃", "開", "始", "！", "＠", "北", "南", "集",
                                   "合", "本", "陣", "あ", "い", "ア", "ｱ",  "ｲ",  "ﾞ",
                                   "ｰ",  "１", "Ａ", "（", "）", "￥", "城", "門"},
                                  length, 54321);
}

struct Run {
    double returnedPerSecond;
    double arrivedPerSecond;
    std::size_t lostCharacters;
};

Run typeOnce(win32::Win32WindowManager& manager, win32::Win32Keyboard& keyboard,
             const std::string& text) {
    TargetProcess target({L"v:tavren typing bench"});
    manager.bringToFront(win32::fromHwnd(target.window()));
    win32::testing::waitFor([&] { return GetForegroundWindow() == target.window(); });
    const auto keys = *delivery::parseSendKeys(text);
    const auto characters = static_cast<double>(codePoints(text));
    const auto start = Clock::now();
    const auto result = keyboard.type(win32::fromHwnd(target.window()), keys);
    const double returned = std::chrono::duration<double>(Clock::now() - start).count();
    std::string received;
    win32::testing::waitFor(
        [&] {
            received = target.typedText();
            return received.size() >= text.size();
        },
        std::chrono::seconds(20));
    const double arrived = std::chrono::duration<double>(Clock::now() - start).count();
    if (result != services::TypeResult::Typed)
        std::printf("  (a run ended early: the foreground changed or SendInput failed)\n");
    return {characters / returned, characters / arrived, lost(text, received)};
}

void bench(const char* label, const std::string& text) {
    win32::SystemForegroundCalls calls;
    win32::Win32WindowManager manager(calls);
    win32::SystemProcessIntegrity integrity;
    win32::Win32Keyboard keyboard(integrity);
    std::vector<Run> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(typeOnce(manager, keyboard, text));
    std::vector<double> returned, arrived;
    std::size_t lostMost = 0;
    for (const auto& r : runs) {
        returned.push_back(r.returnedPerSecond);
        arrived.push_back(r.arrivedPerSecond);
        lostMost = std::max(lostMost, r.lostCharacters);
    }
    std::sort(returned.begin(), returned.end());
    std::sort(arrived.begin(), arrived.end());
    std::printf("%-16s %12.0f %12.0f %8zu\n", label, returned[2], arrived[2], lostMost);
}

} // namespace

int main() {
    std::printf("Typing under Wine into win32_test_target.exe (median of 5 runs)\n");
    std::printf("%-16s %12s %12s %8s\n", "text", "returned/s", "arrived/s", "lost");
    bench("500 ASCII", asciiText(500));
    bench("100 Japanese", japaneseText(100));
    std::printf("returned/s: characters per second until Win32Keyboard returned (the target had "
                "processed them);\narrived/s: until the last was in the target's log; lost: the "
                "most in one run.\n");
    return 0;
}
