#include "outside/WindowHandle.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {
const char* const handleProperty = "zelvoraWindowHandle";

QHash<qint32, QPointer<QWidget>>& Handles() {
    static QHash<qint32, QPointer<QWidget>> handles;
    return handles;
}
} // namespace

qint32 WindowHandle::Of(QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant known = widget->property(handleProperty);
    if (known.isValid())
        return known.toInt();
    static qint32 next = 0x100;
    const qint32 handle = next;
    next += 4;
    widget->setProperty(handleProperty, handle);
    Handles().insert(handle, widget);
    QObject::connect(widget, &QObject::destroyed, [handle] { Handles().remove(handle); });
    return handle;
}

QWidget* WindowHandle::Widget(qint32 handle) {
    return Handles().value(handle);
}
