#include "dbus_conversation.h"

#include "conversation_address.h"
#include "session_bus_address.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <cstdint>

namespace tavren::dbus {

namespace {

QDBusConnection connectionNamed(const std::string& name) {
    return QDBusConnection(QString::fromStdString(name));
}

// A bus string is UTF-8 without NUL. Anything else would reach the peer altered
// (replacement characters, or cut at the NUL), so it is refused instead.
bool travelsUnchanged(const std::string& text) {
    if (text.find('\0') != std::string::npos) return false;
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

} // namespace

DBusConversation::DBusConversation() : DBusConversation(sessionBusAddress()) {}

DBusConversation::DBusConversation(std::string busAddress)
    : busAddress_(std::move(busAddress)),
      connectionName_("tavren-conversation-" +
                      std::to_string(reinterpret_cast<std::uintptr_t>(this))) {}

DBusConversation::~DBusConversation() {
    if (connected_) QDBusConnection::disconnectFromBus(QString::fromStdString(connectionName_));
}

bool DBusConversation::connect() {
    // The bus may have gone away since the last opening; start afresh then.
    if (connected_ && connectionNamed(connectionName_).isConnected()) return true;
    if (connected_) QDBusConnection::disconnectFromBus(QString::fromStdString(connectionName_));
    connected_ = false;
    if (busAddress_.empty()) return false;
    const auto connection = QDBusConnection::connectToBus(QString::fromStdString(busAddress_),
                                                          QString::fromStdString(connectionName_));
    connected_ = true; // registered under our name either way; disconnect it later
    return connection.isConnected();
}

bool DBusConversation::open(const std::string& application, const std::string& topic,
                            const std::string& item) {
    peer_.reset();
    const auto busName = conversationBusName(application, topic);
    if (!busName || !connect()) return false;

    // GetNameOwner answers NameHasOwner's question and names the owner at once.
    // It never starts a service: a conversation needs a program already running.
    auto request = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "GetNameOwner");
    request << QString::fromStdString(*busName);
    const auto reply = connectionNamed(connectionName_).call(request, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
    const auto owner = reply.arguments().front().toString();
    if (owner.isEmpty()) return false;
    peer_ = owner.toStdString();
    item_ = item;
    return true;
}

bool DBusConversation::execute(const std::string& command) {
    if (!peer_ || !travelsUnchanged(command) || !travelsUnchanged(item_)) return false;
    // Addressed to the owner found at opening: a program that takes the name
    // later has not been opened and receives nothing until the next opening.
    auto request =
        QDBusMessage::createMethodCall(QString::fromStdString(*peer_), kConversationObjectPath,
                                       kConversationInterface, kExecuteMethod);
    request << QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()))
            << QString::fromUtf8(item_.data(), static_cast<qsizetype>(item_.size()));
    request.setAutoStartService(false);
    const auto reply = connectionNamed(connectionName_).call(request, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace tavren::dbus
