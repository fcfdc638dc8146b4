#include "outside/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {
QPointer<QTranslator>& Installed() {
    static QPointer<QTranslator> translator;
    return translator;
}

QString FileFor(MessageCatalogue::Language language) {
    return language == MessageCatalogue::Language::English ? QStringLiteral("qtbase_en")
                                                           : QStringLiteral("qtbase_es");
}
} // namespace

QString QtTranslations::Folder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::Install(MessageCatalogue::Language language) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    if (Installed()) {
        QCoreApplication::removeTranslator(Installed());
        delete Installed();
    }
    auto* translator = new QTranslator(application);
    // English is Qt's own language: its file may be missing or empty, and
    // the texts are right without it.
    if (!translator->load(FileFor(language), Folder())) {
        delete translator;
        return language == MessageCatalogue::Language::English;
    }
    QCoreApplication::installTranslator(translator);
    Installed() = translator;
    return true;
}
