#include "platform/backend/win32/handles.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "platform/backend/win32/win32_window_manager.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavren::backend::win32 {
namespace {

using testing::TargetProcess;
using testing::waitFor;

class Win32WindowManagerTest : public ::testing::Test {
protected:
    SystemForegroundCalls calls;
    Win32WindowManager manager{calls};

    const services::TopLevelWindow* find(const std::vector<services::TopLevelWindow>& list,
                                         HWND window) {
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const auto& w) { return w.handle == fromHwnd(window); });
        return it == list.end() ? nullptr : &*it;
    }
    std::ptrdiff_t positionOf(const std::vector<services::TopLevelWindow>& list, HWND window) {
        const auto* w = find(list, window);
        return w ? w - list.data() : -1;
    }
};

TEST_F(Win32WindowManagerTest, ListsWindowsOfAnotherProcessWithTheirTitlesAndVisibility) {
    TargetProcess target({L"v:walk shown", L"h:walk hidden", L"v:   "});
    const auto list = manager.topLevelWindows();
    const auto* shown = find(list, target.windows()[0]);
    const auto* hidden = find(list, target.windows()[1]);
    const auto* blank = find(list, target.windows()[2]);
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(hidden, nullptr);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(shown->title, "walk shown");
    EXPECT_TRUE(shown->visible);
    EXPECT_EQ(hidden->title, "walk hidden");
    EXPECT_FALSE(hidden->visible);
    EXPECT_EQ(blank->title, "   ");
}

// Wine cloaks nothing: the system's answer is stood in for by one that cloaks
// the second window, as Windows does a window on another virtual desktop.
HWND cloakedByTheTest = nullptr;
bool cloakedForTheTest(HWND window) {
    return window == cloakedByTheTest;
}

TEST_F(Win32WindowManagerTest, ACloakedWindowCountsAsNotVisible) {
    TargetProcess target({L"v:walk seen", L"v:walk cloaked"});
    cloakedByTheTest = target.windows()[1];
    Win32WindowManager cloaking(calls, cloakedForTheTest);
    const auto list = cloaking.topLevelWindows();
    ASSERT_NE(find(list, target.windows()[0]), nullptr);
    ASSERT_NE(find(list, target.windows()[1]), nullptr);
    EXPECT_TRUE(find(list, target.windows()[0])->visible);
    EXPECT_FALSE(find(list, target.windows()[1])->visible);
}

TEST_F(Win32WindowManagerTest, TitlesArriveAsUtf8Whole) {
    const std::wstring longTitle(300, L'x');
    TargetProcess target({L"v:命令ファイル＠本陣", L"v:" + longTitle});
    const auto list = manager.topLevelWindows();
    const auto* japanese = find(list, target.windows()[0]);
    const auto* longOne = find(list, target.windows()[1]);
    ASSERT_NE(japanese, nullptr);
    ASSERT_NE(longOne, nullptr);
    EXPECT_EQ(japanese->title, "命令ファイル＠本陣");
    EXPECT_EQ(longOne->title, std::string(300, 'x'));
}

TEST_F(Win32WindowManagerTest, ListsTheWindowsInZOrderTopmostFirst) {
    TargetProcess target({L"v:walk one", L"v:walk two"});
    // The topmost band lies above every other window: whichever of the two
    // joins it must be listed first.
    for (HWND above : {target.windows()[0], target.windows()[1]}) {
        const HWND below = above == target.windows()[0] ? target.windows()[1] : target.windows()[0];
        SetWindowPos(below, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(above, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        EXPECT_TRUE(waitFor([&] {
            const auto list = manager.topLevelWindows();
            return positionOf(list, above) >= 0 &&
                   positionOf(list, below) > positionOf(list, above);
        })) << "the window above is not listed before the one below";
    }
}

TEST_F(Win32WindowManagerTest, BringsAnotherProcessWindowToTheFront) {
    TargetProcess first({L"v:front one"});
    TargetProcess second({L"v:front two"});
    manager.bringToFront(fromHwnd(first.window()));
    EXPECT_TRUE(waitFor([&] { return manager.foregroundWindow() == fromHwnd(first.window()); }));
    manager.bringToFront(fromHwnd(second.window()));
    EXPECT_TRUE(waitFor([&] { return manager.foregroundWindow() == fromHwnd(second.window()); }));
}

TEST_F(Win32WindowManagerTest, RestoresAMinimisedWindowItBringsToTheFront) {
    TargetProcess target({L"v:front minimised"});
    ShowWindow(target.window(), SW_MINIMIZE);
    ASSERT_TRUE(waitFor([&] { return IsIconic(target.window()) != FALSE; }));
    manager.bringToFront(fromHwnd(target.window()));
    EXPECT_TRUE(waitFor([&] { return IsIconic(target.window()) == FALSE; }));
    EXPECT_TRUE(waitFor([&] { return manager.foregroundWindow() == fromHwnd(target.window()); }));
}

} // namespace
} // namespace tavren::backend::win32
