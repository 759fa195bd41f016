#include "delivery/irc_link.h"

#include "fakes/fake_services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace tavren;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct IrcLinkTest : ::testing::Test {
    fakes::CallLog log;
    fakes::FakeConversation conversation{log};
    controls::TextField servername{"servername", nullptr, "Text1"};
    delivery::IrcLink link{servername, conversation};
};

TEST_F(IrcLinkTest, OpensTheClientsTopicThenAnnouncesUnderTheServerName) {
    link.openAndAnnounce();
    EXPECT_THAT(log.entries(), ElementsAre("open CHOCOA|SCRIPTEXEC_SEND!R1C1",
                                           "execute Text1,/privmsg $# Connect.... OK"));
    EXPECT_THAT(conversation.executed, ElementsAre("Text1,/privmsg $# Connect.... OK"));
}

TEST_F(IrcLinkTest, ANewServerNameReopensAndAnnouncesUnderThatName) {
    link.openAndAnnounce();
    log.clear();
    servername.setText("Quor");
    EXPECT_THAT(log.entries(), ElementsAre("open CHOCOA|SCRIPTEXEC_SEND!R1C1",
                                           "execute Quor,/privmsg $# Connect.... OK"));
    // Four characters, the comma, the command and nothing after it.
    EXPECT_EQ(conversation.executed.back(), "Quor,/privmsg $# Connect.... OK");
}

TEST_F(IrcLinkTest, SettingTheSameServerNameAnnouncesNothingMore) {
    link.openAndAnnounce();
    log.clear();
    servername.setText("Text1");
    EXPECT_THAT(log.entries(), IsEmpty());
    EXPECT_EQ(conversation.executed.size(), 1u);
}

TEST_F(IrcLinkTest, WithoutAPeerEveryStepStillRunsAndNothingIsDelivered) {
    conversation.peerRunning = false;
    link.openAndAnnounce();
    servername.setText("Quor");
    EXPECT_THAT(log.entries(), ElementsAre("open CHOCOA|SCRIPTEXEC_SEND!R1C1",
                                           "execute Text1,/privmsg $# Connect.... OK",
                                           "open CHOCOA|SCRIPTEXEC_SEND!R1C1",
                                           "execute Quor,/privmsg $# Connect.... OK"));
    EXPECT_THAT(conversation.executed, IsEmpty());
    EXPECT_FALSE(link.LinkExecute("Quor,/nick WS_x\r\n"));
}

TEST_F(IrcLinkTest, APeerThatAppearsLaterIsReachedOnlyAfterTheNextOpening) {
    conversation.peerRunning = false;
    link.openAndAnnounce();
    conversation.peerRunning = true;
    EXPECT_FALSE(link.LinkExecute("Text1,/nick A_x\r\n"));
    servername.setText("Quor");
    EXPECT_TRUE(link.LinkExecute("Quor,/nick A_x\r\n"));
    EXPECT_THAT(conversation.executed,
                ElementsAre("Quor,/privmsg $# Connect.... OK", "Quor,/nick A_x\r\n"));
}

} // namespace
