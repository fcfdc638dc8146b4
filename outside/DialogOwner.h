#pragma once

#include <QObject>

#include <QPointer>

class QWidget;

// On Wayland a window cannot place itself: the compositor keeps a dialog
// with its window, and above it, only when told which window owns it. There
// every window shown without an owner is given the one that was active (the
// main window, or the dialog that opened it). Elsewhere dialogs keep no
// owner: the window manager already places and stacks them.
class DialogOwner : public QObject {
    Q_OBJECT

public:
    // Watches every window from now on; does nothing off Wayland.
    static void Install();

    // The compositor places a window only when it first shows it: a window
    // that grew is shown anew to be placed where it fits. While a dialog is
    // open that waits until it closes, so the dialog stays above its owner.
    static void ShowAnew(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
    static void ShowAnewNow(QWidget* window);

    QPointer<QWidget> pending_;
};
