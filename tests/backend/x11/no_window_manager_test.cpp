// Without a window manager the service walks the root's children and raises
// and focuses windows itself. Runs on a bare X server of its own.
#include "x11_test_support.h"

namespace tavren::backend::x11::testing {
namespace {

class BareDesktopTest : public DesktopTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(server.display().empty()) << "could not start Xvfb";
        ASSERT_NO_FATAL_FAILURE(connect(server.display()));
    }
    Window createWindow(bool overrideRedirect = false, unsigned int windowClass = InputOutput) {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = overrideRedirect;
        return XCreateWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0,
                             windowClass == InputOutput ? CopyFromParent : 0, windowClass,
                             CopyFromParent, CWOverrideRedirect, &attributes);
    }
    void announce(Window check) {
        XChangeProperty(display, DefaultRootWindow(display), atom("_NET_SUPPORTING_WM_CHECK"),
                        XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&check), 1);
        XSync(display, False);
    }

    BareXServer server;
};

TEST_F(BareDesktopTest, ListsViewableTopLevelsTopmostFirstAndActivatesThemItself) {
    SpawnedWindow a({"--net-name", "注文 A"}, server.display());
    SpawnedWindow b({"--wm-name", "plain B"}, server.display());
    ASSERT_TRUE(waitListed(a.id()));
    ASSERT_TRUE(waitListed(b.id()));
    EXPECT_EQ(titleOf(a.id()), "注文 A");
    EXPECT_EQ(titleOf(b.id()), "plain B");

    ASSERT_TRUE(activate(a.id()));
    EXPECT_LT(position(a.id()), position(b.id()));
    ASSERT_TRUE(activate(b.id()));
    EXPECT_LT(position(b.id()), position(a.id()));
}

TEST_F(BareDesktopTest, LeavesOutWhatIsNotAnOrdinaryShownWindow) {
    const Window popup = createWindow(true);
    const Window inputOnly = createWindow(false, InputOnly);
    const Window unmapped = createWindow();
    const Window shown = createWindow();
    XMapWindow(display, popup);
    XMapWindow(display, inputOnly);
    XMapWindow(display, shown);
    XSync(display, False);

    EXPECT_TRUE(listed(shown));
    EXPECT_FALSE(listed(popup));
    EXPECT_FALSE(listed(inputOnly));
    EXPECT_FALSE(listed(unmapped));
}

TEST_F(BareDesktopTest, TitleComesFromTheClientWindowInsideAFrame) {
    // What a window manager that has died leaves behind: frames around clients
    // marked with WM_STATE.
    const Window frame = createWindow();
    const Window client = XCreateSimpleWindow(display, frame, 0, 0, 40, 40, 0, 0, 0);
    const unsigned long normal[2] = {NormalState, None};
    XChangeProperty(display, client, atom("WM_STATE"), atom("WM_STATE"), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(normal), 2);
    Xutf8SetWMProperties(display, client, "framed client", nullptr, nullptr, 0, nullptr, nullptr,
                         nullptr);
    XMapWindow(display, client);
    XMapWindow(display, frame);
    XSync(display, False);

    EXPECT_EQ(titleOf(frame), "framed client");
    EXPECT_FALSE(listed(client));

    ASSERT_TRUE(activate(frame));
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_EQ(focus, client);
}

TEST_F(BareDesktopTest, StaleWindowManagerAnnouncementIsSeenThrough) {
    SpawnedWindow a({"--net-name", "stays listed"}, server.display());
    ASSERT_TRUE(waitListed(a.id()));

    const Window gone = createWindow();
    XDestroyWindow(display, gone);
    const Window notPointingBack = createWindow();
    for (const Window check : {gone, notPointingBack}) {
        announce(check);
        EXPECT_TRUE(listed(a.id())) << check;
        EXPECT_TRUE(activate(a.id())) << check;
    }
}

TEST_F(BareDesktopTest, VanishedWindowIsHarmless) {
    SpawnedWindow a({"--net-name", "front"}, server.display());
    ASSERT_TRUE(waitListed(a.id()));
    ASSERT_TRUE(activate(a.id()));

    const Window gone = createWindow();
    XDestroyWindow(display, gone);
    XSync(display, False);
    // Xlib's default would end the program on the errors these cause.
    manager->bringToFront(static_cast<services::WindowHandle>(gone));
    EXPECT_EQ(manager->foregroundWindow(), long(a.id()));
    EXPECT_TRUE(listed(a.id()));
}

} // namespace
} // namespace tavren::backend::x11::testing
