#include "irc_client.h"

namespace tavren::irc_bridge {

bool handOver(const ClientCommand& command, const std::vector<IrcClient*>& clients) {
    if (!command.forCurrentServer()) {
        for (auto* client : clients) {
            if (const auto server = client->serverNamed(command.server)) {
                client->deliver(command, server);
                return true;
            }
        }
    }
    for (auto* client : clients) {
        if (client->running()) {
            client->deliver(command, std::nullopt);
            return true;
        }
    }
    return false;
}

} // namespace tavren::irc_bridge
