#include "ibus_input_method.h"

#include "bus_connection.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tavren::dbus {

namespace {

const QString kService = QStringLiteral("org.freedesktop.IBus");
const QString kPath = QStringLiteral("/org/freedesktop/IBus");
const QString kInterface = QStringLiteral("org.freedesktop.IBus");
constexpr int kAnswerTimeoutMs = 500;
// Keyboard engines hand keys on as they are.
const std::string kKeyboardEnginePrefix = "xkb:";
const QString kFallbackKeyboardEngine = QStringLiteral("xkb:us::eng");

QDBusMessage ask(BusConnection& bus, const QString& method, const QVariantList& arguments = {}) {
    auto request = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    request.setArguments(arguments);
    return bus.call(request, kAnswerTimeoutMs);
}

// An engine description travels as a variant holding a structure: the type's
// name, its attachments, then the engine's name.
QString engineName(const QVariant& description) {
    QVariant value = description;
    if (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
    if (!value.canConvert<QDBusArgument>()) return {};
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::StructureType) return {};
    QString typeName, name;
    argument.beginStructure();
    argument >> typeName;
    argument.beginMap();
    while (!argument.atEnd()) {
        QString key;
        QDBusVariant attachment;
        argument.beginMapEntry();
        argument >> key >> attachment;
        argument.endMapEntry();
    }
    argument.endMap();
    argument >> name;
    return name;
}

QString globalEngine(BusConnection& bus) {
    const auto reply = ask(bus, QStringLiteral("GetGlobalEngine"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) return {};
    return engineName(reply.arguments().front());
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
            const auto name = engineName(description.variant());
            if (name.toStdString().rfind(kKeyboardEnginePrefix, 0) == 0) return name;
        }
        engines.endArray();
    }
    return kFallbackKeyboardEngine;
}

bool setGlobalEngine(BusConnection& bus, const QString& name) {
    return ask(bus, QStringLiteral("SetGlobalEngine"), {name}).type() == QDBusMessage::ReplyMessage;
}

class IbusSuspension : public x11::InputMethod::Suspension {
public:
    IbusSuspension(BusConnection& bus, QString engine) : bus_(bus), engine_(std::move(engine)) {}
    ~IbusSuspension() override { setGlobalEngine(bus_, engine_); }
    IbusSuspension(const IbusSuspension&) = delete;
    IbusSuspension& operator=(const IbusSuspension&) = delete;

    // ibus has no key that brings back one engine: the engine goes back over
    // the bus, after the keys went through.
    std::optional<x11::InputMethodKey> directKey() const override { return std::nullopt; }
    void turnNow() override {}
    std::optional<x11::InputMethodKey> giveBackKey() const override { return std::nullopt; }
    void givenBack() override {}
    std::optional<bool> tookEffect() override { return std::nullopt; }
    // One engine serves every window: giving it back is right wherever the
    // focus went.
    void abandon() override {}

private:
    BusConnection& bus_;
    QString engine_;
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

IbusInputMethod::IbusInputMethod() : bus_(std::make_unique<BusConnection>("")) {}

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

std::unique_ptr<x11::InputMethod::Suspension> IbusInputMethod::turnToDirectInput(unsigned long) {
    const QString engine = globalEngine(*bus_);
    if (engine.isEmpty() || engine.toStdString().rfind(kKeyboardEnginePrefix, 0) == 0)
        return nullptr;
    if (!setGlobalEngine(*bus_, keyboardEngine(*bus_))) return nullptr;
    return std::make_unique<IbusSuspension>(*bus_, engine);
}

} // namespace tavren::dbus
