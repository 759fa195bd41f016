#include "app/main_window.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

using namespace tavren;

namespace {

struct MainWindowFixture : ::testing::Test {
    fakes::FakePlatform platform;
    app::MainWindow window{platform.services()};
    app::MainForm& form = window.form();

    void orderFile(std::string text) { platform.files.files["tavren.txt"] = std::move(text); }
    // The position of the first log entry starting with prefix, or -1.
    int firstIndexOf(const std::string& prefix) const {
        const auto& e = platform.log.entries();
        for (std::size_t i = 0; i < e.size(); ++i)
            if (e[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        return -1;
    }
};

} // namespace

TEST_F(MainWindowFixture, StartUpRunsItsStepsInOrder) {
    orderFile("a\r*servername=irc.example\r");
    platform.windowManager.windows = {{101, "IRC client", true}, {102, "Game", true}};
    window.open();

    const int pass = firstIndexOf("processPendingEvents");
    const int discovery = firstIndexOf("topLevelWindows");
    const int topmost = firstIndexOf("setKeepAbove IRC_Quorvel 1");
    const int settings = firstIndexOf("read Option/chk_enter");
    const int open = firstIndexOf("open CHOCOA|SCRIPTEXEC_SEND!R1C1");
    const int announce = firstIndexOf("execute Text1,/privmsg $# Connect.... OK");
    const int orders = firstIndexOf("readPrefix tavren.txt");
    const int second = firstIndexOf("execute irc.example,/privmsg $# Connect.... OK");
    for (int step : {pass, discovery, topmost, settings, open, announce, orders, second})
        ASSERT_GE(step, 0);
    EXPECT_LT(pass, discovery);
    EXPECT_LT(discovery, topmost);
    EXPECT_LT(topmost, settings);
    EXPECT_LT(settings, open);
    EXPECT_LT(open, announce);
    EXPECT_LT(announce, orders);
    EXPECT_LT(orders, second);

    EXPECT_EQ(form.IRC_Quorvel.caption(), "Tavren（汎用タイプ） Ver1.3.1");
    EXPECT_TRUE(form.IRC_Quorvel.visible());
    EXPECT_EQ(form.tavren[0].caption(), "a");
    EXPECT_EQ(form.combo_UO2.count(), 2);
    // A complete start-up ends with the settings panel in front.
    EXPECT_EQ(form.IRC_Quorvel.children().back(), &form.Frame[0]);
    EXPECT_FALSE(form.mn_button[0].enabled());
    EXPECT_TRUE(form.mn_button[2].enabled());
}

TEST_F(MainWindowFixture, MissingOrderFileEndsStartUpEarly) {
    window.open();
    EXPECT_TRUE(form.IRC_Quorvel.visible());
    EXPECT_EQ(form.tavren[0].caption(), "tavren");
    EXPECT_TRUE(form.mn_button[0].enabled());
    EXPECT_FALSE(form.mn_button[2].enabled());
    // Only the one announcement, under the initial server name.
    EXPECT_EQ(platform.conversation.executed,
              std::vector<std::string>{"Text1,/privmsg $# Connect.... OK"});
}

TEST_F(MainWindowFixture, PanelMenuSwapsTheEnabledEntries) {
    orderFile("");
    window.open();
    form.mn_button[2].click();
    EXPECT_EQ(form.IRC_Quorvel.children().back(), &form.Frame[2]);
    EXPECT_FALSE(form.mn_button[2].enabled());
    EXPECT_TRUE(form.mn_button[0].enabled());
    form.mn_button[0].click();
    EXPECT_EQ(form.IRC_Quorvel.children().back(), &form.Frame[0]);
    EXPECT_FALSE(form.Frame[1].visible());
    EXPECT_FALSE(form.mn_button[1].visible());
}

TEST_F(MainWindowFixture, ResizeKeepsTheMinimumAndStretchesThePanels) {
    orderFile("");
    window.open();
    controls::Form& w = form.IRC_Quorvel;
    w.setGeometry({w.left(), w.top(), 6000, 5000});
    for (int i = 0; i <= 2; ++i) {
        EXPECT_EQ(form.Frame[i].width(), 5900);
        EXPECT_EQ(form.Frame[i].height(), 4420);
    }
    w.setGeometry({w.left(), w.top(), 1000, 1500});
    EXPECT_EQ(w.height(), 2000);
    EXPECT_EQ(w.width(), 1000);
    EXPECT_EQ(form.Frame[2].height(), 1420);
    EXPECT_EQ(form.Frame[2].width(), 900);

    const auto button = form.tavren[0].geometry();
    w.setWindowState(controls::WindowState::Minimised);
    w.setGeometry({w.left(), w.top(), 800, 700}); // what a minimised window may report
    EXPECT_EQ(form.Frame[2].height(), 1420);
    EXPECT_EQ(form.tavren[0].geometry(), button);
}

TEST_F(MainWindowFixture, FirstShowingLaysOutTheBoard) {
    orderFile("");
    window.open();
    // Design client area 4935 x 4905: the board is laid out for that size.
    EXPECT_EQ(form.Frame[2].width(), 4935);
    EXPECT_EQ(form.tavren[0].left(), 50);
    EXPECT_EQ(form.tavren[4].left(), 50 + 2442); // (4935 - 50) / 2 = 2442.5 -> 2442
}

TEST_F(MainWindowFixture, CommanderModeOnlyShowsAFlag) {
    window.mn_siki_Click();
    EXPECT_EQ(form.chk_sikikan.value(), 1);
    EXPECT_EQ(form.mn_siki.caption(), "ON");
    window.mn_siki_Click();
    EXPECT_EQ(form.chk_sikikan.value(), 0);
    EXPECT_EQ(form.mn_siki.caption(), "OFF");
    form.chk_sikikan.setValue(2);
    EXPECT_EQ(form.mn_siki.caption(), "OFF");
}

TEST_F(MainWindowFixture, ClosingSavesAndQuits) {
    orderFile("");
    window.open();
    EXPECT_TRUE(form.IRC_Quorvel.requestClose());
    EXPECT_EQ(platform.profile.writes, 1);
    EXPECT_TRUE(platform.eventLoop.quitRequested);
    EXPECT_LT(firstIndexOf("write"), firstIndexOf("quit"));
}

TEST_F(MainWindowFixture, ReadMenuLoadsThroughTheDialog) {
    orderFile("");
    window.open();
    platform.files.files["/x/orders.txt"] = "one\rtwo";
    platform.openDialog.answer = "/x/orders.txt";
    form.mn_read.click();
    EXPECT_EQ(form.tavren[1].caption(), "two");
}

// A press from outside (tavren --press) is a mouse press on the button the
// board counts as that number; a button the board does not show is refused.
TEST_F(MainWindowFixture, PressFromOutsidePressesTheNumberedButtonIfShown) {
    orderFile("first\rC:\\城 ￥5\r*ButtonT=2\r*ButtonY=2\r");
    window.open();
    EXPECT_TRUE(window.pressOrderButton(2, true));
    EXPECT_EQ(form.sendtext.text(), "C:@城 ＠5");
    EXPECT_TRUE(window.pressOrderButton(1, false));
    EXPECT_EQ(form.sendtext.text(), "first");
    EXPECT_FALSE(window.pressOrderButton(5, false));
    EXPECT_FALSE(window.pressOrderButton(0, false));
    EXPECT_EQ(form.sendtext.text(), "first");
}
