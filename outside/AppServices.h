#pragma once

#include "outside/AppError.h"

#include <QString>

class QWidget;

// Application-wide services: message texts, error reports, files and folders,
// handing addresses to the system, and the questions the program asks.
class AppServices {
public:
    // Text number n of the message catalogue, in the player's language.
    QString GetMessage(int number) const;

    // Shows the error's number, source and description to the player. The
    // extra arguments are accepted for the callers' sake and not used.
    void ReportError(const AppError& error, const QString& extra1 = QString(), int extra2 = -1,
                     int extra3 = -1, const QString& extra4 = QString()) const;
    // A fault the program met and mended on its own (a damaged file set
    // aside): the player reads the description as information.
    void ReportNotice(const AppError& notice) const;

    // Hands an address ("https://...", "mailto:...") to the system's handler.
    void OpenDocument(const QString& address, int extra1 = 0, int extra2 = -1) const;

    QString AddPathSeparator(const QString& folder) const;
    bool FileExists(const QString& path) const;

    // The folder the program runs from; the data file lives there.
    QString ProgramFolder() const;
    // Points ProgramFolder elsewhere (tests, tools); empty restores it.
    static void SetProgramFolder(const QString& folder);

    // There is no shell module to load here: a harmless handle stands in.
    qint32 LoadSystemModule(const QString& name);
    void FreeSystemModule(qint32 handle);

    // Message boxes. AskYesNo: question icon, Yes is the default button.
    bool AskYesNo(const QString& text, const QString& title) const;
    void ShowInformation(const QString& text, const QString& title) const;
};
