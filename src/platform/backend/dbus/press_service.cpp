#include "press_service.h"

#include "bus_connection.h"

#include <QDBusConnectionInterface>
#include <QDBusVirtualObject>

namespace tavren::backend::dbus {

namespace {

// A press waits for its window to come to the front and for the window to
// read the keys: seconds at the most, with a window that never answers.
constexpr int kPressTimeoutMs = 60000;
constexpr int kBusTimeoutMs = 2000;

class PressObject : public QDBusVirtualObject {
public:
    explicit PressObject(PressService::Press press) : press_(std::move(press)) {}

    QString introspect(const QString&) const override {
        return QStringLiteral("<interface name=\"%1\"><method name=\"Press\">"
                              "<arg name=\"number\" type=\"u\" direction=\"in\"/>"
                              "<arg name=\"right\" type=\"b\" direction=\"in\"/>"
                              "</method></interface>")
            .arg(QLatin1String(kPressInterface));
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage ||
            message.interface() != QLatin1String(kPressInterface) ||
            message.member() != QLatin1String("Press"))
            return false;
        const auto arguments = message.arguments();
        if (message.signature() != QLatin1String("ub")) {
            connection.send(message.createErrorReply(
                QDBusError::InvalidArgs, QStringLiteral("Press takes (u number, b right)")));
            return true;
        }
        const auto number = arguments[0].toUInt();
        const bool pressed =
            number >= 1 && number <= 81 && press_(static_cast<int>(number), arguments[1].toBool());
        connection.send(pressed ? message.createReply()
                                : message.createErrorReply(
                                      QLatin1String(kNotShownError),
                                      QStringLiteral("button %1 is not on the board").arg(number)));
        return true;
    }

private:
    PressService::Press press_;
};

} // namespace

PressService::PressService(const std::string& busAddress, Press press)
    : bus_(std::make_unique<BusConnection>(busAddress)) {
    if (!bus_->connect()) return;
    object_ = std::make_unique<PressObject>(std::move(press));
    QDBusConnection connection = bus_->connection();
    if (!connection.registerVirtualObject(QLatin1String(kPressObjectPath), object_.get())) return;
    // Not queued behind another Tavren: that one takes the presses.
    const auto reply = connection.interface()->registerService(
        QLatin1String(kPressBusName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    serving_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

PressService::~PressService() {
    if (!object_) return;
    QDBusConnection connection = bus_->connection();
    if (serving_) connection.interface()->unregisterService(QLatin1String(kPressBusName));
    connection.unregisterObject(QLatin1String(kPressObjectPath));
}

PressOutcome askRunningTavrenToPress(const std::string& busAddress, int number, bool right) {
    BusConnection bus(busAddress);
    if (!bus.connect()) return {false, "no session bus: no Tavren to press a button of"};
    if (!bus.nameHasOwner(QLatin1String(kPressBusName), kBusTimeoutMs))
        return {false, "no Tavren is running in this session: nothing was pressed"};
    auto request = QDBusMessage::createMethodCall(
        QLatin1String(kPressBusName), QLatin1String(kPressObjectPath),
        QLatin1String(kPressInterface), QStringLiteral("Press"));
    request << static_cast<uint>(number) << right;
    const QDBusMessage reply = bus.call(request, kPressTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return {true, {}};
    if (reply.errorName() == QLatin1String(kNotShownError))
        return {false, "button " + std::to_string(number) +
                           " is not on the board of the running Tavren: nothing was pressed"};
    return {false,
            "the running Tavren did not take the press: " + reply.errorMessage().toStdString()};
}

} // namespace tavren::backend::dbus
