#include "conversation_endpoint.h"

#include "platform/backend/dbus/conversation_address.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tavren::conversation_server {

ConversationEndpoint::ConversationEndpoint(Options options, Handler handler)
    : options_(std::move(options)), handler_(std::move(handler)) {}

QString ConversationEndpoint::introspect(const QString&) const {
    return QStringLiteral("  <interface name=\"%1\">\n"
                          "    <method name=\"%2\">\n"
                          "      <arg name=\"command\" type=\"s\" direction=\"in\"/>\n"
                          "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                          "    </method>\n"
                          "  </interface>\n")
        .arg(QLatin1String(backend::dbus::kConversationInterface),
             QLatin1String(backend::dbus::kExecuteMethod));
}

bool ConversationEndpoint::handleMessage(const QDBusMessage& message,
                                         const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage ||
        message.interface() != QLatin1String(backend::dbus::kConversationInterface) ||
        message.member() != QLatin1String(backend::dbus::kExecuteMethod))
        return false; // the bus library answers UnknownMethod
    if (message.signature() != QLatin1String("ss")) {
        connection.send(
            message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                     QStringLiteral("Execute takes (s command, s item)")));
        return true;
    }
    const auto command = message.arguments().at(0).toString();
    const auto item = message.arguments().at(1).toString();
    if (options_.item && item != *options_.item) {
        connection.send(message.createErrorReply(QLatin1String(backend::dbus::kUnknownItemError),
                                                 QStringLiteral("no such item: ") + item));
        return true;
    }
    // Answered first: the caller never waits for the work the command causes.
    if (!options_.neverAnswer) connection.send(message.createReply());
    handler_(command);
    return true;
}

} // namespace tavren::conversation_server
