#include "ibus_input_method.h"

#include "bus_connection.h"
#include "ibus_typing_engine.h"
#include "ibus_wire.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tavren::backend::dbus {

namespace {

const QString kService = QStringLiteral("org.freedesktop.IBus");
const QString kPath = QStringLiteral("/org/freedesktop/IBus");
const QString kInterface = QStringLiteral("org.freedesktop.IBus");
constexpr int kAnswerTimeoutMs = 500;
// Keyboard engines hand keys on as they are (save for compose sequences).
bool isKeyboardEngine(const QString& name) {
    return name.startsWith(QLatin1String("xkb:"));
}
const QString kFallbackKeyboardEngine = QStringLiteral("xkb:us::eng");

QDBusMessage ask(BusConnection& bus, const QString& method, const QVariantList& arguments = {}) {
    auto request = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    request.setArguments(arguments);
    return bus.call(request, kAnswerTimeoutMs);
}

QString globalEngine(BusConnection& bus) {
    const auto reply = ask(bus, QStringLiteral("GetGlobalEngine"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return {};
    return ibusEngineName(reply.arguments().front());
}

// The user's own keyboard engine when one is among the active engines, so the
// layout stays the one the keys were planned with.
QString keyboardEngine(BusConnection& bus) {
    const auto reply = ask(bus, QStringLiteral("ListActiveEngines"));
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1) {
        const auto engines = reply.arguments().front().value<QDBusArgument>();
        engines.beginArray();
        while (!engines.atEnd()) {
            QDBusVariant description;
            engines >> description;
            const auto name = ibusEngineName(description.variant());
            if (isKeyboardEngine(name)) return name;
        }
        engines.endArray();
    }
    return kFallbackKeyboardEngine;
}

bool setGlobalEngine(BusConnection& bus, const QString& name) {
    return ask(bus, QStringLiteral("SetGlobalEngine"), {name}).type() == QDBusMessage::ReplyMessage;
}

// The engine ibus serves every window (its default) is swapped for another
// for the order, and back afterwards.
class IbusSuspension : public backend::x11::InputMethod::Suspension {
public:
    // `engine`: nothing when a keyboard engine stands in, which cannot tell
    // when ibus has handled the order's keys.
    IbusSuspension(BusConnection& bus, QString original, const IbusTypingEngine* engine)
        : bus_(bus), original_(std::move(original)), engine_(engine),
          markersBefore_(engine ? engine->markersSeen() : 0) {}
    ~IbusSuspension() override { giveBack(); }
    IbusSuspension(const IbusSuspension&) = delete;
    IbusSuspension& operator=(const IbusSuspension&) = delete;

    // ibus has no key that brings back one engine: the engine goes back over
    // the bus, once the marker shows the keys went through.
    std::optional<backend::x11::InputMethodKey> directKey() const override { return std::nullopt; }
    void turnNow() override {}
    std::optional<backend::x11::InputMethodKey> giveBackKey() const override {
        if (!engine_) return std::nullopt;
        return backend::x11::InputMethodKey{IbusTypingEngine::markerKeysym()};
    }
    void givenBack() override {}
    std::optional<bool> tookEffect() override {
        if (!engine_) return std::nullopt;
        if (engine_->markersSeen() > markersBefore_) {
            giveBack();
            return true;
        }
        // A window ibus does not serve got the marker itself: ibus had
        // nothing to do. Asked once, after the order, when the window's focus
        // change has long reached ibus.
        if (!askedFocus_) {
            askedFocus_ = true;
            if (noWindowHasFocus()) return std::nullopt;
        }
        return false;
    }
    // ibus's GTK module hands characters back to GTK as text when the engine
    // passes them on.
    bool handsCharactersOnAsText() const override { return engine_ != nullptr; }
    // One engine serves every window: giving it back is right wherever the
    // focus went.
    void abandon() override {}

private:
    void giveBack() {
        if (givenBack_) return;
        givenBack_ = true;
        setGlobalEngine(bus_, original_);
    }

    // ibus's own input context, the first it makes, has the focus whenever no
    // window's has.
    bool noWindowHasFocus() {
        auto request = QDBusMessage::createMethodCall(
            kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        request << kInterface << QStringLiteral("CurrentInputContext");
        const auto reply = bus_.call(request, kAnswerTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            return false;
        const auto path = reply.arguments().front().value<QDBusVariant>().variant();
        return path.value<QDBusObjectPath>().path() ==
               QLatin1String("/org/freedesktop/IBus/InputContext_1");
    }

    BusConnection& bus_;
    QString original_;
    const IbusTypingEngine* engine_;
    std::uint64_t markersBefore_;
    bool askedFocus_ = false;
    bool givenBack_ = false;
};

std::string machineId() {
    for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        std::ifstream file(path);
        std::string id;
        if (file >> id) return id;
    }
    return {};
}

} // namespace

std::string ibusAddress(const std::string& display) {
    if (const char* address = std::getenv("IBUS_ADDRESS"); address && *address) return address;
    // ":0.0" or "host:0": the host ("unix" when local) and the display number.
    const auto colon = display.rfind(':');
    if (colon == std::string::npos) return {};
    const std::string host = colon == 0 ? "unix" : display.substr(0, colon);
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::filesystem::path(home) / ".config";
    else
        return {};
    std::ifstream file(config / "ibus" / "bus" / (machineId() + "-" + host + "-" + number));
    std::string line;
    while (std::getline(file, line))
        if (line.rfind("IBUS_ADDRESS=", 0) == 0) return line.substr(13);
    return {};
}

IbusInputMethod::IbusInputMethod()
    : bus_(std::make_unique<BusConnection>("")), engine_(std::make_unique<IbusTypingEngine>()) {}

IbusInputMethod::~IbusInputMethod() = default;

bool IbusInputMethod::running() {
    const char* display = std::getenv("DISPLAY");
    bus_->setAddress(ibusAddress(display ? display : ""));
    return bus_->nameHasOwner(kService, kAnswerTimeoutMs);
}

// The daemon answers in order: once it has, it has passed on every key a
// window had handed it before.
void IbusInputMethod::catchUp() {
    globalEngine(*bus_);
}

std::unique_ptr<backend::x11::InputMethod::Suspension>
IbusInputMethod::turnToDirectInput(unsigned long) {
    const QString engine = globalEngine(*bus_);
    if (engine.isEmpty() || engine == IbusTypingEngine::name()) return nullptr;
    if (engine_->offer(bus_->address()) && setGlobalEngine(*bus_, IbusTypingEngine::name()))
        return std::make_unique<IbusSuspension>(*bus_, engine, engine_.get());
    // Without an engine of its own, a keyboard engine passes keys on as they
    // are, save for its compose sequences.
    if (isKeyboardEngine(engine)) return nullptr;
    if (!setGlobalEngine(*bus_, keyboardEngine(*bus_))) return nullptr;
    return std::make_unique<IbusSuspension>(*bus_, engine, nullptr);
}

} // namespace tavren::backend::dbus
