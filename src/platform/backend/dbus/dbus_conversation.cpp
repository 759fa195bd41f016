#include "dbus_conversation.h"

#include "conversation_address.h"
#include "session_bus_address.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <cstdint>

namespace tavren::backend::dbus {

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

// A question to the bus daemon itself, answered at once whatever peers do.
QDBusMessage askTheBus(const std::string& connectionName, const QString& method,
                       const QString& argument) {
    auto request = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", method);
    if (!argument.isEmpty()) request << argument;
    return connectionNamed(connectionName).call(request, QDBus::Block, kCallTimeoutMs);
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

    // Both questions go to the bus daemon, which answers at once whatever the
    // peer is doing. Neither starts anything.
    const auto name = QString::fromStdString(*busName);
    const auto owner = askTheBus(connectionName_, QStringLiteral("GetNameOwner"), name);
    if (owner.type() == QDBusMessage::ReplyMessage && owner.arguments().size() == 1 &&
        !owner.arguments().front().toString().isEmpty()) {
        peer_ = Peer{owner.arguments().front().toString().toStdString(), false};
    } else {
        // Nobody serves it yet, but the bus knows a program that does: commands
        // then go to the name itself, the bus starts that program on the first one
        // and holds them, in order, until it has taken the name.
        const auto activatable =
            askTheBus(connectionName_, QStringLiteral("ListActivatableNames"), QString());
        if (activatable.type() != QDBusMessage::ReplyMessage ||
            activatable.arguments().size() != 1 ||
            !activatable.arguments().front().toStringList().contains(name))
            return false;
        peer_ = Peer{*busName, true};
    }
    item_ = item;
    return true;
}

bool DBusConversation::execute(const std::string& command) {
    if (!peer_ || !travelsUnchanged(command) || !travelsUnchanged(item_)) return false;
    // Addressed to the owner found at opening: a program that takes the name
    // later has not been opened and receives nothing until the next opening.
    auto request = QDBusMessage::createMethodCall(QString::fromStdString(peer_->address),
                                                  kConversationObjectPath, kConversationInterface,
                                                  kExecuteMethod);
    request << QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()))
            << QString::fromUtf8(item_.data(), static_cast<qsizetype>(item_.size()));
    request.setAutoStartService(peer_->byActivation);
    // Handed over without waiting for the answer: one connection delivers its
    // messages in the order sent, and a peer that never answers costs nothing.
    return connectionNamed(connectionName_).send(request);
}

} // namespace tavren::backend::dbus
