#include "conversation_endpoint.h"

#include "platform/dbus/conversation_address.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tavren::link_monitor {

ConversationEndpoint::ConversationEndpoint(Options options, std::FILE* output)
    : options_(std::move(options)), output_(output) {}

QString ConversationEndpoint::introspect(const QString&) const {
    return QStringLiteral("  <interface name=\"%1\">\n"
                          "    <method name=\"%2\">\n"
                          "      <arg name=\"command\" type=\"s\" direction=\"in\"/>\n"
                          "      <arg name=\"item\" type=\"s\" direction=\"in\"/>\n"
                          "    </method>\n"
                          "  </interface>\n")
        .arg(QLatin1String(dbus::kConversationInterface), QLatin1String(dbus::kExecuteMethod));
}

bool ConversationEndpoint::handleMessage(const QDBusMessage& message,
                                         const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage ||
        message.interface() != QLatin1String(dbus::kConversationInterface) ||
        message.member() != QLatin1String(dbus::kExecuteMethod))
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
        connection.send(message.createErrorReply(QLatin1String(dbus::kUnknownItemError),
                                                 QStringLiteral("no such item: ") + item));
        return true;
    }
    print(command);
    // The caller's own time-out ends its wait; the message is simply never answered.
    if (options_.neverAnswer) return true;
    connection.send(message.createReply());
    return true;
}

void ConversationEndpoint::print(const QString& command) {
    const auto bytes = command.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), output_);
    std::fputc('\n', output_);
    std::fflush(output_);
}

} // namespace tavren::link_monitor
