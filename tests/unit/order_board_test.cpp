#include "app/main_form.h"
#include "board/order_board.h"

#include <gtest/gtest.h>

using namespace tavren;

namespace {

struct BoardFixture : ::testing::Test {
    app::MainForm form;
    board::OrderBoard board{{form.tavren, form.Frame[2], form.OpT, form.OpY, form.cmb_Bgap}};

    BoardFixture() { board.initialise(); }
    void frameSize(double w, double h) {
        form.Frame[2].setWidth(w);
        form.Frame[2].setHeight(h);
    }
    std::vector<int> shown() const {
        std::vector<int> out;
        for (int i = 0; i <= 81; ++i)
            if (form.tavren[i].visible()) out.push_back(i);
        return out;
    }
};

} // namespace

TEST_F(BoardFixture, WorkedExampleOfFourRowsAndTwoColumns) {
    frameSize(4855, 4525);
    board.ButtonArrange();
    // Pitch (4855 - 50) / 2 = 2402.5 rounds to the even 2402.
    const double tops[] = {150, 1243.75, 2337.5, 3431.25};
    for (int i = 0; i < 8; ++i) {
        const auto& g = form.tavren[i].geometry();
        EXPECT_EQ(g.width, 2352) << i;
        EXPECT_EQ(g.height, 1043.75) << i;
        EXPECT_EQ(g.left, i < 4 ? 50 : 2452) << i;
        EXPECT_EQ(g.top, tops[i % 4]) << i;
    }
    EXPECT_EQ(shown().size(), 8u);
    EXPECT_FALSE(form.tavren[8].visible());
}

TEST_F(BoardFixture, PitchTiesRoundToEven) {
    // (4857 - 50) / 2 = 2403.5 -> 2404: the second column starts at 2404 + 50.
    frameSize(4857, 4525);
    board.ButtonArrange();
    EXPECT_EQ(form.tavren[4].left(), 2454);
    EXPECT_EQ(form.tavren[4].width(), 2354);
}

TEST_F(BoardFixture, ShapesShowTheirButtonsDownTheColumns) {
    frameSize(4855, 4525);
    ASSERT_TRUE(board.OpT_Click(9));
    ASSERT_TRUE(board.OpY_Click(9));
    EXPECT_EQ(board.lastShownIndex(), 80);
    EXPECT_EQ(shown().size(), 81u);
    EXPECT_FALSE(form.tavren[81].visible());

    ASSERT_TRUE(board.OpT_Click(3));
    ASSERT_TRUE(board.OpY_Click(3));
    ASSERT_TRUE(board.OpT_Click(2));
    ASSERT_TRUE(board.OpY_Click(2));
    EXPECT_EQ(shown(), (std::vector<int>{0, 1, 2, 3}));
    // Button 2 heads the second column.
    EXPECT_EQ(form.tavren[2].top(), form.tavren[0].top());
    EXPECT_GT(form.tavren[2].left(), form.tavren[0].left());
    EXPECT_TRUE(form.OpT[2].value());
    EXPECT_FALSE(form.OpT[3].value());
}

TEST_F(BoardFixture, UserClickOnAnOptionReshapesTheBoard) {
    frameSize(4855, 4525);
    form.OpY[3].select();
    EXPECT_EQ(board.columnCount(), 3);
    EXPECT_EQ(board.lastShownIndex(), 11);
    EXPECT_EQ(shown().size(), 12u);
}

TEST_F(BoardFixture, LayingOutTwiceGivesTheSameGeometry) {
    frameSize(5000, 4000);
    board.ButtonArrange();
    std::vector<controls::Rect> first;
    for (int i = 0; i < 8; ++i)
        first.push_back(form.tavren[i].geometry());
    board.ButtonArrange();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(form.tavren[i].geometry(), first[i]);
}

TEST_F(BoardFixture, GapTextIsTwentyTwipsPerUnitRoundedToEven) {
    frameSize(4855, 4525);
    struct Case {
        const char* text;
        bool ok;
        int gap;
    };
    for (const Case& c : {Case{"3", true, 60}, Case{"2.5", true, 50}, Case{"3.5", true, 70},
                          Case{" 4 ", true, 80}, Case{"", false, 80}, Case{"abc", false, 80},
                          Case{"3x", false, 80}, Case{"1e30", false, 80}}) {
        form.cmb_Bgap.setText(c.text);
        EXPECT_EQ(board.ButtonGapApply(), c.ok) << c.text;
        EXPECT_EQ(board.buttonGap(), c.gap) << c.text;
    }
}

TEST_F(BoardFixture, CountWithoutAnOptionIsStoredButFailsBeforeLayout) {
    frameSize(4855, 4525);
    board.ButtonArrange();
    const auto before = form.tavren[0].geometry();
    EXPECT_FALSE(board.OpT_Click(1));
    EXPECT_EQ(board.rowCount(), 1);
    EXPECT_EQ(board.lastShownIndex(), 1);
    EXPECT_EQ(form.tavren[0].geometry(), before); // no layout in that call
    board.ButtonArrange();                        // the next one uses the stored count: one row
    EXPECT_EQ(form.tavren[0].top(), form.tavren[1].top());
}

TEST_F(BoardFixture, ZeroCountKeepsTheLastGoodLayout) {
    frameSize(4855, 4525);
    board.ButtonArrange();
    const auto before = form.tavren[3].geometry();
    EXPECT_FALSE(board.OpT_Click(0));
    board.ButtonArrange(); // would divide by zero
    frameSize(6000, 5000);
    board.ButtonArrange();
    EXPECT_EQ(form.tavren[3].geometry(), before);
    EXPECT_TRUE(form.tavren[3].visible());
}

TEST_F(BoardFixture, ClickingTheStillSelectedOptionRepairsACountWithoutAnOption) {
    // A row directive of 0 leaves "4" shown selected while no row is laid out;
    // the user's click on that "4" must bring the four rows back.
    frameSize(4855, 4525);
    board.ButtonArrange();
    EXPECT_FALSE(board.OpT_Click(0));
    EXPECT_FALSE(board.OpY_Click(1));
    ASSERT_TRUE(form.OpT[4].value());
    ASSERT_TRUE(form.OpY[2].value());

    form.OpT[4].clickByUser();
    form.OpY[2].clickByUser();
    EXPECT_EQ(board.rowCount(), 4);
    EXPECT_EQ(board.columnCount(), 2);
    EXPECT_EQ(board.lastShownIndex(), 7);
    EXPECT_EQ(shown(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_GT(form.tavren[7].left(), form.tavren[3].left()); // laid out in two columns again
}

TEST_F(BoardFixture, NegativeSizesAreClampedToZero) {
    frameSize(900, 1420);
    ASSERT_TRUE(board.OpT_Click(9));
    ASSERT_TRUE(board.OpY_Click(9));
    form.cmb_Bgap.setText("200"); // 4000 twips between buttons
    ASSERT_TRUE(board.ButtonGapApply());
    for (int i = 0; i <= 80; ++i) {
        EXPECT_GE(form.tavren[i].width(), 0) << i;
        EXPECT_GE(form.tavren[i].height(), 0) << i;
    }
}
