// The failures the program passes over in silence reach the diagnostics, one
// report each, with the reason the failing step saw; successes report nothing.
#include "app/main_window.h"
#include "board/order_loader.h"
#include "delivery/irc_link.h"
#include "delivery/send_pipeline.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace tavren;
using services::IgnoredFailure;
using services::WindowHandle;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DescribeFailure, IsOneLineWhateverTheReasonHolds) {
    const std::string line = services::describe(
        {IgnoredFailure::OrderFileStopped, "tavren.txt line 2: bad\ncolour,\x01zz"});
    EXPECT_EQ(line, "the order file stopped loading: tavren.txt line 2: bad colour, zz");
}

TEST(DescribeFailure, NamesEveryKindDifferently) {
    std::set<std::string> texts;
    for (auto what : {IgnoredFailure::LinkNotOpened, IgnoredFailure::CommandNotExecuted,
                      IgnoredFailure::OrderNotTyped, IgnoredFailure::WindowNotInFront,
                      IgnoredFailure::SettingsNotWritten, IgnoredFailure::OrderFileStopped})
        texts.insert(services::describe({what, ""}));
    EXPECT_EQ(texts.size(), 6u);
}

struct IrcLinkDiagnostics : testing::Test {
    fakes::FakePlatform platform;
    controls::TextField servername{"servername", nullptr, "Text1"};
    delivery::IrcLink link{servername, platform.conversation, platform.diagnostics};
};

TEST_F(IrcLinkDiagnostics, LinkWithoutPeerIsOneReport) {
    platform.conversation.peerRunning = false;
    link.openAndAnnounce();
    ASSERT_EQ(platform.diagnostics.reported.size(), 1u);
    const auto& failure = platform.diagnostics.reported[0];
    EXPECT_EQ(failure.what, IgnoredFailure::LinkNotOpened);
    EXPECT_TRUE(contains(failure.reason, "CHOCOA|SCRIPTEXEC_SEND")) << failure.reason;
    EXPECT_TRUE(contains(failure.reason, "Text1,/privmsg $# Connect.... OK")) << failure.reason;
    // The announcement is still attempted, as without diagnostics.
    EXPECT_FALSE(platform.log.withPrefix("execute Text1,").empty());
}

TEST_F(IrcLinkDiagnostics, LinkWithPeerReportsNothing) {
    link.openAndAnnounce();
    EXPECT_TRUE(platform.diagnostics.reported.empty());
}

TEST_F(IrcLinkDiagnostics, RefusedCommandIsReportedWithTheCommand) {
    platform.conversation.peerRunning = false;
    EXPECT_FALSE(link.LinkExecute("Text1,/nick WS_Taro"));
    const auto failures = platform.diagnostics.of(IgnoredFailure::CommandNotExecuted);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(contains(failures[0].reason, "Text1,/nick WS_Taro"));
}

constexpr WindowHandle kChat = 101;
constexpr WindowHandle kGame = 102;

struct PipelineDiagnostics : testing::Test {
    fakes::FakePlatform platform;
    controls::ComboBox combo_UO2{"combo_UO2", nullptr};
    controls::ComboBox combo_UO{"combo_UO", nullptr};
    controls::ComboBox Combo_hWnd{"Combo_hWnd", nullptr};
    controls::CheckBox chk_uo{"chk_uo", nullptr, "return"};
    controls::TextField sendtext{"sendtext", nullptr};
    controls::Button btn_Send{"btn_Send", nullptr, "送信"};
    delivery::SendPipeline pipeline{{combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send},
                                    platform.windowManager,
                                    platform.eventLoop,
                                    platform.keyboard,
                                    platform.diagnostics};

    PipelineDiagnostics() {
        for (auto [handle, title] : {std::pair{kChat, "chat"}, {kGame, "game"}}) {
            combo_UO2.addItem(title);
            combo_UO.addItem(title);
            Combo_hWnd.addItem(std::to_string(handle));
        }
        combo_UO2.setListIndex(0); // chat
        sendtext.setText("attack");
    }
    void press() { pipeline.btn_Send_MouseDown(controls::MouseEvent{}); }
    const std::vector<services::Failure>& reported() { return platform.diagnostics.reported; }
};

TEST_F(PipelineDiagnostics, DeliveredOrderReportsNothing) {
    chk_uo.setValue(1);
    combo_UO.setListIndex(1);
    press();
    ASSERT_EQ(platform.keyboard.typed.size(), 1u);
    EXPECT_TRUE(reported().empty());
}

TEST_F(PipelineDiagnostics, DestinationThatNeverComesForwardIsReportedOnce) {
    platform.windowManager.refused[kChat] = true;
    platform.windowManager.foreground = kGame;
    press();
    EXPECT_TRUE(platform.keyboard.typed.empty());
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0].what, IgnoredFailure::WindowNotInFront);
    EXPECT_TRUE(contains(reported()[0].reason, "send destination 101")) << reported()[0].reason;
    EXPECT_TRUE(contains(reported()[0].reason, "in front: 102")) << reported()[0].reason;
}

TEST_F(PipelineDiagnostics, NothingPickedSaysSo) {
    combo_UO2.setListIndex(-1);
    press();
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0].what, IgnoredFailure::WindowNotInFront);
    EXPECT_EQ(reported()[0].reason, "no send destination picked");
}

TEST_F(PipelineDiagnostics, ReturnWindowThatStaysBehindIsReported) {
    chk_uo.setValue(1);
    combo_UO.setListIndex(1);
    platform.windowManager.refused[kGame] = true;
    press();
    ASSERT_EQ(platform.keyboard.typed.size(), 1u);
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_TRUE(contains(reported()[0].reason, "return window 102")) << reported()[0].reason;
}

TEST_F(PipelineDiagnostics, InterruptedTypingIsReportedWithTheOrder) {
    platform.keyboard.result = services::TypeResult::Interrupted;
    press();
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0].what, IgnoredFailure::OrderNotTyped);
    EXPECT_TRUE(contains(reported()[0].reason, "another window took the focus"));
    EXPECT_TRUE(contains(reported()[0].reason, "attack"));
}

TEST_F(PipelineDiagnostics, FailedTypingIsReported) {
    platform.keyboard.result = services::TypeResult::Failed;
    press();
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_TRUE(contains(reported()[0].reason, "typing failed, the order did not arrive whole"));
}

TEST_F(PipelineDiagnostics, TextThatIsNotKeySyntaxIsReportedAndNotTyped) {
    sendtext.setText("{NOSUCHKEY}");
    press();
    EXPECT_TRUE(platform.keyboard.typed.empty());
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0].what, IgnoredFailure::OrderNotTyped);
    EXPECT_TRUE(contains(reported()[0].reason, "{NOSUCHKEY}"));
}

// The main window hands its diagnostics to every part: start-up, the order file,
// the settings file.
struct MainWindowDiagnostics : testing::Test {
    fakes::FakePlatform platform;
    app::MainWindow window{platform.services()};
};

TEST_F(MainWindowDiagnostics, StartUpWithoutPeerAndWithABadColourGivesOneLineEach) {
    platform.conversation.peerRunning = false;
    platform.files.files["tavren.txt"] = "a,FF0000\r*ButtonT=2\rb,GG0000\rc\r";
    window.open();
    ASSERT_EQ(platform.diagnostics.reported.size(), 2u);
    EXPECT_EQ(platform.diagnostics.reported[0].what, IgnoredFailure::LinkNotOpened);
    const auto& stop = platform.diagnostics.reported[1];
    EXPECT_EQ(stop.what, IgnoredFailure::OrderFileStopped);
    EXPECT_EQ(stop.reason,
              "tavren.txt line 3: the colour after the comma is not RRGGBB in hexadecimal: "
              "b,GG0000");
}

TEST_F(MainWindowDiagnostics, CompleteStartUpReportsNothing) {
    platform.files.files["tavren.txt"] = "a,FF0000\r*servername=irc.example\r";
    window.open();
    EXPECT_TRUE(platform.diagnostics.reported.empty());
}

TEST_F(MainWindowDiagnostics, MissingOrderFileIsReported) {
    window.open();
    const auto stops = platform.diagnostics.of(IgnoredFailure::OrderFileStopped);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].reason, "tavren.txt: missing or unreadable");
}

TEST_F(MainWindowDiagnostics, DirectiveWithoutAnOptionStopsTheLoadAndSaysWhich) {
    platform.files.files["tavren.txt"] = "a\r*ButtonY=1\rb\r";
    window.open();
    const auto stops = platform.diagnostics.of(IgnoredFailure::OrderFileStopped);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_TRUE(contains(stops[0].reason, "line 2")) << stops[0].reason;
    EXPECT_TRUE(contains(stops[0].reason, "*ButtonY=1")) << stops[0].reason;
}

TEST_F(MainWindowDiagnostics, PickedFileStoppedByABadColourIsReported) {
    platform.files.files["tavren.txt"] = "a\r";
    window.open();
    platform.files.files["/orders/raid.txt"] = "x\ry,\rz\r";
    platform.openDialog.answer = "/orders/raid.txt";
    window.form().Command1.click();
    const auto stops = platform.diagnostics.of(IgnoredFailure::OrderFileStopped);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_TRUE(contains(stops[0].reason, "/orders/raid.txt line 2")) << stops[0].reason;
}

TEST_F(MainWindowDiagnostics, UnwritableSettingsFileIsReportedAtTheEnd) {
    platform.files.files["tavren.txt"] = "a\r";
    window.open();
    platform.profile.failWrites = true;
    bool cancel = false;
    window.Form_Unload(cancel);
    const auto failures = platform.diagnostics.of(IgnoredFailure::SettingsNotWritten);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_FALSE(failures[0].reason.empty());
}

TEST_F(MainWindowDiagnostics, WrittenSettingsFileReportsNothing) {
    platform.files.files["tavren.txt"] = "a\r";
    window.open();
    bool cancel = false;
    window.Form_Unload(cancel);
    EXPECT_EQ(platform.profile.writes, 1);
    EXPECT_TRUE(platform.diagnostics.of(IgnoredFailure::SettingsNotWritten).empty());
}

} // namespace
