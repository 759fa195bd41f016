#pragma once

#include "irc_client.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

namespace tavren::irc_bridge {

// HexChat through its D-Bus interface. The plugin object HexChat gives out on
// Connect lives as long as the connection that asked for it, so it is asked
// for once per HexChat instance, on the bridge's one connection.
class HexChatClient : public IrcClient {
public:
    explicit HexChatClient(QDBusConnection bus);

    bool running() override;
    std::optional<std::string> serverNamed(const std::string& name) override;
    void deliver(const ClientCommand& command, const std::optional<std::string>& server) override;

private:
    // Connects to the HexChat that owns the service now; false when none does.
    bool attach();
    QDBusMessage call(const QString& method, const QVariantList& arguments);
    unsigned findContext(const QString& server, const QString& channel);
    QString info(const QString& name);
    // The channel "$#" stands for in the current context: itself when it is a
    // channel, else the first channel of its server; empty when it has none.
    QString channelOfCurrentServer();

    QDBusConnection bus_;
    QString owner_; // HexChat's connection when the plugin object was obtained
    QString pluginPath_;
};

} // namespace tavren::irc_bridge
