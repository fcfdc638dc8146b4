#pragma once

#include <QtGlobal>

class QWidget;

// Numbered handles for windows and controls, so that callers can pass a
// window around as a 32-bit number the way the game's interfaces expect.
namespace WindowHandle {
// The handle of a widget; the same widget always gets the same number.
qint32 Of(QWidget* widget);
// The widget behind a handle, or nullptr when it is gone or unknown.
QWidget* Widget(qint32 handle);
} // namespace WindowHandle
