#include "fcitx5_input_method.h"

#include "bus_connection.h"
#include "fcitx5_hotkeys.h"
#include "session_bus_address.h"

#include <QDBusMessage>
#include <QString>

#include <optional>

namespace tavren::dbus {

namespace {

const QString kService = QStringLiteral("org.fcitx.Fcitx5");
const QString kPath = QStringLiteral("/controller");
const QString kInterface = QStringLiteral("org.fcitx.Fcitx.Controller1");

// fcitx5 answers at once; a hung one must not hold a press for long.
constexpr int kAnswerTimeoutMs = 500;
// What the controller's State() says of the focused input context.
constexpr int kActive = 2;

QDBusMessage ask(BusConnection& bus, const QString& method) {
    return bus.call(QDBusMessage::createMethodCall(kService, kPath, kInterface, method),
                    kAnswerTimeoutMs);
}

bool answered(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

class Fcitx5Suspension : public x11::InputMethod::Suspension {
public:
    Fcitx5Suspension(BusConnection& bus, std::optional<x11::InputMethodKey> activateKey)
        : bus_(bus), activateKey_(std::move(activateKey)) {}
    ~Fcitx5Suspension() override {
        if (!done_) ask(bus_, QStringLiteral("Activate"));
    }
    Fcitx5Suspension(const Fcitx5Suspension&) = delete;
    Fcitx5Suspension& operator=(const Fcitx5Suspension&) = delete;

    std::optional<x11::InputMethodKey> giveBackKey() const override { return activateKey_; }
    void givenBack() override { done_ = true; }
    void abandon() override { done_ = true; }

private:
    BusConnection& bus_;
    std::optional<x11::InputMethodKey> activateKey_;
    bool done_ = false;
};

} // namespace

Fcitx5InputMethod::Fcitx5InputMethod() : Fcitx5InputMethod(sessionBusAddress()) {}

Fcitx5InputMethod::Fcitx5InputMethod(std::string busAddress)
    : bus_(std::make_unique<BusConnection>(std::move(busAddress))) {}

Fcitx5InputMethod::~Fcitx5InputMethod() = default;

// fcitx5 handles what reaches it in order: once it answers, it has handled
// every key the window had handed on before the question.
void Fcitx5InputMethod::catchUp() {
    ask(*bus_, QStringLiteral("State"));
}

bool Fcitx5InputMethod::running() {
    return bus_->nameHasOwner(kService, kAnswerTimeoutMs);
}

std::unique_ptr<x11::InputMethod::Suspension> Fcitx5InputMethod::turnToDirectInput() {
    const auto state = ask(*bus_, QStringLiteral("State"));
    if (!answered(state) || state.arguments().size() != 1 ||
        state.arguments().front().toInt() != kActive)
        return nullptr;
    if (!answered(ask(*bus_, QStringLiteral("Deactivate")))) return nullptr;
    return std::make_unique<Fcitx5Suspension>(*bus_, fcitx5ActivateKey(fcitx5ConfigPath()));
}

} // namespace tavren::dbus
