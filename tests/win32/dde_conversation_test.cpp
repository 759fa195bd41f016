#include "delivery/irc_link.h"
#include "link_monitor_process.h"
#include "platform/controls/text_field.h"
#include "platform/win32/dde_conversation.h"
#include "target_process.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tavren::win32 {
namespace {

using testing::dispatchUntil;
using testing::LinkMonitorProcess;
using testing::waitFor;
using Commands = std::vector<std::string>;

constexpr unsigned kJapanese = 932;

class RecordedDiagnostics : public services::Diagnostics {
public:
    void report(const services::Failure& failure) override {
        lines.push_back(services::describe(failure));
    }
    std::vector<std::string> lines;
};

bool openLink(DdeConversation& link) {
    return link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1");
}

TEST(DdeConversation, AnnouncementArrivesExactlyAndIsAnswered) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("Text1,/privmsg $# Connect.... OK"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), Commands{"Text1,/privmsg $# Connect.... OK"});
    EXPECT_EQ(diagnostics.lines, Commands{});
}

TEST(DdeConversation, JapaneseNickArrivesAsShiftJisBytes) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics, kJapanese);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("irc.example,/nick WS_山田＠\r\n"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    // 山 8E 52, 田 93 63, ＠ 81 97; CR LF kept; the monitor's newline after it.
    EXPECT_EQ(monitor.output(), "irc.example,/nick WS_\x8E\x52\x93\x63\x81\x97\r\n\n");
}

TEST(DdeConversation, CommandTheCodePageCannotHoldIsRefusedNotAltered) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics, kJapanese);
    ASSERT_TRUE(openLink(link));
    EXPECT_FALSE(link.execute("srv,/nick WS_Ünal")); // no Ü in CP932: no best fit to U
    EXPECT_FALSE(link.execute("srv,/nick WS_😀"));    // nor anything beyond the BMP
    EXPECT_TRUE(link.execute("srv,/nick WS_ok"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), Commands{"srv,/nick WS_ok"});
}

TEST(DdeConversation, CommandsHandedOverAtOnceArriveInOrder) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    Commands given;
    for (int i = 0; i < 20; ++i) {
        given.push_back("a," + std::to_string(i));
        EXPECT_TRUE(link.execute(given.back()));
    }
    // All of them were taken before a single answer could be read.
    EXPECT_EQ(link.unanswered(), 20u);
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), given);
    EXPECT_EQ(diagnostics.lines, Commands{});
}

TEST(DdeConversation, ReopeningKeepsWhatWasHandedOverBefore) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("Text1,/privmsg $# Connect.... OK"));
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("irc.example,/privmsg $# Connect.... OK"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), (Commands{"Text1,/privmsg $# Connect.... OK",
                                            "irc.example,/privmsg $# Connect.... OK"}));
    EXPECT_EQ(diagnostics.lines, Commands{});
}

// The start-up's two announcements (the order file names a server) and a nick
// button's command, through the link as the main window drives it.
TEST(DdeConversation, AnnouncementsAndNickCommandArriveExactlyInOrder) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation conversation(diagnostics);
    controls::TextField servername("servername", nullptr, "Text1");
    delivery::IrcLink link(servername, conversation, diagnostics);
    link.openAndAnnounce();
    servername.setText("irc.example");
    EXPECT_TRUE(link.LinkExecute("irc.example,/nick HOQ_taro\r\n"));
    EXPECT_TRUE(dispatchUntil([&] { return conversation.unanswered() == 0; }));
    EXPECT_EQ(monitor.output(), "Text1,/privmsg $# Connect.... OK\n"
                                "irc.example,/privmsg $# Connect.... OK\n"
                                "irc.example,/nick HOQ_taro\r\n\n");
    EXPECT_EQ(diagnostics.lines, Commands{});
}

TEST(DdeConversation, NoServerMeansNoConversationAndFailedExecutes) {
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    EXPECT_FALSE(openLink(link));
    EXPECT_FALSE(link.execute("Text1,/privmsg $# Connect.... OK"));
}

TEST(DdeConversation, OtherTopicIsNotServed) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    EXPECT_FALSE(link.open("CHOCOA", "OTHER_TOPIC", "R1C1"));
}

TEST(DdeConversation, RefusalIsReported) {
    LinkMonitorProcess monitor(L"--refuse");
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("a,refused"));
    EXPECT_TRUE(link.execute("a,refused too"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), (Commands{"a,refused", "a,refused too"}));
    EXPECT_EQ(diagnostics.lines,
              (Commands{"the IRC client did not execute a command: refused by the IRC client: "
                        "a,refused",
                        "the IRC client did not execute a command: refused by the IRC client: "
                        "a,refused too"}));
}

// A hung IRC client: the caller is told yes at once and goes on; the command's
// fate is reported once its time is up, and the next one then gets its turn.
TEST(DdeConversation, ClientThatNeverAnswersDoesNotHoldTheCaller) {
    LinkMonitorProcess monitor(L"--never-answer");
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("a,held"));
    EXPECT_TRUE(link.execute("a,behind"));
    // The client has the first command and has not answered; nothing has been
    // dispatched here, so no time-out can have ended the wait: execute did not wait.
    EXPECT_TRUE(waitFor([&] { return !monitor.commands().empty(); }));
    EXPECT_EQ(monitor.commands(), Commands{"a,held"});
    EXPECT_EQ(link.unanswered(), 2u);
    EXPECT_EQ(diagnostics.lines, Commands{});

    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(diagnostics.lines,
              (Commands{"the IRC client did not execute a command: not answered within 2 s: "
                        "a,held",
                        "the IRC client did not execute a command: not answered within 2 s: "
                        "a,behind"}));
}

TEST(DdeConversation, WaitingCommandsAreBounded) {
    LinkMonitorProcess monitor(L"--never-answer");
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(openLink(link));
    for (std::size_t i = 0; i <= DdeConversation::kMaxWaiting; ++i)
        EXPECT_TRUE(link.execute("a," + std::to_string(i)));
    EXPECT_FALSE(link.execute("a,one too many"));
    EXPECT_EQ(link.unanswered(), DdeConversation::kMaxWaiting + 1);
}

TEST(DdeConversation, ClientGoneAfterOpeningFailsAtOnce) {
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    {
        LinkMonitorProcess monitor;
        ASSERT_TRUE(openLink(link));
    }
    EXPECT_FALSE(link.execute("a,nobody there"));
    EXPECT_EQ(link.unanswered(), 0u);
}

TEST(DdeConversation, ReopeningAfterTheClientRestartedReachesTheNewOne) {
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    {
        LinkMonitorProcess first;
        ASSERT_TRUE(openLink(link));
    }
    LinkMonitorProcess second;
    ASSERT_TRUE(openLink(link));
    EXPECT_TRUE(link.execute("a,to the new one"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(second.commands(), Commands{"a,to the new one"});
    EXPECT_EQ(diagnostics.lines, Commands{});
}

} // namespace
} // namespace tavren::win32
