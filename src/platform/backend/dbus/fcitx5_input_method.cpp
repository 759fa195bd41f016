#include "fcitx5_input_method.h"

#include "bus_connection.h"
#include "fcitx5_hotkeys.h"
#include "session_bus_address.h"

#include <QDBusMessage>
#include <QString>

#include <optional>

namespace tavren::backend::dbus {

namespace {

const QString kService = QStringLiteral("org.fcitx.Fcitx5");
const QString kPath = QStringLiteral("/controller");
const QString kInterface = QStringLiteral("org.fcitx.Fcitx.Controller1");

// fcitx5 answers at once; a hung one must not hold a press for long.
constexpr int kAnswerTimeoutMs = 500;
// What the controller's State() says of the focused input context.
constexpr int kInactive = 1;
constexpr int kActive = 2;

QDBusMessage ask(BusConnection& bus, const QString& method) {
    return bus.call(QDBusMessage::createMethodCall(kService, kPath, kInterface, method),
                    kAnswerTimeoutMs);
}

bool answered(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

class Fcitx5InputMethod::Suspension : public backend::x11::InputMethod::Suspension {
public:
    Suspension(Fcitx5InputMethod& owner, unsigned long window,
               std::optional<backend::x11::InputMethodKey> deactivateKey,
               std::optional<backend::x11::InputMethodKey> activateKey)
        : owner_(owner), window_(window), deactivateKey_(std::move(deactivateKey)),
          activateKey_(std::move(activateKey)) {
        if (!deactivateKey_) turnNow();
    }
    ~Suspension() override {
        if (!done_) ask(*owner_.bus_, QStringLiteral("Activate"));
    }
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

    std::optional<backend::x11::InputMethodKey> directKey() const override {
        return deactivateKey_;
    }
    void turnNow() override {
        deactivateKey_.reset();
        ask(*owner_.bus_, QStringLiteral("Deactivate"));
    }
    std::optional<backend::x11::InputMethodKey> giveBackKey() const override {
        return activateKey_;
    }
    void givenBack() override {
        done_ = true;
        owner_.givenBack_[window_] = std::chrono::steady_clock::now();
    }
    // Active again once fcitx5 has read the activate key.
    std::optional<bool> tookEffect() override {
        const auto reply = ask(*owner_.bus_, QStringLiteral("State"));
        if (!answered(reply) || reply.arguments().size() != 1) return std::nullopt;
        return reply.arguments().front().toInt() == kActive;
    }
    void abandon() override { done_ = true; }

private:
    Fcitx5InputMethod& owner_;
    unsigned long window_;
    std::optional<backend::x11::InputMethodKey> deactivateKey_;
    std::optional<backend::x11::InputMethodKey> activateKey_;
    bool done_ = false;
};

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

std::unique_ptr<backend::x11::InputMethod::Suspension>
Fcitx5InputMethod::turnToDirectInput(unsigned long window) {
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(givenBack_,
                  [now](const auto& entry) { return now - entry.second > kKeyInFlight; });
    const auto reply = ask(*bus_, QStringLiteral("State"));
    if (!answered(reply) || reply.arguments().size() != 1) return nullptr;
    const int state = reply.arguments().front().toInt();
    // Inactive, but an activate key typed into this window a moment ago may
    // not have reached fcitx5 yet: it will be active when this order's keys
    // arrive.
    const bool active = state == kActive || (state == kInactive && givenBack_.count(window));
    if (!active) return nullptr;
    const auto config = fcitx5ConfigPath();
    auto activateKey = fcitx5ActivateKey(config);
    // Without an activate key the state goes back over the bus, which cannot
    // wait for keys in flight: then it is turned over the bus too.
    auto deactivateKey = activateKey ? fcitx5DeactivateKey(config) : std::nullopt;
    return std::make_unique<Suspension>(*this, window, std::move(deactivateKey),
                                        std::move(activateKey));
}

} // namespace tavren::backend::dbus
