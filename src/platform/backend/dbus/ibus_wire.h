#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QString>
#include <QVariant>

namespace tavren::backend::dbus {

// ibus's own objects as they travel on its bus: each is a structure of its
// type's name, a dictionary of attachments, then its fields in a fixed order,
// wrapped in a variant.

// A text with no attributes, as an engine commits it.
QDBusVariant ibusText(const QString& text);

// A component offering one engine of its own, as a program that serves the
// engine itself registers it.
struct IbusEngineOffer {
    QString component; // a bus-style name: "org.example.Engine"
    QString engine;    // the engine's name, as SetGlobalEngine takes it
    QString longName;  // shown by ibus's panel while the engine is on
    QString description;
};
QDBusVariant ibusComponent(const IbusEngineOffer& offer);

// The name in an engine description (GetGlobalEngine, ListActiveEngines); ""
// when the value is not one.
QString ibusEngineName(const QVariant& description);

} // namespace tavren::backend::dbus
