#pragma once

#include "client_command.h"

#include <optional>
#include <string>
#include <vector>

namespace tavren::irc_bridge {

// One running IRC client that commands can be handed to.
class IrcClient {
public:
    virtual ~IrcClient() = default;
    // Whether the client is there to take commands now.
    virtual bool running() = 0;
    // The client's own name for its server called `name` (its network or server
    // name, letter case ignored); nothing when it has none of that name.
    virtual std::optional<std::string> serverNamed(const std::string& name) = 0;
    // Runs the command on that server, or on the client's current server.
    virtual void deliver(const ClientCommand& command,
                         const std::optional<std::string>& server) = 0;
};

// The first client that has the command's server gets it; when none has it,
// or the command names the current server, the first running client gets it
// for its current server. With no client running the command is dropped.
// False when nobody took it.
bool handOver(const ClientCommand& command, const std::vector<IrcClient*>& clients);

} // namespace tavren::irc_bridge
