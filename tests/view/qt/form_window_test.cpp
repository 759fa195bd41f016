// The form's window: sizes both ways through the fixed virtual frame, window
// state, closing.
#include "sample_form.h"

#include "platform/view/qt/qt_view.h"

#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.addForm(f.form);
        f.form.setVisible(true);
        window = view.widgetFor(f.form);
        client = view.clientAreaOf(f.form);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(client, nullptr);
        // What the user handles is a window on the screen, placed already.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    int menuHeight() const { return window->height() - client->height(); }
    // What the user does with the frame's handles: a new client size in pixels.
    void userResizesClientTo(QSize s) {
        window->resize(s.width(), s.height() + menuHeight());
        QApplication::processEvents();
    }

    fixtures::SampleForm f;
    QtView view{TwipsScale::forDpi(120, 120)}; // 12 twips per pixel
    QWidget* window = nullptr;
    QWidget* client = nullptr;
};

TEST_F(FormWindowTest, TheMenuBarSitsAboveTheClientArea) {
    EXPECT_GT(menuHeight(), 0);
    EXPECT_EQ(client->size(), QSize(400, 250));
}

TEST_F(FormWindowTest, AUserResizeReachesTheFormAndAMinimumSetInsideIsApplied) {
    std::vector<double> seen;
    f.form.resized.connect([&] {
        seen.push_back(f.form.height());
        if (f.form.height() <= 2000) f.form.setHeight(2000);
        f.settings.setWidth(f.form.width() - 100);
        f.settings.setHeight(f.form.height() - 580);
    });

    userResizesClientTo(QSize(300, 50));

    // 50 px = 600 twips of client, + 580 of frame = 1180; then the handler's 2000.
    EXPECT_EQ(seen, (std::vector<double>{1180, 2000}));
    EXPECT_EQ(f.form.width(), 300 * 12 + 100);
    EXPECT_EQ(f.form.height(), 2000);
    // (2000 - 580) / 12 = 118.3 px, and the panel fills exactly that.
    EXPECT_EQ(client->size(), QSize(300, 118));
    EXPECT_EQ(view.widgetFor(f.settings)->size(), QSize(300, 118));

    // Late reports of the window system change nothing more.
    QApplication::processEvents();
    EXPECT_EQ(f.form.height(), 2000);
    EXPECT_EQ(client->size(), QSize(300, 118));
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(FormWindowTest, ASizeSetByCodeIsAppliedWithoutComingBack) {
    int resizes = 0;
    f.form.resized.connect([&] { ++resizes; });
    // Neither size is a whole number of pixels: rounding must not come back as
    // a user's resize.
    f.form.setGeometry({1200, 2400, 6000, 5000});
    QApplication::processEvents();
    EXPECT_EQ(client->size(), QSize(492, 368)); // 491.7 x 368.3
    EXPECT_EQ(f.form.geometry(), (controls::Rect{1200, 2400, 6000, 5000}));
    EXPECT_EQ(resizes, 1);

    // Two sizes in a row before the window system reports either.
    f.form.setWidth(3000);
    f.form.setWidth(4000);
    QApplication::processEvents();
    EXPECT_EQ(f.form.width(), 4000);
    EXPECT_EQ(client->width(), 325); // 3900 / 12
    EXPECT_EQ(resizes, 3);
}

TEST_F(FormWindowTest, MovesGoBothWays) {
    window->move(30, 40);
    QApplication::processEvents();
    EXPECT_EQ(f.form.left(), 360);
    EXPECT_EQ(f.form.top(), 480);
    f.form.setLeft(1200);
    EXPECT_EQ(window->pos(), QPoint(100, 40));
}

// Before the window is on the screen, moves are the window system placing a new
// window (offscreen here, the window manager on a desktop): the form keeps its
// place, hears of no move, and the window ends up where the form says. Also
// the design's 0, 0, which a window that was never moved would not be given.
TEST(FormWindowPlacementTest, TheFormsPlaceWinsOverMovesBeforeTheWindowIsOnTheScreen) {
    for (const controls::Rect place :
         {controls::Rect{1200, 2400, 4900, 3580}, controls::Rect{0, 0, 4900, 3580}}) {
        fixtures::SampleForm f;
        QtView view{TwipsScale::forDpi(120, 120)};
        f.form.setGeometry(place);
        view.addForm(f.form);
        int changes = 0;
        f.form.changed.connect([&](controls::Property p) {
            if (p == controls::Property::Geometry) ++changes;
        });
        f.form.setVisible(true);
        QWidget* window = view.widgetFor(f.form);
        ASSERT_NE(window, nullptr);
        window->move(300, 200);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();

        const QPoint wanted(int(place.left / 12), int(place.top / 12));
        EXPECT_EQ(window->pos(), wanted) << "form at " << place.left << ", " << place.top;
        EXPECT_EQ(f.form.geometry(), place);
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(FormWindowTest, MinimisingAndRestoringReachTheForm) {
    std::vector<controls::WindowState> seen;
    f.form.resized.connect([&] { seen.push_back(f.form.windowState()); });
    window->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(f.form.windowState(), controls::WindowState::Minimised);
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(f.form.windowState(), controls::WindowState::Normal);
    EXPECT_EQ(seen, (std::vector<controls::WindowState>{controls::WindowState::Minimised,
                                                        controls::WindowState::Normal}));

    f.form.setWindowState(controls::WindowState::Minimised);
    EXPECT_TRUE(window->isMinimized());
    f.form.setWindowState(controls::WindowState::Normal);
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(FormWindowTest, ClosingAsksTheFormWhichMayRefuse) {
    bool refuse = true;
    int requests = 0;
    f.form.unloading.connect([&](bool& cancel) {
        ++requests;
        cancel = refuse;
    });

    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(f.form.visible());

    refuse = false;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(f.form.visible());
    EXPECT_EQ(requests, 2);

    f.form.setVisible(true); // and it can come back
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FormWindowTest, AFormThatHidesInsteadOfClosingIsHidden) {
    f.form.unloading.connect([&](bool& cancel) {
        cancel = true;
        f.form.setVisible(false);
    });
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(f.form.visible());
}

} // namespace
