#pragma once

#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

// Every text the windows show, by number, in Spanish and English. Texts may
// hold the two characters backslash and n where a line break belongs.
class MessageCatalogue {
public:
    enum class Language { Spanish, English };

    // English for an English locale, Spanish for everything else.
    static Language LanguageFor(const QLocale& locale);
    static Language CurrentLanguage();
    // Tests and tools pin the language; unset follows the system locale.
    static void PinLanguage(std::optional<Language> language);

    // The text of number n; an unknown number gives an empty text.
    static QString Text(int number, Language language);
    static QString Text(int number) { return Text(number, CurrentLanguage()); }

    static std::vector<int> Numbers();
};
