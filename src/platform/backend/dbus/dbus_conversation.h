#pragma once

#include "platform/services/conversation.h"

#include <optional>
#include <string>

namespace tavren::backend::dbus {

// The conversation with the IRC client over the session bus (see docs/ipc.md).
// Opening asks the bus who owns the conversation's name and keeps talking to
// that one connection, or, when nobody owns it but the bus can start a program
// for it, to the name. Opening waits for the bus daemon (at most
// kCallTimeoutMs), never for the peer: commands are sent without waiting for
// their answers, in order, on one connection.
class DBusConversation : public services::Conversation {
public:
    // The user's session bus, as sessionBusAddress() finds it.
    DBusConversation();
    // A given bus address; "" means there is no bus and every open fails.
    explicit DBusConversation(std::string busAddress);
    ~DBusConversation() override;
    DBusConversation(const DBusConversation&) = delete;
    DBusConversation& operator=(const DBusConversation&) = delete;

    bool open(const std::string& application, const std::string& topic,
              const std::string& item) override;
    bool execute(const std::string& command) override;

private:
    bool connect();

    struct Peer {
        std::string address; // a unique name, or the well-known name when activated
        bool byActivation;
    };

    std::string busAddress_;
    std::string connectionName_;
    bool connected_ = false;
    // Whoever served the conversation when it was opened.
    std::optional<Peer> peer_;
    std::string item_;
};

} // namespace tavren::backend::dbus
