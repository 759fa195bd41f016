// The order loader on real files, read by the real file reader and converted by
// the real code page converter.
#include "app/main_form.h"
#include "board/order_board.h"
#include "board/order_file.h"
#include "board/order_loader.h"
#include "fakes/fake_services.h"
#include "platform/backend/posix/iconv_text_codec.h"
#include "platform/backend/posix/posix_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace tavren;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

class OrderFileReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tavren_orders_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        board_.initialise();
    }
    void TearDown() override { fs::remove_all(dir_); }

    bool load(const std::string& bytes) {
        const fs::path path = dir_ / "tavren.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return loader_.startUpLoad(path.string());
    }
    std::string caption(int i) const { return form_.tavren[i].caption(); }

    fs::path dir_;
    backend::posix::PosixFiles files_;
    backend::posix::IconvTextCodec codec_;
    fakes::CallLog log_;
    fakes::FakeOpenDialog dialog_{log_};
    app::MainForm form_;
    board::OrderBoard board_{{form_.tavren, form_.Frame[2], form_.OpT, form_.OpY, form_.cmb_Bgap}};
    board::OrderLoader loader_{
        {form_.tavren, form_.chk_AllwaysonTop, form_.chk_rename, form_.servername, form_.Command1},
        {},
        board_,
        files_,
        codec_,
        dialog_};
};

} // namespace

TEST_F(OrderFileReadingTest, ABadShiftJisByteSpoilsOnlyItsOwnLine) {
    // 攻撃 / a line with the unassigned byte A0 / 撤退,FF0000 / *ButtonT=3
    ASSERT_TRUE(load("\x8d\x55\x8c\x82\r\nx\xa0y\x82\r\n\x93\x50\x91\xde,FF0000\r\n*ButtonT=3"));
    EXPECT_EQ(caption(0), "攻撃");
    EXPECT_EQ(caption(1), "x" + kReplacement + "y" + kReplacement);
    EXPECT_EQ(caption(2), "撤退");
    EXPECT_EQ(form_.tavren[2].backColour(), controls::Colour{0x0000FF});
    EXPECT_EQ(board_.rowCount(), 3);
    EXPECT_EQ(caption(3), "tavren");
}

TEST_F(OrderFileReadingTest, ABadByteAfterTheLastLineReadChangesNothing) {
    std::string bytes;
    for (int i = 0; i < 82; ++i)
        bytes += "\x8d\x55" + std::to_string(i) + "\r\n";
    bytes += "\xff\xff unread\r\n";
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(caption(0), "攻0");
    EXPECT_EQ(caption(81), "攻81");
}

TEST_F(OrderFileReadingTest, AUtf8FileLosesItsByteOrderMark) {
    ASSERT_TRUE(load("\xEF\xBB\xBF攻撃開始,FF0000\r\n撤退"));
    EXPECT_EQ(caption(0), "攻撃開始");
    EXPECT_EQ(caption(1), "撤退");
    // A marked first line can still be a directive.
    ASSERT_TRUE(load("\xEF\xBB\xBF*ButtonT=5\r\n了解"));
    EXPECT_EQ(board_.rowCount(), 5);
    EXPECT_EQ(caption(0), "了解");
}

TEST_F(OrderFileReadingTest, AUtf8FileWithADamagedLineStaysUtf8) {
    ASSERT_TRUE(load("攻撃開始\r\nbad \xff\r\n撤退\r\n了解"));
    EXPECT_EQ(caption(0), "攻撃開始");
    EXPECT_EQ(caption(1), "bad " + kReplacement);
    EXPECT_EQ(caption(2), "撤退");
    EXPECT_EQ(caption(3), "了解");
}

TEST_F(OrderFileReadingTest, AFileOfExactlyTheLimitKeepsItsLastLine) {
    // A comment pads the file; the order after it has no line end.
    const std::string last = "last order";
    std::string bytes = "*" + std::string(board::kOrderFileReadLimit - 3 - last.size(), '-');
    bytes += "\r\n" + last;
    ASSERT_EQ(bytes.size(), board::kOrderFileReadLimit);
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(caption(0), last);
}

TEST_F(OrderFileReadingTest, AFileBeyondTheLimitLosesTheLineTheLimitCuts) {
    const std::string last = "last order";
    std::string bytes =
        "first\r\n*" + std::string(board::kOrderFileReadLimit - 10 - last.size(), '-');
    bytes += "\r\n" + last + "!"; // one byte over the limit
    ASSERT_EQ(bytes.size(), board::kOrderFileReadLimit + 1);
    ASSERT_TRUE(load(bytes));
    EXPECT_EQ(caption(0), "first");
    EXPECT_EQ(caption(1), "tavren");
}
