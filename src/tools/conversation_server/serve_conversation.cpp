#include "serve_conversation.h"

#include "platform/backend/dbus/conversation_address.h"
#include "platform/backend/dbus/session_bus_address.h"

#include <QDBusConnectionInterface>

#include <cstdio>

namespace tavren::conversation_server {

std::optional<QDBusConnection> serveConversation(const char* program, const QString& application,
                                                 const QString& topic,
                                                 ConversationEndpoint& endpoint) {
    const auto busName =
        backend::dbus::conversationBusName(application.toStdString(), topic.toStdString());
    if (!busName) {
        std::fprintf(stderr, "%s: application and topic are too long\n", program);
        return std::nullopt;
    }
    // The same bus Tavren finds, by the same rules, so that the two always meet.
    const auto address = backend::dbus::sessionBusAddress();
    if (address.empty()) {
        std::fprintf(stderr,
                     "%s: no session bus (DBUS_SESSION_BUS_ADDRESS unset and no "
                     "$XDG_RUNTIME_DIR/bus)\n",
                     program);
        return std::nullopt;
    }
    auto bus = QDBusConnection::connectToBus(QString::fromStdString(address),
                                             QString::fromLatin1(program));
    if (!bus.isConnected()) {
        std::fprintf(stderr, "%s: cannot connect to %s: %s\n", program, address.c_str(),
                     qPrintable(bus.lastError().message()));
        return std::nullopt;
    }
    if (!bus.registerVirtualObject(QLatin1String(backend::dbus::kConversationObjectPath),
                                   &endpoint)) {
        std::fprintf(stderr, "%s: cannot register %s\n", program,
                     backend::dbus::kConversationObjectPath);
        return std::nullopt;
    }
    // Refuse to queue behind, or take over from, whoever already serves the name.
    const auto name = QString::fromStdString(*busName);
    const auto reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        std::fprintf(stderr, "%s: %s is already served by another program\n", program,
                     qPrintable(name));
        return std::nullopt;
    }
    std::fprintf(stderr, "%s: serving %s\n", program, qPrintable(name));
    return bus;
}

} // namespace tavren::conversation_server
