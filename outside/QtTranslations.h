#pragma once

#include "outside/MessageCatalogue.h"

#include <QString>

// Qt's own texts (the buttons of message boxes, the colour, font and file
// pickers) in the player's language, from the translations Qt is shipped
// with. Without them those texts stay English in a Spanish program.
class QtTranslations {
public:
    // Installs Qt's translation for the language on the running application,
    // replacing one installed before, and makes it the language of the
    // default locale. False when none could be loaded (Qt's texts then stay
    // English).
    static bool Install(MessageCatalogue::Language language);
    // The same for the language the catalogue speaks to the player.
    static bool Install() { return Install(MessageCatalogue::CurrentLanguage()); }

    // The folder Qt's translations are read from.
    static QString Folder();
};
