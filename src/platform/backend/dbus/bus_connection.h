#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

#include <string>

namespace tavren::backend::dbus {

// A private connection to one bus, opened when first needed and again after the
// bus went away, closed with the object. Calls wait a bounded time and never
// ask the bus to start a program for the name they address.
class BusConnection {
public:
    // `address` "" means there is no bus: nothing connects.
    explicit BusConnection(std::string address);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    bool connect();
    // The reply, or an error message (no bus, no answer in time, ...).
    QDBusMessage call(QDBusMessage request, int timeoutMs);
    // Whether someone owns `name` on the bus now; asks the bus daemon only.
    bool nameHasOwner(const QString& name, int timeoutMs);

    // The connection itself, for serving objects on it: connected once
    // connect() said so, until the bus goes away.
    QDBusConnection connection() const;

    const std::string& address() const { return address_; }
    void setAddress(std::string address);

private:
    void disconnect();

    std::string address_;
    std::string name_;
    bool registered_ = false;
};

} // namespace tavren::backend::dbus
