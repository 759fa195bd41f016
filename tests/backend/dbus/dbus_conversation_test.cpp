#include "platform/backend/dbus/dbus_conversation.h"

#include "delivery/irc_link.h"
#include "link_monitor_process.h"
#include "nick/nick_window.h"
#include "platform/backend/dbus/session_bus_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren;
using dbus_tests::LinkMonitorProcess;

namespace {

// Every test but the one for the IRC client's own names serves a topic named
// after itself, so that tests never compete for a name.
std::string ownTopic() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

QStringList serving(const std::string& topic, QStringList more = {}) {
    QStringList arguments{QStringLiteral("--application"), QStringLiteral("TAVRENTEST"),
                          QStringLiteral("--topic"), QString::fromStdString(topic)};
    return arguments + more;
}

std::string lines(const std::vector<std::string>& commands) {
    std::string out;
    for (const auto& c : commands)
        out += c + "\n";
    return out;
}

TEST(DBusConversationTest, TheClientsTopicReceivesEveryCommandByteForByte) {
    LinkMonitorProcess monitor({QStringLiteral("--item"), QStringLiteral("R1C1")});
    backend::dbus::DBusConversation conversation;
    ASSERT_TRUE(monitor.openWhenServed(conversation, "CHOCOA", "SCRIPTEXEC_SEND", "R1C1"))
        << monitor.errors();

    // The announcement and a nick change, as the windows send them.
    controls::TextField servername{"servername", nullptr, "Text1"};
    controls::CheckBox chk_rename{"chk_rename", nullptr, ""};
    delivery::IrcLink link{servername, conversation};
    nick::NickForm form;
    nick::NickWindow window{form, chk_rename, servername, link};
    link.openAndAnnounce();
    form.txt_nick.setText("太郎  ");
    form.Command6.pressMouse({controls::kRightButton});

    const std::vector<std::string> direct = {
        "Quor,/privmsg $# tab\there \\ \"quoted\" 'single' %s %n",
        "Quor,/nick A_x\r\n\r\n",
        "Quor,/privmsg $# 😀 ﾀｳﾞﾚﾝ ＠",
        "",
    };
    for (const auto& command : direct)
        EXPECT_TRUE(conversation.execute(command)) << command;

    std::vector<std::string> expected = {"Text1,/privmsg $# Connect.... OK",
                                         "Text1,/nick HOQ_太郎\r\n"};
    expected.insert(expected.end(), direct.begin(), direct.end());
    EXPECT_EQ(monitor.outputOfAtLeast(lines(expected).size()), lines(expected));
}

TEST(DBusConversationTest, TheItemTravelsWithEveryCommand) {
    const auto topic = ownTopic();
    LinkMonitorProcess monitor(serving(topic, {QStringLiteral("--item"), QStringLiteral("R1C1")}));
    backend::dbus::DBusConversation conversation;
    ASSERT_TRUE(monitor.openWhenServed(conversation, "TAVRENTEST", topic, "R2C2"))
        << monitor.errors();
    // Handed over; the monitor refuses it, and that answer is not awaited.
    EXPECT_TRUE(conversation.execute("refused"));
    ASSERT_TRUE(conversation.open("TAVRENTEST", topic, "R1C1"));
    EXPECT_TRUE(conversation.execute("accepted"));
    EXPECT_EQ(monitor.outputOfAtLeast(9), "accepted\n");
}

TEST(DBusConversationTest, WithoutAPeerOrABusOpeningFailsAndNothingIsExecuted) {
    for (const std::string& address : {backend::dbus::sessionBusAddress(), std::string(),
                                       std::string("unix:path=/nonexistent/bus")}) {
        SCOPED_TRACE(address);
        backend::dbus::DBusConversation conversation(address);
        EXPECT_FALSE(conversation.execute("never opened"));
        EXPECT_FALSE(conversation.open("TAVRENTEST", ownTopic(), "R1C1"));
        EXPECT_FALSE(conversation.execute("Text1,/privmsg $# Connect.... OK"));
    }
}

TEST(DBusConversationTest, APeerThatNeverAnswersGetsEveryCommandInOrderAndTheLinkStaysUsable) {
    const auto topic = ownTopic();
    LinkMonitorProcess silent(serving(topic, {QStringLiteral("--never-answer")}));
    LinkMonitorProcess answering(serving(topic + "_2"));
    backend::dbus::DBusConversation conversation;
    ASSERT_TRUE(silent.openWhenServed(conversation, "TAVRENTEST", topic, "R1C1"))
        << silent.errors();

    // Nothing waits for an answer, so the commands follow one another at once
    // and arrive in the order they were handed over.
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        const auto command = "Text1,/nick WS_" + std::to_string(i) + "\r\n";
        EXPECT_TRUE(conversation.execute(command));
        expected += command + "\n";
    }
    EXPECT_EQ(silent.outputOfAtLeast(expected.size()), expected);

    ASSERT_TRUE(answering.openWhenServed(conversation, "TAVRENTEST", topic + "_2", "R1C1"))
        << answering.errors();
    EXPECT_TRUE(conversation.execute("next"));
    EXPECT_EQ(answering.outputOfAtLeast(5), "next\n");
}

TEST(DBusConversationTest, APeerThatTakesTheNameLaterIsReachedOnlyAfterTheNextOpening) {
    const auto topic = ownTopic();
    backend::dbus::DBusConversation conversation;
    {
        LinkMonitorProcess first(serving(topic));
        ASSERT_TRUE(first.openWhenServed(conversation, "TAVRENTEST", topic, "R1C1"))
            << first.errors();
        first.kill();
    }
    // Sent to the first one's connection, which is gone: lost, as with DDE.
    conversation.execute("to the first");

    LinkMonitorProcess second(serving(topic));
    backend::dbus::DBusConversation probe;
    ASSERT_TRUE(second.openWhenServed(probe, "TAVRENTEST", topic, "R1C1")) << second.errors();
    conversation.execute("still addressed to the first");
    ASSERT_TRUE(conversation.open("TAVRENTEST", topic, "R1C1"));
    EXPECT_TRUE(conversation.execute("to the second"));
    EXPECT_EQ(second.outputOfAtLeast(14), "to the second\n");
}

TEST(DBusConversationTest, TextThatCannotTravelUnchangedIsRefusedNotAltered) {
    const auto topic = ownTopic();
    LinkMonitorProcess monitor(serving(topic));
    backend::dbus::DBusConversation conversation;
    ASSERT_TRUE(monitor.openWhenServed(conversation, "TAVRENTEST", topic, "R1C1"))
        << monitor.errors();
    EXPECT_FALSE(conversation.execute("Text1,/nick WS_\x83^\x83\x8D\r\n")); // Shift_JIS bytes
    EXPECT_FALSE(conversation.execute(std::string("Text1,/nick WS_a\0b", 18)));
    EXPECT_FALSE(conversation.execute("\xC0\xAF")); // an overlong "/"
    EXPECT_TRUE(conversation.execute("ok"));
    EXPECT_EQ(monitor.outputOfAtLeast(3), "ok\n");
}

TEST(DBusConversationTest, NamesOutsideTheBusAlphabetAreServedThroughTheirEscapes) {
    LinkMonitorProcess monitor({QStringLiteral("--application"), QStringLiteral("my app-2"),
                                QStringLiteral("--topic"), QStringLiteral("7.トピック")});
    backend::dbus::DBusConversation conversation;
    ASSERT_TRUE(monitor.openWhenServed(conversation, "my app-2", "7.トピック", "R1C1"))
        << monitor.errors();
    ASSERT_TRUE(conversation.open("MY APP-2", "7.トピック", "R1C1")); // any letter case
    EXPECT_TRUE(conversation.execute("x"));
    EXPECT_EQ(monitor.outputOfAtLeast(2), "x\n");
}

} // namespace
