#include "ibus_typing_engine.h"

#include "bus_connection.h"
#include "ibus_wire.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>

#include <cstdint>

namespace tavren::backend::dbus {

namespace {

const QString kDaemon = QStringLiteral("org.freedesktop.IBus");
const QString kDaemonPath = QStringLiteral("/org/freedesktop/IBus");
const QString kEnginePaths = QStringLiteral("/org/freedesktop/IBus/Engine/Tavren/");
const QString kEngineInterface = QStringLiteral("org.freedesktop.IBus.Engine");
constexpr int kAnswerTimeoutMs = 500;

// ibus marks a release with a bit of its own in the key state.
constexpr std::uint32_t kReleased = 1u << 30;
constexpr std::uint32_t kHyperR = 0xffee;

} // namespace

// The factory and the engines, under ibus's paths on this program's connection
// to the daemon. Lives on the engine's thread.
class IbusEngineService : public QDBusVirtualObject {
public:
    explicit IbusEngineService(std::atomic<std::uint64_t>& markers) : markers_(markers) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage) return false;
        const QString member = message.member();
        QVariantList answer;
        if (message.interface() == QLatin1String("org.freedesktop.IBus.Factory") &&
            member == QLatin1String("CreateEngine")) {
            answer << QVariant::fromValue(
                QDBusObjectPath(kEnginePaths + QString::number(++engines_)));
        } else if (message.interface() == kEngineInterface &&
                   member == QLatin1String("ProcessKeyEvent")) {
            answer << processKey(message);
        } else if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
                   member == QLatin1String("GetAll")) {
            answer << QVariant::fromValue(QVariantMap());
        } else if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
                   member == QLatin1String("Get")) {
            // FocusId and its like, "(b)": none of the extras are wanted.
            QDBusArgument no;
            no.beginStructure();
            no << false;
            no.endStructure();
            answer << QVariant::fromValue(QDBusVariant(QVariant::fromValue(no)));
        }
        // Everything else (focus, cursor, reset, destroy, ...) needs nothing
        // but an answer.
        connection.send(message.createReply(answer));
        return true;
    }

private:
    // Every key but the marker goes back to the window as not handled, the
    // way a keyboard engine without compose sequences would: the window (or
    // ibus's module in it) then acts on the key itself, in the order typed.
    bool processKey(const QDBusMessage& message) {
        const auto arguments = message.arguments();
        if (arguments.size() != 3 || arguments[0].toUInt() != kHyperR) return false;
        if (!(arguments[2].toUInt() & kReleased)) ++markers_;
        return true;
    }

    std::atomic<std::uint64_t>& markers_;
    unsigned engines_ = 0;
};

IbusTypingEngine::IbusTypingEngine() {
    thread_.setObjectName(QStringLiteral("ibus engine"));
}

IbusTypingEngine::~IbusTypingEngine() {
    withdraw();
}

QString IbusTypingEngine::name() {
    return QStringLiteral("tavren-typing");
}

const char* IbusTypingEngine::markerKeysym() {
    return "Hyper_R";
}

void IbusTypingEngine::withdraw() {
    if (bus_) {
        bus_->connection().unregisterObject(kDaemonPath, QDBusConnection::UnregisterTree);
        bus_.reset();
    }
    if (thread_.isRunning()) {
        thread_.quit();
        thread_.wait();
    }
    service_.reset();
    offered_ = false;
}

bool IbusTypingEngine::offer(const std::string& address) {
    // Calls reach the engine through Qt's event loop on its thread, which
    // wants an application object.
    if (address.empty() || !QCoreApplication::instance()) return false;
    if (offered_ && bus_->address() == address && bus_->connection().isConnected()) return true;
    withdraw();

    bus_ = std::make_unique<BusConnection>(address);
    if (!bus_->connect()) return false;
    service_ = std::make_unique<IbusEngineService>(markers_);
    // Registered first: the connection gives the object helpers of its own,
    // which move to the engine's thread with it. Nobody calls it before the
    // component is registered below.
    if (!bus_->connection().registerVirtualObject(kDaemonPath, service_.get(),
                                                  QDBusConnection::SubPath))
        return false;
    service_->moveToThread(&thread_);
    thread_.start();

    auto request = QDBusMessage::createMethodCall(kDaemon, kDaemonPath, kDaemon,
                                                  QStringLiteral("RegisterComponent"));
    request << QVariant::fromValue(
        ibusComponent({QStringLiteral("org.tavren.Typing"), name(), QStringLiteral("Tavren"),
                       QStringLiteral("Types Tavren's orders as they stand")}));
    offered_ = bus_->call(request, kAnswerTimeoutMs).type() == QDBusMessage::ReplyMessage;
    return offered_;
}

} // namespace tavren::backend::dbus
