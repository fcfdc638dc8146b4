#include "outside/ScreenReaderEvents.h"

#include <QAccessible>
#include <QAccessibleEvent>

#ifdef ZELVORA_ATSPI_BUS
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {
// The application an event comes from, as the bus's events carry it.
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ObjectReference& reference) {
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ObjectReference& reference) {
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}
} // namespace

Q_DECLARE_METATYPE(ObjectReference)

bool ScreenReaderEvents::SendOnBus(QAccessibleInterface* object, const QString& said) {
    // The name Qt gives its connection to the accessibility bus.
    const QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return false;
    static const QMetaType registered = qDBusRegisterMetaType<ObjectReference>();
    Q_UNUSED(registered);
    const QString prefix = QStringLiteral("/org/a11y/atspi/accessible/");
    QDBusMessage event = QDBusMessage::createSignal(
        prefix + QString::number(QAccessible::uniqueId(object)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    event << QStringLiteral("accessible-description") << 0 << 0
          << QVariant::fromValue(QDBusVariant(said))
          << QVariant::fromValue(ObjectReference{bus.baseService(),
                                                 QDBusObjectPath(prefix + QStringLiteral("root"))});
    return bus.send(event);
}
#else
bool ScreenReaderEvents::SendOnBus(QAccessibleInterface*, const QString&) {
    return false;
}
#endif

void ScreenReaderEvents::DescriptionChanged(QAccessibleInterface* object, const QString& said) {
    if (!object || !QAccessible::isActive() || SendOnBus(object, said))
        return;
    QAccessibleEvent event(object, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}
