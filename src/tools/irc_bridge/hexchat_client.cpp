#include "hexchat_client.h"

#include <QDBusConnectionInterface>

namespace tavren::irc_bridge {

namespace {
const QString kService = QStringLiteral("org.hexchat.service");
const QString kRemote = QStringLiteral("/org/hexchat/Remote");
const QString kPlugin = QStringLiteral("org.hexchat.plugin");
// HexChat answers on its user-interface thread; a HexChat that is busy costs
// the bridge this much per call, never Tavren.
constexpr int kCallTimeoutMs = 2000;
constexpr int kChannelTab = 2; // "type" in HexChat's channel list

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

HexChatClient::HexChatClient(QDBusConnection bus) : bus_(std::move(bus)) {}

bool HexChatClient::attach() {
    const auto owner = bus_.interface()->serviceOwner(kService);
    if (!owner.isValid() || owner.value().isEmpty()) {
        owner_.clear();
        return false;
    }
    if (owner.value() == owner_) return true;
    // A new HexChat (or the first one seen): ask it for a plugin object.
    auto request = QDBusMessage::createMethodCall(owner.value(), kRemote,
                                                  QStringLiteral("org.hexchat.connection"),
                                                  QStringLiteral("Connect"));
    request << QStringLiteral("tavren-irc-bridge") << QStringLiteral("Tavren")
            << QStringLiteral("Commands from Tavren") << QStringLiteral("1");
    request.setAutoStartService(false);
    const auto reply = bus_.call(request, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return false;
    owner_ = owner.value();
    pluginPath_ = reply.arguments().front().toString();
    return true;
}

QDBusMessage HexChatClient::call(const QString& method, const QVariantList& arguments) {
    auto request = QDBusMessage::createMethodCall(owner_, pluginPath_, kPlugin, method);
    request.setArguments(arguments);
    request.setAutoStartService(false);
    return bus_.call(request, QDBus::Block, kCallTimeoutMs);
}

unsigned HexChatClient::findContext(const QString& server, const QString& channel) {
    const auto reply = call(QStringLiteral("FindContext"), {server, channel});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return 0;
    return reply.arguments().front().toUInt();
}

QString HexChatClient::info(const QString& name) {
    const auto reply = call(QStringLiteral("GetInfo"), {name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return {};
    return reply.arguments().front().toString();
}

bool HexChatClient::running() {
    return attach();
}

std::optional<std::string> HexChatClient::serverNamed(const std::string& name) {
    // HexChat's own search: its network or server name, letter case ignored.
    if (!attach() || findContext(fromUtf8(name), QString()) == 0) return std::nullopt;
    return name;
}

QString HexChatClient::channelOfCurrentServer() {
    const auto current = info(QStringLiteral("channel"));
    const auto server = info(QStringLiteral("server"));
    const auto network = info(QStringLiteral("network"));
    const auto list = call(QStringLiteral("ListGet"), {QStringLiteral("channels")});
    if (list.type() != QDBusMessage::ReplyMessage || list.arguments().size() != 1) return {};
    const QVariant id = list.arguments().front();
    QString first, focused;
    for (;;) {
        const auto next = call(QStringLiteral("ListNext"), {id});
        if (next.type() != QDBusMessage::ReplyMessage || next.arguments().isEmpty() ||
            !next.arguments().front().toBool())
            break;
        const auto field = [&](const char* name) {
            const auto reply = call(QStringLiteral("ListStr"), {id, QString::fromLatin1(name)});
            return reply.arguments().isEmpty() ? QString() : reply.arguments().front().toString();
        };
        const auto type = call(QStringLiteral("ListInt"), {id, QStringLiteral("type")});
        if (type.arguments().isEmpty() || type.arguments().front().toInt() != kChannelTab) continue;
        if (field("server") != server || field("network") != network) continue;
        const auto channel = field("channel");
        if (first.isEmpty()) first = channel;
        if (channel == current) focused = channel;
    }
    call(QStringLiteral("ListFree"), {id});
    return focused.isEmpty() ? first : focused;
}

void HexChatClient::deliver(const ClientCommand& command,
                            const std::optional<std::string>& server) {
    if (!attach()) return;
    // FindContext(server, "") is the front tab of that server; ("", "") the
    // front tab of all.
    const auto context = findContext(server ? fromUtf8(*server) : QString(), QString());
    if (context == 0) return;
    call(QStringLiteral("SetContext"), {context});
    std::string line = command.line;
    if (command.namesChannel()) {
        const auto channel = channelOfCurrentServer();
        if (channel.isEmpty()) return; // no channel on that server: nowhere to say it
        const auto network = info(QStringLiteral("network"));
        const auto tab =
            findContext(network.isEmpty() ? info(QStringLiteral("server")) : network, channel);
        if (tab != 0) call(QStringLiteral("SetContext"), {tab});
        line = command.lineFor(channel.toStdString());
    }
    call(QStringLiteral("Command"), {fromUtf8(line)});
}

} // namespace tavren::irc_bridge
