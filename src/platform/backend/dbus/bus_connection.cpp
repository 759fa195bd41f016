#include "bus_connection.h"

#include <QDBusConnection>
#include <QString>

#include <cstdint>

namespace tavren::backend::dbus {

BusConnection::BusConnection(std::string address)
    : address_(std::move(address)),
      name_("tavren-bus-" + std::to_string(reinterpret_cast<std::uintptr_t>(this))) {}

BusConnection::~BusConnection() {
    disconnect();
}

void BusConnection::disconnect() {
    if (registered_) QDBusConnection::disconnectFromBus(QString::fromStdString(name_));
    registered_ = false;
}

void BusConnection::setAddress(std::string address) {
    if (address == address_) return;
    disconnect();
    address_ = std::move(address);
}

QDBusConnection BusConnection::connection() const {
    return QDBusConnection(QString::fromStdString(name_));
}

bool BusConnection::connect() {
    if (registered_ && connection().isConnected()) return true;
    disconnect();
    if (address_.empty()) return false;
    const auto connection = QDBusConnection::connectToBus(QString::fromStdString(address_),
                                                          QString::fromStdString(name_));
    registered_ = true; // registered under our name either way: disconnect it later
    return connection.isConnected();
}

QDBusMessage BusConnection::call(QDBusMessage request, int timeoutMs) {
    if (!connect()) return request.createErrorReply(QDBusError::Disconnected, "no bus");
    request.setAutoStartService(false);
    return connection().call(request, QDBus::Block, timeoutMs);
}

bool BusConnection::nameHasOwner(const QString& name, int timeoutMs) {
    auto request = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner");
    request << name;
    const auto reply = call(request, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
           reply.arguments().front().toBool();
}

} // namespace tavren::backend::dbus
