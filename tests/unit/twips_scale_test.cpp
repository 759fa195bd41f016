#include "platform/controls/form_frame.h"
#include "platform/controls/twips_scale.h"

#include <gtest/gtest.h>

namespace tavren::controls {
namespace {

TEST(TwipsScale, TwipsPerPixelIs1440OverTheDpiOnEachAxis) {
    const TwipsScale at144x120 = TwipsScale::forDpi(144, 120);
    EXPECT_DOUBLE_EQ(at144x120.perPixelX, 10);
    EXPECT_DOUBLE_EQ(at144x120.perPixelY, 12);
    EXPECT_EQ(at144x120.toPixelsX(1000), 100);
    EXPECT_EQ(at144x120.toPixelsY(1200), 100);
    EXPECT_DOUBLE_EQ(at144x120.toTwipsX(7), 70);
    EXPECT_DOUBLE_EQ(at144x120.toTwipsY(7), 84);
}

TEST(TwipsScale, PixelsRoundToTheNearest) {
    const TwipsScale at96 = TwipsScale::forDpi(96, 96); // 15 twips per pixel
    EXPECT_EQ(at96.toPixelsX(22), 1);                   // 1.47
    EXPECT_EQ(at96.toPixelsX(23), 2);                   // 1.53
    EXPECT_EQ(at96.toPixelsY(-120), -8);                // a panel above its parent's top
    EXPECT_DOUBLE_EQ(at96.toTwipsX(393), 5895);
}

TEST(TwipsScale, EdgesAreConvertedSoThatNeighboursStillTouch) {
    const TwipsScale at96 = TwipsScale::forDpi(96, 96);
    EXPECT_EQ(at96.toPixels({120, 360, 2415, 375}), (PixelEdges{8, 24, 169, 49}));
    // 100 twips = 6.67 px: converting sizes would leave a gap between these two.
    const PixelEdges first = at96.toPixels({0, 0, 100, 100});
    const PixelEdges second = at96.toPixels({100, 0, 100, 100});
    EXPECT_EQ(first.right, second.left);
    EXPECT_EQ(first.right - first.left, 7);
    EXPECT_EQ(second.right - second.left, 6);
}

TEST(TwipsScale, NegativeSizesBecomeEmptyRectangles) {
    const TwipsScale at96 = TwipsScale::forDpi(96, 96);
    EXPECT_EQ(at96.toPixels({300, 300, -150, -600}), (PixelEdges{20, 20, 20, 20}));
}

TEST(FormFrame, TheClientAreaIsTheOuterSizeLessTheFixedFrame) {
    const TwipsScale scale = TwipsScale::forDpi(96, 96);
    const Rect outer{1500, 3000, 6000, 5000};
    // 5900 / 15 = 393.3 and 4420 / 15 = 294.7 pixels.
    EXPECT_EQ(FormFrame::clientWidth(outer, scale), 393);
    EXPECT_EQ(FormFrame::clientHeight(outer, scale), 295);
    // And back: whole pixels give whole twips plus the frame.
    EXPECT_DOUBLE_EQ(FormFrame::outerWidth(393, scale), 393 * 15 + 100);
    EXPECT_DOUBLE_EQ(FormFrame::outerHeight(95, scale), 95 * 15 + 580);
    // A window smaller than its frame has an empty client area, not a negative one.
    EXPECT_EQ(FormFrame::clientWidth({0, 0, 50, 300}, scale), 0);
    EXPECT_EQ(FormFrame::clientHeight({0, 0, 50, 300}, scale), 0);
}

} // namespace
} // namespace tavren::controls
