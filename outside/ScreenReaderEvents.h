#pragma once

#include <QString>

class QAccessibleInterface;

// Events for screen readers that Qt's own bridge to the Linux
// accessibility bus gets wrong. Qt 6.4 sends a description change with the
// object where the new text belongs, so Orca drops it; here the event goes
// out as the bus defines it, on Qt's own connection to that bus.
class ScreenReaderEvents {
public:
    // Tells that the description of `object` is now `said`; a screen
    // reader speaks it when `object` has the focus. Falls back to Qt's
    // event where the bus cannot be reached.
    static void DescriptionChanged(QAccessibleInterface* object, const QString& said);

private:
    static bool SendOnBus(QAccessibleInterface* object, const QString& said);
};
