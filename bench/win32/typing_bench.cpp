// Typing under Wine with the Win32 keyboard service (SendInput, text as
// Unicode input): 500 ASCII and 100 Japanese characters into the edit control
// of win32_test_target.exe, another process, which logs every character it
// receives. Prints characters per second until Win32Keyboard returned (the
// target has read the keys) and until the last character was in the target's
// log, and the characters lost; beside them the same text sent in one SendInput
// call (the target's own pace, as AutoHotkey's SendInput mode sends), and the
// time from the typing call until 20 characters were delivered. Median of 5 runs.
#include "../typing_loss.h"
#include "delivery/send_keys.h"
#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_keyboard.h"
#include "platform/backend/win32/win32_window_manager.h"
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
using backend::win32::testing::TargetProcess;

// Letters, digits, blanks and punctuation that mean nothing in the key syntax.
std::string asciiText(std::size_t length) {
    std::vector<std::string> pool;
    for (char c :
         std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.-!?:;"))
        pool.emplace_back(1, c);
    return backend::win32::testing::textOf(pool, length, 12345);
}

// Kanji, kana, full-width and half-width forms as Japanese players chat.
std::string japaneseText(std::size_t length) {
    return backend::win32::testing::textOf({"攻", "撃", "開", "始", "！", "＠", "北", "南", "集",
                                            "合", "本", "陣", "あ", "い", "ア", "ｱ",  "ｲ",  "ﾞ",
                                            "ｰ",  "１", "Ａ", "（", "）", "￥", "城", "門"},
                                           length, 54321);
}

struct Run {
    double returnedPerSecond;
    double arrivedPerSecond;
    std::size_t lostCharacters;
};

Run typeOnce(backend::win32::Win32WindowManager& manager, backend::win32::Win32Keyboard& keyboard,
             const std::string& text) {
    TargetProcess target({L"v:tavren typing bench"});
    manager.bringToFront(backend::win32::fromHwnd(target.window()));
    backend::win32::testing::waitFor([&] { return GetForegroundWindow() == target.window(); });
    const auto keys = *delivery::parseSendKeys(text);
    const auto characters = static_cast<double>(codePoints(text));
    const auto start = Clock::now();
    const auto result = keyboard.type(backend::win32::fromHwnd(target.window()), keys);
    const double returned = std::chrono::duration<double>(Clock::now() - start).count();
    std::string received;
    backend::win32::testing::waitFor(
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

// The baseline: the whole text in one SendInput call, as AutoHotkey's
// SendInput mode sends it, without following the target's reading at all.
Run sendAllAtOnce(backend::win32::Win32WindowManager& manager, const std::string& text) {
    TargetProcess target({L"v:tavren typing bench"});
    manager.bringToFront(backend::win32::fromHwnd(target.window()));
    backend::win32::testing::waitFor([&] { return GetForegroundWindow() == target.window(); });
    std::vector<INPUT> inputs;
    const std::wstring wide = backend::win32::utf8ToWide(text);
    for (const wchar_t unit : wide)
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    const auto characters = static_cast<double>(codePoints(text));
    const auto start = Clock::now();
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    const double returned = std::chrono::duration<double>(Clock::now() - start).count();
    std::string received;
    // Lost characters never come: the wait ends once nothing more arrives.
    std::size_t before = 0;
    auto lastChange = Clock::now();
    while (Clock::now() - lastChange < std::chrono::milliseconds(500) &&
           received.size() < text.size()) {
        received = target.typedText();
        if (received.size() != before) {
            before = received.size();
            lastChange = Clock::now();
        }
        Sleep(1);
    }
    const double arrived =
        std::chrono::duration<double>(received.size() < text.size() ? lastChange - start
                                                                    : Clock::now() - start)
            .count();
    return {characters / returned, characters / arrived, lost(text, received)};
}

// Milliseconds from the call until the target had the whole text.
double deliveredAfterMs(backend::win32::Win32WindowManager& manager,
                        backend::win32::Win32Keyboard& keyboard, const std::string& text) {
    TargetProcess target({L"v:tavren typing bench"});
    manager.bringToFront(backend::win32::fromHwnd(target.window()));
    backend::win32::testing::waitFor([&] { return GetForegroundWindow() == target.window(); });
    const auto keys = *delivery::parseSendKeys(text);
    const auto start = Clock::now();
    keyboard.type(backend::win32::fromHwnd(target.window()), keys);
    backend::win32::testing::waitFor([&] { return target.typedText().size() >= text.size(); },
                                     std::chrono::seconds(20));
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void latency(const char* label, const std::string& text) {
    backend::win32::SystemForegroundCalls calls;
    backend::win32::Win32WindowManager manager(calls);
    backend::win32::SystemProcessIntegrity integrity;
    backend::win32::Win32Keyboard keyboard(integrity);
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(deliveredAfterMs(manager, keyboard, text));
    std::sort(runs.begin(), runs.end());
    std::printf("%-16s %9.1f ms\n", label, runs[2]);
}

void baseline(const char* label, const std::string& text) {
    backend::win32::SystemForegroundCalls calls;
    backend::win32::Win32WindowManager manager(calls);
    std::vector<double> arrived;
    std::size_t lostMost = 0;
    for (int i = 0; i < 5; ++i) {
        const Run r = sendAllAtOnce(manager, text);
        arrived.push_back(r.arrivedPerSecond);
        lostMost = std::max(lostMost, r.lostCharacters);
    }
    std::sort(arrived.begin(), arrived.end());
    std::printf("%-16s %12s %12.0f %8zu\n", label, "-", arrived[2], lostMost);
}

void bench(const char* label, const std::string& text) {
    backend::win32::SystemForegroundCalls calls;
    backend::win32::Win32WindowManager manager(calls);
    backend::win32::SystemProcessIntegrity integrity;
    backend::win32::Win32Keyboard keyboard(integrity);
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
    std::printf("Baseline: the whole text in one SendInput call (the target's own pace)\n");
    baseline("500 ASCII", asciiText(500));
    baseline("100 Japanese", japaneseText(100));
    std::printf("Typing call to delivered, 20 characters (median of 5)\n");
    latency("20 ASCII", asciiText(20));
    latency("20 Japanese", japaneseText(20));
    std::printf("returned/s: characters per second until Win32Keyboard returned (the target had "
                "processed them);\narrived/s: until the last was in the target's log; lost: the "
                "most in one run.\n");
    return 0;
}
