// tavren-link-monitor: stands in for the IRC client on the session bus, so that
// a user can watch what Tavren sends, and so that tests have a peer.

#include "conversation_endpoint.h"

#include "platform/dbus/conversation_address.h"
#include "platform/dbus/session_bus_address.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>

using namespace tavren;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavren-link-monitor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves the conversation that Tavren opens with the IRC client and prints every "
        "command it receives on standard output, exactly as received (CR LF included), "
        "followed by a newline."));
    parser.addHelpOption();
    const QCommandLineOption application(QStringLiteral("application"),
                                         QStringLiteral("Application name (default CHOCOA)."),
                                         QStringLiteral("name"), QStringLiteral("CHOCOA"));
    const QCommandLineOption topic(QStringLiteral("topic"),
                                   QStringLiteral("Topic name (default SCRIPTEXEC_SEND)."),
                                   QStringLiteral("name"), QStringLiteral("SCRIPTEXEC_SEND"));
    const QCommandLineOption item(
        QStringLiteral("item"),
        QStringLiteral("Accept only commands for this item (default: any item)."),
        QStringLiteral("item"));
    const QCommandLineOption neverAnswer(
        QStringLiteral("never-answer"),
        QStringLiteral("Print each command but never answer it (to try the caller's time-out)."));
    parser.addOptions({application, topic, item, neverAnswer});
    parser.process(app);

    const auto busName = dbus::conversationBusName(parser.value(application).toStdString(),
                                                   parser.value(topic).toStdString());
    if (!busName) {
        std::fprintf(stderr, "tavren-link-monitor: application and topic are too long\n");
        return 2;
    }
    // The same bus Tavren finds, by the same rules, so that the two always meet.
    const auto address = dbus::sessionBusAddress();
    if (address.empty()) {
        std::fprintf(stderr, "tavren-link-monitor: no session bus (DBUS_SESSION_BUS_ADDRESS "
                             "unset and no $XDG_RUNTIME_DIR/bus)\n");
        return 1;
    }
    auto bus = QDBusConnection::connectToBus(QString::fromStdString(address),
                                             QStringLiteral("tavren-link-monitor"));
    if (!bus.isConnected()) {
        std::fprintf(stderr, "tavren-link-monitor: cannot connect to %s: %s\n", address.c_str(),
                     qPrintable(bus.lastError().message()));
        return 1;
    }

    link_monitor::ConversationEndpoint::Options options;
    if (parser.isSet(item)) options.item = parser.value(item);
    options.neverAnswer = parser.isSet(neverAnswer);
    link_monitor::ConversationEndpoint endpoint(options, stdout);
    if (!bus.registerVirtualObject(QLatin1String(dbus::kConversationObjectPath), &endpoint)) {
        std::fprintf(stderr, "tavren-link-monitor: cannot register %s\n",
                     dbus::kConversationObjectPath);
        return 1;
    }
    // Refuse to queue behind, or take over from, whoever already serves the name.
    const auto name = QString::fromStdString(*busName);
    const auto reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        std::fprintf(stderr, "tavren-link-monitor: %s is already served by another program\n",
                     qPrintable(name));
        return 1;
    }
    std::fprintf(stderr, "tavren-link-monitor: serving %s\n", qPrintable(name));
    return app.exec();
}
