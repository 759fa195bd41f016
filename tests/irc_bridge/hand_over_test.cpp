#include "tools/irc_bridge/irc_client.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace tavren::irc_bridge;

namespace {

// A client with a fixed set of servers that records what it is handed.
class RecordingClient : public IrcClient {
public:
    RecordingClient(bool running, std::vector<std::string> servers)
        : running_(running), servers_(std::move(servers)) {}
    bool running() override { return running_; }
    std::optional<std::string> serverNamed(const std::string& name) override {
        if (!running_) return std::nullopt;
        for (const auto& server : servers_)
            if (server == name) return server;
        return std::nullopt;
    }
    void deliver(const ClientCommand& command, const std::optional<std::string>& server) override {
        delivered.push_back(command.line + " @ " + server.value_or("current"));
    }
    std::vector<std::string> delivered;

private:
    bool running_;
    std::vector<std::string> servers_;
};

ClientCommand command(const std::string& text) {
    return *parseClientCommand(text);
}

using Lines = std::vector<std::string>;

TEST(HandOverTest, TheFirstClientThatHasTheServerGetsTheCommand) {
    RecordingClient stopped(false, {"net"}), first(true, {"a"}), second(true, {"net"}),
        third(true, {"net"});
    EXPECT_TRUE(handOver(command("net,/nick x"), {&stopped, &first, &second, &third}));
    EXPECT_EQ(second.delivered, Lines{"nick x @ net"});
    EXPECT_TRUE(first.delivered.empty());
    EXPECT_TRUE(third.delivered.empty());
}

TEST(HandOverTest, AServerNobodyHasMeansTheFirstRunningClientsCurrentServer) {
    RecordingClient stopped(false, {}), first(true, {"a"}), second(true, {"b"});
    EXPECT_TRUE(handOver(command("zzz,/nick x"), {&stopped, &first, &second}));
    EXPECT_TRUE(handOver(command("Text1,/privmsg $# hi"), {&stopped, &first, &second}));
    EXPECT_EQ(first.delivered, (Lines{"nick x @ current", "msg $# hi @ current"}));
    EXPECT_TRUE(second.delivered.empty());
}

TEST(HandOverTest, TheNameTavrenSendsWithoutAServerLineIsNeverTakenAsAServer) {
    RecordingClient first(true, {}), second(true, {"Text1"});
    EXPECT_TRUE(handOver(command("Text1,/nick x"), {&first, &second}));
    EXPECT_EQ(first.delivered, Lines{"nick x @ current"});
    EXPECT_TRUE(second.delivered.empty());
}

TEST(HandOverTest, WithNoClientRunningTheCommandIsDropped) {
    RecordingClient stopped(false, {"net"});
    EXPECT_FALSE(handOver(command("net,/nick x"), {&stopped}));
    EXPECT_FALSE(handOver(command("net,/nick x"), {}));
    EXPECT_TRUE(stopped.delivered.empty());
}

} // namespace
