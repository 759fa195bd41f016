#include "app/main_form.h"
#include "board/order_board.h"
#include "board/order_file.h"
#include "board/order_loader.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

using namespace tavren;

namespace {

struct LoaderFixture : ::testing::Test {
    fakes::FakePlatform platform;
    app::MainForm form;
    board::OrderBoard board{{form.tavren, form.Frame[2], form.OpT, form.OpY, form.cmb_Bgap}};
    int topClicks = 0;
    int renameClicks = 0;
    board::OrderLoader loader{
        {form.tavren, form.chk_AllwaysonTop, form.chk_rename, form.servername, form.Command1},
        {[this] { ++topClicks; }, [this] { ++renameClicks; }},
        board,
        platform.files,
        platform.codec,
        platform.openDialog};

    LoaderFixture() {
        board.initialise();
        form.Frame[2].setGeometry({0, -120, 4855, 4525});
    }
    void orderFile(std::string text, std::string path = "tavren.txt") {
        platform.files.files[path] = std::move(text);
    }
    std::string caption(int i) const { return form.tavren[i].caption(); }
    controls::Colour colour(int i) const { return form.tavren[i].backColour(); }
};

} // namespace

TEST_F(LoaderFixture, StartUpLoadFillsButtonsSkippingDirectivesAndComments) {
    orderFile("攻撃開始,FF0000\r\n* a comment\r\n*ButtonT=3\r\n\r\n撤退\r\n*ButtonY=5");
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "攻撃開始");
    EXPECT_EQ(colour(0), controls::Colour{0x0000FF});
    EXPECT_EQ(caption(1), ""); // an empty line uses up a button
    EXPECT_EQ(caption(2), "撤退");
    EXPECT_EQ(colour(2), controls::kButtonFace);
    EXPECT_EQ(caption(3), "tavren");
    EXPECT_EQ(board.rowCount(), 3);
    EXPECT_EQ(board.columnCount(), 5);
    EXPECT_TRUE(form.tavren[14].visible());
    EXPECT_FALSE(form.tavren[15].visible());
    EXPECT_EQ(platform.files.lastMaxBytes, board::kOrderFileReadRequest);
}

TEST_F(LoaderFixture, MissingFileFailsAndChangesNothing) {
    EXPECT_FALSE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "tavren");
}

TEST_F(LoaderFixture, EmptyFileIsACompleteLoad) {
    orderFile("");
    EXPECT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "tavren");
}

TEST_F(LoaderFixture, FailingLineStopsTheLoadThere) {
    orderFile("one,00FF00\rtwo,\rthree\r*ButtonT=6");
    EXPECT_FALSE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "one");
    EXPECT_EQ(colour(0), controls::Colour{0x00FF00});
    EXPECT_EQ(caption(1), "tavren"); // the failing button keeps what it had
    EXPECT_EQ(caption(2), "tavren"); // later lines are not read
    EXPECT_EQ(board.rowCount(), 4);
}

TEST_F(LoaderFixture, RowDirectiveWithZeroOrOneStopsTheLoad) {
    for (const char* digit : {"0", "1"}) {
        orderFile(std::string("a\r*ButtonT=") + digit + "\rb");
        EXPECT_FALSE(loader.startUpLoad()) << digit;
        EXPECT_EQ(caption(1), "tavren") << digit;
    }
    orderFile("a\r*ButtonY=z\rb"); // not a digit: ignored
    EXPECT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(1), "b");
}

TEST_F(LoaderFixture, OnlyEightyTwoOrderLinesAreRead) {
    std::string text;
    for (int i = 0; i < 90; ++i)
        text += "order " + std::to_string(i) + "\r\n";
    text += "*servername=late\r\n";
    orderFile(text);
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "order 0");
    EXPECT_EQ(caption(81), "order 81");
    EXPECT_EQ(form.servername.text(), "Text1");
}

TEST_F(LoaderFixture, OptionDirectivesSetTheirBoxesAndAlwaysRunTheHandlers) {
    orderFile("*TOP=on\r*nick=ON\r*servername=irc.example");
    int topBoxClicks = 0;
    form.chk_AllwaysonTop.clicked.connect([&] { ++topBoxClicks; });
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(form.chk_AllwaysonTop.value(), 1);
    EXPECT_EQ(form.chk_rename.value(), 1);
    EXPECT_EQ(form.servername.text(), "irc.example");
    EXPECT_EQ(topClicks, 1);
    EXPECT_EQ(renameClicks, 1);

    orderFile("*TOP=ON");
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(topBoxClicks, 1); // the box did not change this time...
    EXPECT_EQ(topClicks, 2);    // ...but its handling ran anyway
}

TEST_F(LoaderFixture, LegacyEncodedFileIsConverted) {
    orderFile("\x80\x81\r*TOP=on"); // not UTF-8: the fake code page maps 0x80.. to U+3040..
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "\xe3\x81\x80\xe3\x81\x81");
}

TEST_F(LoaderFixture, DialogLoadTakesEveryLineAsAnOrder) {
    form.tavren[5].setCaption("old");
    form.tavren[5].setBackColour(0x123456);
    orderFile("*ButtonT=2\r*TOP=on\rplain,0000FF", "/tmp/other.txt");
    platform.openDialog.answer = "/tmp/other.txt";
    form.Command1.click();
    EXPECT_EQ(caption(0), "*ButtonT=2");
    EXPECT_EQ(caption(1), "*TOP=on");
    EXPECT_EQ(caption(2), "plain");
    EXPECT_EQ(colour(2), controls::Colour{0xFF0000});
    EXPECT_EQ(caption(5), "tavren"); // reset before reading
    EXPECT_EQ(colour(5), controls::kButtonFace);
    EXPECT_EQ(board.rowCount(), 4);
    EXPECT_EQ(form.chk_AllwaysonTop.value(), 0);
    ASSERT_EQ(platform.openDialog.filters.size(), 2u);
    EXPECT_EQ(platform.openDialog.filters[0].patterns, std::vector<std::string>{"*.txt"});
}

TEST_F(LoaderFixture, DialogLoadCancelledOrUnreadableChangesNothing) {
    form.tavren[0].setCaption("kept");
    form.Command1.click(); // cancelled
    platform.openDialog.answer = "/nowhere.txt";
    form.Command1.click();
    EXPECT_EQ(caption(0), "kept");
}

TEST_F(LoaderFixture, DialogLoadFailureLeavesLaterButtonsReset) {
    form.tavren[2].setCaption("old");
    orderFile("a\rb,XYZ\rc", "/tmp/bad.txt");
    platform.openDialog.answer = "/tmp/bad.txt";
    form.Command1.click();
    EXPECT_EQ(caption(0), "a");
    EXPECT_EQ(caption(1), "tavren");
    EXPECT_EQ(caption(2), "tavren");
}

TEST_F(LoaderFixture, LfOnlyFileIsOneLine) {
    orderFile("a\nb\nc");
    ASSERT_TRUE(loader.startUpLoad());
    EXPECT_EQ(caption(0), "a\nb\nc");
    EXPECT_EQ(caption(1), "tavren");
}
