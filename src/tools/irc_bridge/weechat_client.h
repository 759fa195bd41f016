#pragma once

#include "irc_client.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tavren::irc_bridge {

// A WeeChat reached through its FIFO (the fifo plugin, on by default). The FIFO
// carries commands one way only, so the servers it has are read from its
// irc.conf; servers added since WeeChat last saved it are not known by name.
class WeeChatClient : public IrcClient {
public:
    WeeChatClient(std::filesystem::path fifo, std::filesystem::path ircConf);

    bool running() override;
    std::optional<std::string> serverNamed(const std::string& name) override;
    void deliver(const ClientCommand& command, const std::optional<std::string>& server) override;

    const std::filesystem::path& fifo() const { return fifo_; }

private:
    // Writes one line; false when nobody reads the FIFO (ENXIO) or it is full.
    bool write(const std::string& line);

    std::filesystem::path fifo_;
    std::filesystem::path ircConf_;
};

// The server names of a WeeChat irc.conf (its [server] section).
std::vector<std::string> weechatServerNames(const std::string& ircConf);

// Where the FIFOs of the user's WeeChats are, each with the irc.conf of its
// WeeChat: $XDG_RUNTIME_DIR/weechat (current versions; $XDG_CACHE_HOME/weechat
// without a runtime directory) with $XDG_CONFIG_HOME/weechat, and ~/.weechat
// (old versions) with itself. In the order of the WeeChats' process ids.
std::vector<WeeChatClient> findWeeChats();

} // namespace tavren::irc_bridge
