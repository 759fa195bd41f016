// Keeping our own window above the others, through openbox on the test desktop.
#include "platform/backend/x11/x11_stacking.h"
#include "platform/controls/form.h"
#include "x11_test_support.h"

#include <unistd.h>

namespace tavren::backend::x11::testing {
namespace {

struct Placement {
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

class StackingTest : public DesktopTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(connectToManagedDesktop());
        own = XCreateSimpleWindow(display, DefaultRootWindow(display), 200, 150, 320, 200, 0, 0,
                                  0xC0C0C0);
        const std::string title = "stacking test " + std::to_string(getpid());
        Xutf8SetWMProperties(display, own, title.c_str(), nullptr, nullptr, 0, nullptr, nullptr,
                             nullptr);
        XSync(display, False);
        stacking.emplace(display, [this](const controls::Form& f) -> unsigned long {
            return &f == &form ? own : 0;
        });
    }
    void TearDown() override {
        stacking.reset();
        if (display && own) XDestroyWindow(display, own);
        DesktopTest::TearDown();
    }

    void showOwn() {
        XMapWindow(display, own);
        XFlush(display);
        ASSERT_TRUE(waitShown(own));
    }
    bool hasAbove() {
        const auto states = readList(own, "_NET_WM_STATE", XA_ATOM);
        return std::find(states.begin(), states.end(), atom("_NET_WM_STATE_ABOVE")) != states.end();
    }
    Placement placement() {
        Placement p;
        Window child = None, root = None;
        int x = 0, y = 0;
        unsigned border = 0, depth = 0;
        XGetGeometry(display, own, &root, &x, &y, &p.width, &p.height, &border, &depth);
        XTranslateCoordinates(display, own, root, 0, 0, &p.x, &p.y, &child);
        return p;
    }

    controls::Form form{"IRC_Quorvel", "IRC Quorvel"};
    Window own = None;
    std::optional<X11Stacking> stacking;
};

TEST_F(StackingTest, KeepAboveOnAShownWindowHoldsItOverAnActivatedOne) {
    ASSERT_NO_FATAL_FAILURE(showOwn());
    SpawnedWindow other({"--net-name", "other window " + std::to_string(getpid())});
    ASSERT_TRUE(waitShown(other.id()));
    const Placement before = placement();

    stacking->setKeepAbove(form, true);
    ASSERT_TRUE(waitFor([&] { return hasAbove(); }));
    // Moving the focus to the other window would raise it over any window
    // not kept above; the focus moves only once that raise is done.
    ASSERT_TRUE(activate(own));
    ASSERT_TRUE(activate(other.id()));
    EXPECT_LT(position(own), position(other.id()));
    EXPECT_EQ(placement(), before);

    stacking->setKeepAbove(form, false);
    ASSERT_TRUE(waitFor([&] { return !hasAbove(); }));
    ASSERT_TRUE(activate(own));
    ASSERT_TRUE(activate(other.id()));
    EXPECT_LT(position(other.id()), position(own));
    // The same window all along, where the user left it.
    EXPECT_TRUE(listed(own));
    EXPECT_EQ(placement(), before);
}

TEST_F(StackingTest, KeepAboveAskedBeforeTheWindowIsShownTakesEffectWhenItIs) {
    stacking->setKeepAbove(form, true);
    stacking->setKeepAbove(form, false);
    XSync(display, False);
    EXPECT_FALSE(hasAbove());

    stacking->setKeepAbove(form, true);
    XSync(display, False);
    EXPECT_TRUE(hasAbove());

    ASSERT_NO_FATAL_FAILURE(showOwn());
    SpawnedWindow other({"--net-name", "later window " + std::to_string(getpid())});
    ASSERT_TRUE(waitShown(other.id()));
    ASSERT_TRUE(activate(own));
    ASSERT_TRUE(activate(other.id()));
    EXPECT_TRUE(hasAbove());
    EXPECT_LT(position(own), position(other.id()));
}

TEST_F(StackingTest, FormWithoutAWindowIsLeftAlone) {
    controls::Form unseen{"frm_nick", "nick"};
    stacking->setKeepAbove(unseen, true);
    XSync(display, False);
    EXPECT_FALSE(hasAbove());
}

} // namespace
} // namespace tavren::backend::x11::testing
