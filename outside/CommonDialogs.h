#pragma once

#include "outside/MessageCatalogue.h"

#include <QLocale>
#include <QString>
#include <QtGlobal>

// The colour, font and open-file pickers. Each returns whether the person
// confirmed a choice; the in-and-out arguments carry the value shown on the
// way in and the chosen value on the way out (unchanged when not confirmed).
class CommonDialogs {
public:
    bool ShowColor(qint32& colour, qint32 owner, int extra1 = -1, int extra2 = -1, int extra3 = 0,
                   int extra4 = 0);

    bool ShowFont(qint32 owner, QString& name, int& size, bool& bold, bool& italic, qint32& colour,
                  int minSize = 8, int maxSize = 24);

    // filter: pairs of description and patterns separated by '|', as
    // "Pictures|*.bmp;*.gif|All files (*.*)|*.*".
    bool ShowOpenFile(QString& fileName, qint32 owner, const QString& title, const QString& filter);

    // A desktop's own pickers (GTK's on GNOME) speak the desktop's language:
    // they are used only where the program speaks it too, and Qt's own
    // pickers, in the program's language, stand in elsewhere.
    static bool DesktopPickersFit(const QLocale& desktop, MessageCatalogue::Language language);
    static bool UseDesktopPickers();
};
