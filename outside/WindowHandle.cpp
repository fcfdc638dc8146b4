#include "outside/WindowHandle.h"

#include <QHash>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

const char* const HandleProperty = "zelvoraWindowHandle";

QHash<qint32, QPointer<QWidget>>& Handles() {
    static QHash<qint32, QPointer<QWidget>> handles;
    return handles;
}

} // namespace

qint32 WindowHandle::Of(QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant known = widget->property(HandleProperty);
    if (known.isValid())
        return known.toInt();
    static qint32 last = 0;
    const qint32 handle = ++last;
    widget->setProperty(HandleProperty, handle);
    Handles().insert(handle, widget);
    return handle;
}

QWidget* WindowHandle::Widget(qint32 handle) {
    auto found = Handles().find(handle);
    if (found == Handles().end())
        return nullptr;
    QWidget* widget = found->data();
    if (!widget)
        Handles().erase(found);
    return widget;
}
