// The window list, activation and the focus with a window manager (openbox on
// the test desktop), against windows of other processes.
#include "x11_test_support.h"

#include <unistd.h>

namespace tavren::backend::x11::testing {
namespace {

class ManagedDesktopTest : public DesktopTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(connectToManagedDesktop()); }
    // Titles unique to this run, as other tests may share the desktop.
    static std::string unique(const std::string& title) {
        return title + " " + std::to_string(getpid());
    }
};

TEST_F(ManagedDesktopTest, ListsWindowsTopmostFirstAsActivationRestacksThem) {
    SpawnedWindow a({"--net-name", unique("order target A")});
    SpawnedWindow b({"--net-name", unique("order target B")});
    ASSERT_TRUE(waitShown(a.id()));
    ASSERT_TRUE(waitShown(b.id()));
    ASSERT_TRUE(activate(a.id()));

    // Each activation below moves the focus, which the window manager reports
    // after it has raised the window.
    ASSERT_TRUE(activate(b.id()));
    ASSERT_TRUE(stackedAbove(b.id(), a.id()));
    EXPECT_LT(position(b.id()), position(a.id()));
    ASSERT_TRUE(activate(a.id()));
    ASSERT_TRUE(stackedAbove(a.id(), b.id()));
    EXPECT_LT(position(a.id()), position(b.id()));
}

TEST_F(ManagedDesktopTest, TitlesArriveAsUtf8WhicheverPropertyCarriesThem) {
    const std::string japanese = unique("注文テスト ウィンドウ");
    SpawnedWindow net({"--net-name", japanese, "--wm-name", "old style name"});
    // WM_NAME as STRING is Latin-1: "caf\xE9" is "café".
    SpawnedWindow legacy({"--wm-name", "caf\xE9 " + std::to_string(getpid())});
    ASSERT_TRUE(waitListed(net.id()));
    ASSERT_TRUE(waitListed(legacy.id()));

    EXPECT_EQ(titleOf(net.id()), japanese);
    EXPECT_EQ(titleOf(legacy.id()), "caf\xC3\xA9 " + std::to_string(getpid()));
}

TEST_F(ManagedDesktopTest, MinimisedWindowStaysListedAndActivationRestoresIt) {
    SpawnedWindow a({"--net-name", unique("minimised target")});
    ASSERT_TRUE(waitListed(a.id()));
    ASSERT_TRUE(waitFor([&] { return wmState(a.id()) == NormalState; }));

    XIconifyWindow(display, a.id(), DefaultScreen(display));
    XFlush(display);
    ASSERT_TRUE(waitFor([&] { return wmState(a.id()) == IconicState; }));

    const auto windows = list();
    const auto it = std::find_if(windows.begin(), windows.end(),
                                 [&](const auto& w) { return w.handle == long(a.id()); });
    ASSERT_NE(it, windows.end());
    EXPECT_TRUE(it->visible);

    ASSERT_TRUE(activate(a.id()));
    EXPECT_TRUE(waitFor([&] { return wmState(a.id()) == NormalState; }));
}

TEST_F(ManagedDesktopTest, ClosedWindowLeavesTheListAndCannotBeActivated) {
    SpawnedWindow a({"--net-name", unique("closing target")});
    SpawnedWindow b({"--net-name", unique("staying target")});
    ASSERT_TRUE(waitListed(a.id()));
    ASSERT_TRUE(waitListed(b.id()));
    ASSERT_TRUE(activate(b.id()));

    const auto gone = a.id();
    a.end();
    ASSERT_TRUE(waitFor([&] { return !listed(gone); }));

    manager->bringToFront(static_cast<services::WindowHandle>(gone));
    // Still answering, and the window in front is the one that was there.
    EXPECT_TRUE(listed(b.id()));
    EXPECT_NE(manager->foregroundWindow(), long(gone));
}

TEST_F(ManagedDesktopTest, AnActiveWindowThatHasLostTheFocusIsNotInFront) {
    SpawnedWindow a({"--net-name", unique("active target")});
    SpawnedWindow b({"--net-name", unique("clicked window")});
    ASSERT_TRUE(waitShown(a.id()));
    ASSERT_TRUE(waitShown(b.id()));
    ASSERT_TRUE(activate(a.id()));

    // As a click does: the focus moves at once, and the window manager, held up
    // here by the grab, has not yet moved _NET_ACTIVE_WINDOW after it. Keys
    // typed now would reach b.
    XGrabServer(display);
    XSetInputFocus(display, b.id(), RevertToParent, CurrentTime);
    XSync(display, False);
    const auto stillNamed = readList(DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    const auto front = manager->foregroundWindow();
    XUngrabServer(display);
    XSync(display, False);

    ASSERT_EQ(stillNamed, std::vector<unsigned long>{a.id()});
    EXPECT_NE(front, long(a.id()));
    EXPECT_TRUE(activate(a.id()));
}

TEST_F(ManagedDesktopTest, OurOwnWindowsAreListedLikeAnyOther) {
    const Window own =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 100, 80, 0, 0, 0);
    const std::string title = unique("own window");
    Xutf8SetWMProperties(display, own, title.c_str(), nullptr, nullptr, 0, nullptr, nullptr,
                         nullptr);
    XMapWindow(display, own);
    XFlush(display);

    ASSERT_TRUE(waitListed(own));
    EXPECT_EQ(titleOf(own), title);
    XDestroyWindow(display, own);
}

} // namespace
} // namespace tavren::backend::x11::testing
