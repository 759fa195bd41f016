#include "tools/irc_bridge/client_command.h"

#include <gtest/gtest.h>

using tavren::irc_bridge::parseClientCommand;

namespace {

TEST(ClientCommandTest, TheAnnouncementIsAMessageToTheCurrentChannelOfTheCurrentServer) {
    const auto command = parseClientCommand("Text1,/privmsg $# Connect.... OK");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->server, "Text1");
    EXPECT_TRUE(command->forCurrentServer());
    EXPECT_EQ(command->line, "msg $# Connect.... OK");
    EXPECT_TRUE(command->namesChannel());
    EXPECT_EQ(command->lineFor("#tavren"), "msg #tavren Connect.... OK");
}

TEST(ClientCommandTest, ANickChangeLosesItsLineBreakAndKeepsEverythingElse) {
    const auto command = parseClientCommand("irc.example,/nick WS_太郎\r\n");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->server, "irc.example");
    EXPECT_FALSE(command->forCurrentServer());
    EXPECT_EQ(command->line, "nick WS_太郎");
    EXPECT_FALSE(command->namesChannel());
}

TEST(ClientCommandTest, TheServerIsTheTextBeforeTheFirstComma) {
    const auto command = parseClientCommand("Net,/privmsg $# a,b");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->server, "Net");
    EXPECT_EQ(command->line, "msg $# a,b");
    // Without a comma the whole text is the line, for the current server.
    const auto bare = parseClientCommand("/nick x");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->forCurrentServer());
    EXPECT_EQ(bare->line, "nick x");
    EXPECT_TRUE(parseClientCommand("TEXT1,/nick x")->forCurrentServer());
    EXPECT_TRUE(parseClientCommand(",/nick x")->forCurrentServer());
}

TEST(ClientCommandTest, PrivmsgIsMsgWhateverItsCaseAndOtherCommandsStayAsTheyAre) {
    EXPECT_EQ(parseClientCommand("S,/PRIVMSG #a hi there")->line, "msg #a hi there");
    EXPECT_EQ(parseClientCommand("S,/privmsgs x")->line, "privmsgs x");
    EXPECT_EQ(parseClientCommand("S,/me waves")->line, "me waves");
    EXPECT_EQ(parseClientCommand("S,/privmsg")->line, "msg");
}

TEST(ClientCommandTest, TextWithoutASlashIsAMessageToTheCurrentChannel) {
    EXPECT_EQ(parseClientCommand("S,hello $# there")->line, "msg $# hello $# there");
    EXPECT_EQ(parseClientCommand("S,hello $# there")->lineFor("#c"), "msg #c hello #c there");
}

TEST(ClientCommandTest, NothingToRunOrALineBreakInsideIsNoCommand) {
    EXPECT_FALSE(parseClientCommand(""));
    EXPECT_FALSE(parseClientCommand("S,"));
    EXPECT_FALSE(parseClientCommand("S,\r\n"));
    EXPECT_FALSE(parseClientCommand("S,/"));
    EXPECT_FALSE(parseClientCommand("S,/ nick"));
    EXPECT_FALSE(parseClientCommand("S,/nick a\r\nQUIT"));
    EXPECT_FALSE(parseClientCommand("S,/nick a\nQUIT\r\n"));
}

TEST(ClientCommandTest, PiecesAroundTheChannelMarks) {
    const auto command = parseClientCommand("S,/privmsg $# $#$#x");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->piecesAroundChannel(), (std::vector<std::string>{"msg ", " ", "", "x"}));
}

} // namespace
