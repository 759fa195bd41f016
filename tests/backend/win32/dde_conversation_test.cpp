#include "delivery/irc_link.h"
#include "link_monitor_process.h"
#include "platform/backend/win32/dde_conversation.h"
#include "platform/controls/text_field.h"
#include "recorded_diagnostics.h"
#include "target_process.h"

#include <dde.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tavren::backend::win32 {
namespace {

using testing::dispatchUntil;
using testing::LinkMonitorProcess;
using testing::RecordedDiagnostics;
using testing::TargetProcess;
using testing::ThawLater;
using testing::waitFor;
using Commands = std::vector<std::string>;

constexpr unsigned kJapanese = 932;

// Everything asked has come back from the DDE thread.
bool settled(const DdeConversation& link) {
    return link.opening() == 0 && link.unanswered() == 0;
}

// Opens and waits until the DDE thread has opened the conversation, or not.
bool openLink(DdeConversation& link) {
    return link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1") &&
           dispatchUntil([&] { return link.opening() == 0; });
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

// Opening asks every top-level window whether it serves the conversation and
// waits for each answer: a program that has stopped reading its messages
// would hold the caller for as long as it sleeps.
TEST(DdeConversation, WindowThatReadsNoMessagesDoesNotHoldTheCaller) {
    LinkMonitorProcess monitor;
    TargetProcess sleeper({L"v:sleeping program"});
    sleeper.freeze();
    ThawLater thaw(sleeper, std::chrono::seconds(10));
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    EXPECT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
    EXPECT_TRUE(link.execute("Text1,/privmsg $# Connect.... OK"));
    EXPECT_FALSE(thaw.thawed()) << "the caller waited for the sleeping program";

    thaw.now();
    EXPECT_TRUE(dispatchUntil([&] { return settled(link); }));
    EXPECT_EQ(monitor.commands(), Commands{"Text1,/privmsg $# Connect.... OK"});
    EXPECT_EQ(diagnostics.lines, Commands{});
}

// A top-level window of this thread, made after the sleeping program's and so
// above it, that notes the question opening a conversation asks every
// top-level window: once it has been asked, the DDE thread is on its way to
// the sleeping program.
class AskedWindow {
public:
    AskedWindow() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TavrenTestAskedWindow";
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, L"TavrenTestAskedWindow", L"asked", WS_OVERLAPPED, 0, 0, 10,
                                  10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        asked = false;
    }
    ~AskedWindow() { DestroyWindow(window_); }
    AskedWindow(const AskedWindow&) = delete;
    AskedWindow& operator=(const AskedWindow&) = delete;

    static inline bool asked = false;

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DDE_INITIATE) asked = true;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_;
};

// The program ends even while its DDE thread still waits for a sleeping
// program: the wait for the thread is bounded.
TEST(DdeConversation, EndingDoesNotWaitForASleepingProgram) {
    TargetProcess sleeper({L"v:sleeping program"});
    sleeper.freeze();
    ThawLater thaw(sleeper, std::chrono::seconds(10));
    AskedWindow witness;
    {
        RecordedDiagnostics diagnostics;
        DdeConversation link(diagnostics);
        EXPECT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
        ASSERT_TRUE(dispatchUntil([] { return AskedWindow::asked; }));
    }
    EXPECT_FALSE(thaw.thawed()) << "ending waited for the sleeping program";
}

// Ending the conversation ends its thread, which ends the conversation with
// the client as DDE wants it, after the commands handed over before.
TEST(DdeConversation, EndingEndsTheConversationWithTheClient) {
    LinkMonitorProcess monitor;
    {
        RecordedDiagnostics diagnostics;
        DdeConversation link(diagnostics);
        ASSERT_TRUE(openLink(link));
        EXPECT_TRUE(link.execute("a,last"));
        EXPECT_TRUE(dispatchUntil([&] { return settled(link); }));
    }
    EXPECT_TRUE(waitFor([&] { return monitor.ended() == 1; }));
    EXPECT_EQ(monitor.commands(), Commands{"a,last"});
}

// What opening finds out comes later, from the DDE thread: no server is
// reported then, in one line with the command handed over meanwhile, which it
// loses; later commands are refused at once.
TEST(DdeConversation, NoServerMeansNoConversationAndFailedExecutes) {
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    EXPECT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
    EXPECT_TRUE(link.execute("Text1,/privmsg $# Connect.... OK"));
    EXPECT_TRUE(dispatchUntil([&] { return settled(link); }));
    EXPECT_EQ(diagnostics.lines,
              Commands{"the IRC client's link did not open: no program serves "
                       "CHOCOA|SCRIPTEXEC_SEND; not executed: Text1,/privmsg $# Connect.... OK"});
    EXPECT_FALSE(link.execute("Text1,/nick WS_taro\r\n"));
}

// An open that no command follows is reported on its own, when the next open
// is tried or the conversation ends.
TEST(DdeConversation, OtherTopicIsNotServed) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    {
        DdeConversation link(diagnostics);
        EXPECT_TRUE(link.open("CHOCOA", "OTHER_TOPIC", "R1C1"));
        EXPECT_TRUE(dispatchUntil([&] { return settled(link); }));
        EXPECT_FALSE(link.execute("a,nobody"));
    }
    EXPECT_EQ(diagnostics.lines,
              Commands{"the IRC client's link did not open: no program serves CHOCOA|OTHER_TOPIC"});
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
} // namespace tavren::backend::win32
