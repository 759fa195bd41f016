#include "ibus_wire.h"

#include <QMetaType>

namespace tavren::backend::dbus {

namespace {

void beginObject(QDBusArgument& argument, const QString& type) {
    argument.beginStructure();
    argument << type;
    argument.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QDBusVariant>());
    argument.endMap();
}

void emptyVariantArray(QDBusArgument& argument) {
    argument.beginArray(QMetaType::fromType<QDBusVariant>());
    argument.endArray();
}

QDBusVariant wrapped(const QDBusArgument& argument) {
    return QDBusVariant(QVariant::fromValue(argument));
}

QDBusVariant emptyAttributeList() {
    QDBusArgument list;
    beginObject(list, QStringLiteral("IBusAttrList"));
    emptyVariantArray(list);
    list.endStructure();
    return wrapped(list);
}

QDBusVariant engineDescription(const IbusEngineOffer& offer) {
    QDBusArgument engine;
    beginObject(engine, QStringLiteral("IBusEngineDesc"));
    // name, long name, description, language, licence, author, icon, layout
    engine << offer.engine << offer.longName << offer.description << QString() << QString()
           << QString() << QString() << QStringLiteral("default");
    engine << 0u; // rank
    // hotkeys, symbol, setup, layout variant, layout option, version, text
    // domain, icon property key
    for (int field = 0; field < 8; ++field)
        engine << QString();
    engine.endStructure();
    return wrapped(engine);
}

} // namespace

QDBusVariant ibusText(const QString& text) {
    QDBusArgument argument;
    beginObject(argument, QStringLiteral("IBusText"));
    argument << text << emptyAttributeList();
    argument.endStructure();
    return wrapped(argument);
}

QDBusVariant ibusComponent(const IbusEngineOffer& offer) {
    QDBusArgument component;
    beginObject(component, QStringLiteral("IBusComponent"));
    // name, description, version, licence, author, homepage, command line,
    // text domain: no command line, since this program serves the engine itself
    component << offer.component << offer.description << QString() << QString() << QString()
              << QString() << QString() << QString();
    emptyVariantArray(component); // observed paths
    component.beginArray(QMetaType::fromType<QDBusVariant>());
    component << engineDescription(offer);
    component.endArray();
    component.endStructure();
    return wrapped(component);
}

QString ibusEngineName(const QVariant& description) {
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

} // namespace tavren::backend::dbus
