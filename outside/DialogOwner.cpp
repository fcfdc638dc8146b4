#include "outside/DialogOwner.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>
#include <QWindow>

namespace {
bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The window that was active when window was shown, else the main window.
QWidget* OwnerFor(const QWidget* window) {
    for (QWidget* candidate : {QApplication::activeModalWidget(), QApplication::activeWindow()})
        if (candidate && candidate != window && candidate->isVisible())
            return candidate;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* other : windows)
        if (other != window && other->isVisible() && qobject_cast<QMainWindow*>(other))
            return other;
    return nullptr;
}
} // namespace

void DialogOwner::Install() {
    static DialogOwner* installed = nullptr;
    if (installed || !OnWayland())
        return;
    installed = new DialogOwner(qApp);
    qApp->installEventFilter(installed);
}

// A widget's show event comes before its window reaches the compositor, so
// the owner is known when the compositor places it.
bool DialogOwner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    if (!widget->isWindow() || (type != Qt::Dialog && type != Qt::Window) ||
        qobject_cast<QMainWindow*>(widget))
        return false;
    QWindow* window = widget->windowHandle();
    if (!window || window->transientParent())
        return false;
    if (QWidget* owner = OwnerFor(widget); owner && owner->windowHandle())
        window->setTransientParent(owner->windowHandle());
    return false;
}
