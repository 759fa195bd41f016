// tavren-link-monitor: stands in for the IRC client on the session bus, so that
// a user can watch what Tavren sends, and so that tests have a peer.

#include "conversation_server/serve_conversation.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

    conversation_server::ConversationEndpoint::Options options;
    if (parser.isSet(item)) options.item = parser.value(item);
    options.neverAnswer = parser.isSet(neverAnswer);
    // Exactly as received (CR LF included), then a newline, flushed at once.
    conversation_server::ConversationEndpoint endpoint(options, [](const QString& command) {
        const auto bytes = command.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
    if (!conversation_server::serveConversation("tavren-link-monitor", parser.value(application),
                                                parser.value(topic), endpoint))
        return 1;
    return app.exec();
}
