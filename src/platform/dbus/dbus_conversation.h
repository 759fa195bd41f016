#pragma once

#include "platform/services/conversation.h"

#include <optional>
#include <string>

namespace tavren::dbus {

// The conversation with the IRC client over the session bus (see docs/ipc.md).
// Opening asks the bus who owns the conversation's name and keeps talking to
// that one connection; every call gives up after kCallTimeoutMs. Calls block the
// calling thread without running its event loop, as the behaviour expects.
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

    std::string busAddress_;
    std::string connectionName_;
    bool connected_ = false;
    // The unique name of the peer that owned the conversation when it was opened.
    std::optional<std::string> peer_;
    std::string item_;
};

} // namespace tavren::dbus
