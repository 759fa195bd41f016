#include "link_monitor_process.h"
#include "platform/win32/dde_conversation.h"
#include "target_process.h"

#include <gtest/gtest.h>

namespace tavren::win32 {
namespace {

using testing::LinkMonitorProcess;
using testing::waitFor;
using Commands = std::vector<std::string>;

constexpr unsigned kJapanese = 932;

bool openLink(DdeConversation& link) {
    return link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1");
}

TEST(DdeConversation, AnnouncementArrivesExactly) {
    LinkMonitorProcess monitor;
    DdeConversation link;
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("Text1,/privmsg $# Connect.... OK"));
    EXPECT_TRUE(waitFor([&] { return !monitor.commands().empty(); }));
    EXPECT_EQ(monitor.commands(), Commands{"Text1,/privmsg $# Connect.... OK"});
}

TEST(DdeConversation, JapaneseNickArrivesAsShiftJisBytes) {
    LinkMonitorProcess monitor;
    DdeConversation link(kJapanese);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("irc.example,/nick WS_山田＠\r\n"));
    EXPECT_TRUE(waitFor([&] { return monitor.output().size() >= 30; }));
    // 山 8E 52, 田 93 63, ＠ 81 97; CR LF kept; the monitor's newline after it.
    EXPECT_EQ(monitor.output(), "irc.example,/nick WS_\x8E\x52\x93\x63\x81\x97\r\n\n");
}

TEST(DdeConversation, CommandTheCodePageCannotHoldIsRefusedNotAltered) {
    LinkMonitorProcess monitor;
    DdeConversation link(kJapanese);
    ASSERT_TRUE(openLink(link));
    EXPECT_FALSE(link.execute("srv,/nick WS_Ünal")); // no Ü in CP932: no best fit to U
    EXPECT_FALSE(link.execute("srv,/nick WS_😀"));    // nor anything beyond the BMP
    EXPECT_TRUE(link.execute("srv,/nick WS_ok"));
    EXPECT_TRUE(waitFor([&] { return !monitor.commands().empty(); }));
    EXPECT_EQ(monitor.commands(), Commands{"srv,/nick WS_ok"});
}

TEST(DdeConversation, CommandsFollowOneAnotherInOrder) {
    LinkMonitorProcess monitor;
    DdeConversation link;
    ASSERT_TRUE(openLink(link));
    for (const char* c : {"a,1", "a,2", "a,3"})
        EXPECT_TRUE(link.execute(c));
    EXPECT_TRUE(waitFor([&] { return monitor.commands().size() == 3; }));
    EXPECT_EQ(monitor.commands(), (Commands{"a,1", "a,2", "a,3"}));
}

TEST(DdeConversation, NoServerMeansNoConversationAndFailedExecutes) {
    DdeConversation link;
    EXPECT_FALSE(openLink(link));
    EXPECT_FALSE(link.execute("Text1,/privmsg $# Connect.... OK"));
}

TEST(DdeConversation, OtherTopicIsNotServed) {
    LinkMonitorProcess monitor;
    DdeConversation link;
    EXPECT_FALSE(link.open("CHOCOA", "OTHER_TOPIC", "R1C1"));
}

TEST(DdeConversation, ServerThatNeverAnswersTimesOut) {
    LinkMonitorProcess monitor(L"--never-answer");
    DdeConversation link;
    ASSERT_TRUE(openLink(link));
    EXPECT_FALSE(link.execute("a,held"));
    EXPECT_TRUE(waitFor([&] { return !monitor.commands().empty(); }));
    EXPECT_EQ(monitor.commands(), Commands{"a,held"});
}

} // namespace
} // namespace tavren::win32
