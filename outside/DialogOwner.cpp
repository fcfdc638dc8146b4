#include "outside/DialogOwner.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

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

namespace {
DialogOwner* installed = nullptr;
}

void DialogOwner::Install() {
    if (installed || !OnWayland())
        return;
    installed = new DialogOwner(qApp);
    qApp->installEventFilter(installed);
}

void DialogOwner::ShowAnew(QWidget* window) {
    if (!installed)
        return;
    if (QApplication::activeModalWidget())
        installed->pending_ = window;
    else
        ShowAnewNow(window);
}

void DialogOwner::ShowAnewNow(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    window->hide();
    window->show();
}

// A widget's show event comes before its window reaches the compositor, so
// the owner is known when the compositor places it.
bool DialogOwner::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Hide && pending_ && widget->isWindow() && widget->isModal()) {
        // Once the last dialog is gone.
        QTimer::singleShot(0, this, [this] {
            if (!QApplication::activeModalWidget())
                ShowAnewNow(std::exchange(pending_, nullptr));
        });
        return false;
    }
    if (event->type() != QEvent::Show)
        return false;
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
