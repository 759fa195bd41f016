#include "platform/backend/dbus/conversation_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using tavren::backend::dbus::conversationBusName;

namespace {

struct NameCase {
    std::string application;
    std::string topic;
    std::optional<std::string> busName;
};

TEST(ConversationBusNameTest, DerivesOneValidNamePerApplicationAndTopic) {
    const std::string prefix = "org.tavren.Conversation.";
    const NameCase cases[] = {
        {"CHOCOA", "SCRIPTEXEC_SEND", prefix + "CHOCOA.SCRIPTEXEC_SEND"},
        // The names compare without regard to case, as the IRC client registers them.
        {"chocoa", "ScriptExec_Send", prefix + "CHOCOA.SCRIPTEXEC_SEND"},
        {"my app", "a.b", prefix + "MY-20APP.A-2EB"},
        // "-" itself is escaped, so an escape can never be confused with a name.
        {"x-20", "y", prefix + "X-2D20.Y"},
        {"2ch", "R1C1", prefix + "-32CH.R1C1"},
        {"", "T", prefix + "-.T"},
        {"ちょこ", "|", prefix + "-E3-81-A1-E3-82-87-E3-81-93.-7C"},
        {std::string(229, 'A'), "T", prefix + std::string(229, 'A') + ".T"},
        {std::string(230, 'A'), "T", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.application + "|" + c.topic);
        EXPECT_EQ(conversationBusName(c.application, c.topic), c.busName);
    }
}

} // namespace
