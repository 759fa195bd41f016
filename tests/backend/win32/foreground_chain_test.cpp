#include "platform/backend/win32/foreground_chain.h"
#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavren::backend::win32 {
namespace {

constexpr services::WindowHandle kOurs = 1; // Tavren's main window, on our thread
constexpr services::WindowHandle kGame = 2; // another program's window
constexpr services::WindowHandle kChat = 5; // the window a press asks for

// One press's requests as the send pipeline makes them: one, then one more
// after each of its 21 checks, until the window is found in front.
constexpr int kRequestsPerPress = 43;

// Windows' foreground lock, and its activation that a thread takes only when
// it next reads its messages: a request is granted as the lock says, and a
// granted one shows in front only after a number of looks. The calls that
// change something are recorded; the input sent is recorded apart.
class LockedForeground : public ForegroundCalls {
public:
    enum class Lock { Open, RefusesUntilOurInput, RefusesUnlessAttached, Refuses };

    Lock lock = Lock::Open;
    int looksBeforeActivation = 0;
    services::WindowHandle current = kOurs;
    std::set<services::WindowHandle> hung;
    std::set<services::WindowHandle> closed;
    bool minimised = false;
    int attached = 0;
    std::vector<std::string> calls;
    std::vector<std::string> inputs;

    services::WindowHandle foreground() override {
        if (activating && ++looks > looksBeforeActivation) {
            current = *activating;
            activating.reset();
        }
        return current;
    }
    bool setForeground(services::WindowHandle window) override {
        calls.push_back("set " + std::to_string(window));
        const bool granted = lock == Lock::Open ||
                             (lock == Lock::RefusesUntilOurInput && ourInputLast) ||
                             (lock == Lock::RefusesUnlessAttached && attached > 0);
        if (granted && window != current && activating != window) {
            activating = window;
            looks = 0;
        }
        return granted;
    }
    bool exists(services::WindowHandle window) override { return closed.count(window) == 0; }
    bool isMinimised(services::WindowHandle) override { return minimised; }
    void restore(services::WindowHandle window) override {
        calls.push_back("restore " + std::to_string(window));
        minimised = false;
    }
    bool isHung(services::WindowHandle window) override { return hung.count(window) != 0; }
    std::uint32_t threadOf(services::WindowHandle window) override {
        if (window == 0) return 0;
        return window == kOurs ? currentThread() : static_cast<std::uint32_t>(100 + window);
    }
    std::uint32_t currentThread() override { return 7; }
    bool attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) override {
        calls.push_back(std::string(attach ? "attach " : "detach ") + std::to_string(ours) + " " +
                        std::to_string(theirs));
        attached += attach ? 1 : -1;
        return true;
    }
    void sendEmptyInput() override {
        inputs.push_back("empty");
        ourInputLast = true;
    }
    std::chrono::microseconds pause() override { return std::chrono::milliseconds(1); }

    int count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(
            calls.begin(), calls.end(), [&](const auto& c) { return c.rfind(prefix, 0) == 0; }));
    }

private:
    std::optional<services::WindowHandle> activating;
    int looks = 0;
    bool ourInputLast = false;
};

// Asks as one press does, stopping once the window is found in front.
void press(LockedForeground& system, services::WindowHandle window) {
    services::FrontAllowance allowance;
    for (int request = 0; request < kRequestsPerPress; ++request) {
        bringToFront(system, window, allowance);
        if (system.foreground() == window) return;
    }
}

using Calls = std::vector<std::string>;

TEST(ForegroundChain, WindowAlreadyInFrontIsLeftAlone) {
    LockedForeground system;
    press(system, kOurs);
    EXPECT_TRUE(system.calls.empty());
    EXPECT_TRUE(system.inputs.empty());
}

// Granted requests are activations under way, whether they show in front
// within the first request's wait or only after several of the press's.
class LateActivation : public ::testing::TestWithParam<int> {};

TEST_P(LateActivation, IsWaitedForAndNeverPushed) {
    LockedForeground system;
    system.looksBeforeActivation = GetParam();
    press(system, kChat);
    EXPECT_EQ(system.current, kChat);
    EXPECT_TRUE(system.inputs.empty());
    EXPECT_EQ(system.count("attach"), 0);
}

INSTANTIATE_TEST_SUITE_P(ForegroundChain, LateActivation, ::testing::Values(3, 200));

struct Refusal {
    const char* name;
    LockedForeground::Lock lock;
    bool endsInFront;
    int attachments;
};

class RefusedRequest : public ::testing::TestWithParam<Refusal> {};

// A keypad hot key while a game has the focus: the press pushes once, with
// input that reaches no window and then attached to the game's thread, and
// never again however often it asks.
TEST_P(RefusedRequest, IsPushedPastOncePerPressWithInputThatReachesNoWindow) {
    LockedForeground system;
    system.lock = GetParam().lock;
    system.current = kGame;
    press(system, kChat);
    EXPECT_EQ(system.current == kChat, GetParam().endsInFront);
    EXPECT_EQ(system.inputs, Calls{"empty"});
    EXPECT_EQ(system.count("attach 7 102"), GetParam().attachments);
    EXPECT_EQ(system.attached, 0);
}

INSTANTIATE_TEST_SUITE_P(
    ForegroundChain, RefusedRequest,
    ::testing::Values(
        Refusal{"GrantedAfterOurInput", LockedForeground::Lock::RefusesUntilOurInput, true, 0},
        Refusal{"GrantedWhenAttached", LockedForeground::Lock::RefusesUnlessAttached, true, 1},
        Refusal{"RefusedThroughout", LockedForeground::Lock::Refuses, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ForegroundChain, EveryPressHasItsOwnPush) {
    LockedForeground system;
    system.lock = LockedForeground::Lock::Refuses;
    system.current = kGame;
    press(system, kChat);
    press(system, kChat);
    EXPECT_EQ(system.inputs, (Calls{"empty", "empty"}));
}

// Attaching to a thread that reads no messages would stop ours with it.
TEST(ForegroundChain, HungForegroundWindowIsNeverAttachedTo) {
    LockedForeground system;
    system.lock = LockedForeground::Lock::Refuses;
    system.current = kGame;
    system.hung.insert(kGame);
    press(system, kChat);
    EXPECT_EQ(system.count("attach"), 0);
    EXPECT_EQ(system.inputs, Calls{"empty"});
}

TEST(ForegroundChain, ClosedWindowIsNeitherAskedForNorPushed) {
    LockedForeground system;
    system.closed.insert(kChat);
    press(system, kChat);
    EXPECT_TRUE(system.calls.empty());
    EXPECT_TRUE(system.inputs.empty());
    EXPECT_EQ(system.current, kOurs);
}

TEST(ForegroundChain, MinimisedWindowIsRestoredFirst) {
    LockedForeground system;
    system.minimised = true;
    press(system, kChat);
    EXPECT_EQ(system.calls, (Calls{"restore 5", "set 5"}));
}

TEST(ForegroundChain, MinimisedForegroundWindowIsRestoredToo) {
    LockedForeground system;
    system.minimised = true;
    press(system, kOurs);
    EXPECT_EQ(system.calls, Calls{"restore 1"});
}

TEST(ForegroundChain, NoWindowIsNeverAskedFor) {
    LockedForeground system;
    press(system, 0);
    EXPECT_TRUE(system.calls.empty());
}

// The real system's judgment of a thread that has stopped reading its
// messages, on another process's window.
TEST(SystemForegroundCalls, AWindowWhoseThreadStoppedIsHung) {
    testing::TargetProcess target({L"v:hung probe"});
    SystemForegroundCalls calls;
    EXPECT_FALSE(calls.isHung(fromHwnd(target.window())));
    target.freeze();
    EXPECT_TRUE(calls.isHung(fromHwnd(target.window())));
}

} // namespace
} // namespace tavren::backend::win32
