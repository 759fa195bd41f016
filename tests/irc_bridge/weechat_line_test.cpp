#include "tools/irc_bridge/weechat_line.h"

#include <gtest/gtest.h>

using namespace tavren::irc_bridge;

namespace {

ClientCommand parsed(const std::string& text) {
    return *parseClientCommand(text);
}

TEST(WeeChatLineTest, ACommandWithoutAChannelRunsInTheServersBufferOrTheCurrentOne) {
    EXPECT_EQ(weechatFifoLine(parsed("wee,/nick WS_Taro\r\n"), std::string("wee")),
              "irc.server.wee */nick WS_Taro");
    EXPECT_EQ(weechatFifoLine(parsed("Text1,/nick WS_Taro\r\n"), std::nullopt), "*/nick WS_Taro");
}

TEST(WeeChatLineTest, TheChannelIsLeftToWeeChatAndTheTextTravelsEncoded) {
    const auto line =
        weechatFifoLine(parsed("wee,/privmsg $# ${sec.data.x} OK"), std::string("wee"));
    // "/msg " and " ${sec.data.x} OK" in hexadecimal: nothing of the text can
    // be evaluated.
    EXPECT_EQ(line.rfind("irc.server.wee */eval ${base_decode:16,2F6D736720}", 0), 0u) << line;
    EXPECT_NE(line.find("${base_decode:16,20247B7365632E646174612E787D204F4B}"), std::string::npos)
        << line;
    EXPECT_EQ(line.find("sec.data"), std::string::npos);
    // The server's name is compared encoded too, and every server is searched.
    EXPECT_NE(line.find("==${base_decode:16,776565}"), std::string::npos);
    std::string last = "irc_server[irc_servers]";
    for (int i = 1; i < kWeeChatServersSearched; ++i)
        last += ".next_server";
    EXPECT_NE(line.find("${" + last + ".name}"), std::string::npos);
    EXPECT_EQ(line.find("${" + last + ".next_server.name}"), std::string::npos);
}

TEST(WeeChatLineTest, EveryChannelMarkIsResolvedAndTheCurrentServerIsWeeChatsOwn) {
    const auto line = weechatFifoLine(parsed("Text1,/privmsg $# a $#"), std::nullopt);
    EXPECT_EQ(line.rfind("*/eval ", 0), 0u);
    std::size_t marks = 0;
    for (auto at = line.find("?${window[gui_current_window].buffer.local_variables.channel}:");
         at != std::string::npos;
         at = line.find("?${window[gui_current_window].buffer.local_variables.channel}:", at + 1))
        ++marks;
    EXPECT_EQ(marks, 2u);
    EXPECT_NE(line.find("==${window[gui_current_window].buffer.local_variables.server}"),
              std::string::npos);
    EXPECT_EQ(line.find("$#"), std::string::npos);
}

} // namespace
