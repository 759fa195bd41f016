#include "platform/controls/caption_room.h"

#include <gtest/gtest.h>

using tavren::controls::captionRoomBeside;
using tavren::controls::PixelEdges;

// The nick box's caption area at 96 DPI and what overlaps it.
constexpr PixelEdges kArea{25, 88, 113, 113};

TEST(CaptionRoomTest, AnAreaNothingOverlapsStaysWhole) {
    EXPECT_EQ(captionRoomBeside(kArea, {113, 88, 150, 113}), kArea); // touching only
}

TEST(CaptionRoomTest, ARowOverlappedAtTheBottomIsGivenUp) {
    EXPECT_EQ(captionRoomBeside(kArea, {0, 112, 200, 130}), (PixelEdges{25, 88, 113, 112}));
}

TEST(CaptionRoomTest, AColumnOverlappedAtTheRightIsGivenUp) {
    EXPECT_EQ(captionRoomBeside(kArea, {112, 80, 160, 100}), (PixelEdges{25, 88, 112, 113}));
}

TEST(CaptionRoomTest, AButtonInTheLowerMiddleLeavesTheLinesAboveIt) {
    // The "0.0" button: 56..81 across, from 100 down.
    EXPECT_EQ(captionRoomBeside(kArea, {56, 100, 81, 117}), (PixelEdges{25, 88, 113, 100}));
}
