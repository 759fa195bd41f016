// tavren-irc-bridge: serves Tavren's conversation on the session bus and hands
// every command to the IRC clients that are running (HexChat, WeeChat). The bus
// starts it on Tavren's first command (its session service file); it can be
// started by hand as well.

#include "client_command.h"
#include "conversation_server/serve_conversation.h"
#include "hexchat_client.h"
#include "irc_client.h"
#include "weechat_client.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <memory>

using namespace tavren;

namespace {

void handOverToClients(const QString& text, irc_bridge::HexChatClient& hexchat) {
    const auto command = irc_bridge::parseClientCommand(text.toStdString());
    if (!command) return;
    // WeeChats come and go; look for them afresh for every command.
    auto weechats = irc_bridge::findWeeChats();
    std::vector<irc_bridge::IrcClient*> clients{&hexchat};
    for (auto& weechat : weechats)
        clients.push_back(&weechat);
    irc_bridge::handOver(*command, clients); // nobody running: dropped
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavren-irc-bridge"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves the conversation that Tavren opens with the IRC client and hands every "
        "command to the running HexChat or WeeChat (see docs/ipc.md)."));
    parser.addHelpOption();
    parser.process(app);

    std::unique_ptr<irc_bridge::HexChatClient> hexchat;
    // Commands arrive on the bus library's thread; they are handed over on this
    // one, one after the other, in the order they came.
    conversation_server::ConversationEndpoint endpoint({}, [&hexchat](const QString& command) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&hexchat, command] { handOverToClients(command, *hexchat); }, Qt::QueuedConnection);
    });
    const auto bus = conversation_server::serveConversation(
        "tavren-irc-bridge", QStringLiteral("CHOCOA"), QStringLiteral("SCRIPTEXEC_SEND"), endpoint);
    if (!bus) return 1;
    hexchat = std::make_unique<irc_bridge::HexChatClient>(*bus);
    // The bus started it, and it ends with the bus: a session that ends must not
    // leave a bridge behind serving nothing.
    QTimer busWatch;
    QObject::connect(&busWatch, &QTimer::timeout, [&bus] {
        if (!bus->isConnected()) QCoreApplication::quit();
    });
    busWatch.start(1000);
    return app.exec();
}
