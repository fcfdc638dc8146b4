#include "outside/QtTranslations.h"

#include "outside/SpanishQtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <vector>

namespace {
// The gaps first, then Qt's file; removed together.
std::vector<QPointer<QTranslator>>& Installed() {
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

void RemoveInstalled() {
    for (const QPointer<QTranslator>& translator : Installed()) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    Installed().clear();
}

void Add(QTranslator* translator) {
    QCoreApplication::installTranslator(translator);
    Installed().push_back(translator);
}

QString FileFor(MessageCatalogue::Language language) {
    return language == MessageCatalogue::Language::English ? QStringLiteral("qtbase_en")
                                                           : QStringLiteral("qtbase_es");
}

// What Qt reads in the locale's language (the kinds of files in the file
// picker, dates) must not speak the desktop's when the program cannot: a
// German desktop gets a Spanish program, with Spanish kinds of file.
void SpeakInLocale(MessageCatalogue::Language language) {
    const QLocale::Language spoken =
        language == MessageCatalogue::Language::English ? QLocale::English : QLocale::Spanish;
    QLocale::setDefault(QLocale(spoken, QLocale::system().territory()));
}
} // namespace

QString QtTranslations::Folder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::Install(MessageCatalogue::Language language) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    RemoveInstalled();
    SpeakInLocale(language);
    if (language == MessageCatalogue::Language::Spanish)
        Add(new SpanishQtTexts(application));
    auto* translator = new QTranslator(application);
    // English is Qt's own language: its file may be missing or empty, and
    // the texts are right without it.
    if (!translator->load(FileFor(language), Folder())) {
        delete translator;
        return language == MessageCatalogue::Language::English;
    }
    // Installed last, so asked first: a later Qt that has the gaps wins.
    Add(translator);
    return true;
}
