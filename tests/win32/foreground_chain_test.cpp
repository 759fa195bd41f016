#include "platform/win32/foreground_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavren::win32 {
namespace {

// The foreground lock of real Windows: a request is granted only while the
// policy says so, and the calls made are recorded.
class LockedForeground : public ForegroundCalls {
public:
    enum class Grants { Always, WhenAttached, AfterAltTap, Never };

    Grants grants = Grants::Always;
    services::WindowHandle current = 1;
    bool minimised = false;
    bool attachFails = false;
    int attached = 0;
    bool altTapped = false;
    std::vector<std::string> calls;

    services::WindowHandle foreground() override { return current; }
    bool setForeground(services::WindowHandle window) override {
        calls.push_back("set " + std::to_string(window));
        const bool granted = grants == Grants::Always ||
                             (grants == Grants::WhenAttached && attached > 0) ||
                             (grants == Grants::AfterAltTap && altTapped);
        if (granted) current = window;
        return granted;
    }
    bool isMinimised(services::WindowHandle) override { return minimised; }
    void restore(services::WindowHandle window) override {
        calls.push_back("restore " + std::to_string(window));
        minimised = false;
    }
    std::uint32_t threadOf(services::WindowHandle window) override {
        return window == 0 ? 0 : static_cast<std::uint32_t>(100 + window);
    }
    std::uint32_t currentThread() override { return 7; }
    bool attachInput(std::uint32_t ours, std::uint32_t theirs, bool attach) override {
        calls.push_back(std::string(attach ? "attach " : "detach ") + std::to_string(ours) + " " +
                        std::to_string(theirs));
        if (attachFails) return false;
        attached += attach ? 1 : -1;
        return true;
    }
    void tapAlt() override {
        calls.push_back("alt");
        altTapped = true;
    }
};

using Calls = std::vector<std::string>;

TEST(ForegroundChain, WindowAlreadyInFrontIsLeftAlone) {
    LockedForeground system;
    EXPECT_EQ(bringToFront(system, 1), FrontResult::AlreadyInFront);
    EXPECT_TRUE(system.calls.empty());
}

TEST(ForegroundChain, GrantedPlainRequestNeedsNoFallback) {
    LockedForeground system;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::Plain);
    EXPECT_EQ(system.calls, Calls{"set 5"});
    EXPECT_EQ(system.current, 5);
}

TEST(ForegroundChain, RefusedRequestIsRepeatedAttachedToTheForegroundThread) {
    LockedForeground system;
    system.grants = LockedForeground::Grants::WhenAttached;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::AttachedInput);
    EXPECT_EQ(system.calls, (Calls{"set 5", "attach 7 101", "set 5", "detach 7 101"}));
    EXPECT_EQ(system.attached, 0);
    EXPECT_EQ(system.current, 5);
}

TEST(ForegroundChain, AltTapIsTheLastResort) {
    LockedForeground system;
    system.grants = LockedForeground::Grants::AfterAltTap;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::AfterAltTap);
    EXPECT_EQ(system.calls,
              (Calls{"set 5", "attach 7 101", "set 5", "detach 7 101", "alt", "set 5"}));
    EXPECT_EQ(system.attached, 0);
    EXPECT_EQ(system.current, 5);
}

TEST(ForegroundChain, FailedAttachmentSkipsStraightToTheAltTap) {
    LockedForeground system;
    system.grants = LockedForeground::Grants::AfterAltTap;
    system.attachFails = true;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::AfterAltTap);
    EXPECT_EQ(system.calls, (Calls{"set 5", "attach 7 101", "alt", "set 5"}));
}

TEST(ForegroundChain, RefusedEverywhereLeavesTheForegroundAndNoAttachment) {
    LockedForeground system;
    system.grants = LockedForeground::Grants::Never;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::Refused);
    EXPECT_EQ(system.current, 1);
    EXPECT_EQ(system.attached, 0);
}

TEST(ForegroundChain, NoAttachmentToOurOwnThread) {
    LockedForeground system;
    system.grants = LockedForeground::Grants::AfterAltTap;
    system.current = 0; // nothing in front: no thread to attach to
    EXPECT_EQ(bringToFront(system, 5), FrontResult::AfterAltTap);
    EXPECT_EQ(system.calls, (Calls{"set 5", "alt", "set 5"}));
}

TEST(ForegroundChain, MinimisedWindowIsRestoredFirst) {
    LockedForeground system;
    system.minimised = true;
    EXPECT_EQ(bringToFront(system, 5), FrontResult::Plain);
    EXPECT_EQ(system.calls, (Calls{"restore 5", "set 5"}));
}

TEST(ForegroundChain, MinimisedForegroundWindowIsRestoredToo) {
    LockedForeground system;
    system.minimised = true;
    EXPECT_EQ(bringToFront(system, 1), FrontResult::AlreadyInFront);
    EXPECT_EQ(system.calls, Calls{"restore 1"});
}

TEST(ForegroundChain, NoWindowIsNeverAskedFor) {
    LockedForeground system;
    EXPECT_EQ(bringToFront(system, 0), FrontResult::Refused);
    EXPECT_TRUE(system.calls.empty());
}

} // namespace
} // namespace tavren::win32
