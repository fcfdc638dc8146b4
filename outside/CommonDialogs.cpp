#include "outside/CommonDialogs.h"

#include "outside/Person.h"

namespace {
// The language the desktop's own programs speak: the first of the player's
// languages, as GTK takes it.
QLocale DesktopLocale() {
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QLocale::system() : QLocale(languages.first());
}
} // namespace

bool CommonDialogs::DesktopPickersFit(const QLocale& desktop, MessageCatalogue::Language language) {
    const QLocale::Language spoken =
        language == MessageCatalogue::Language::English ? QLocale::English : QLocale::Spanish;
    return desktop.language() == spoken;
}

bool CommonDialogs::UseDesktopPickers() {
    return DesktopPickersFit(DesktopLocale(), MessageCatalogue::CurrentLanguage());
}

bool CommonDialogs::ShowColor(qint32& colour, qint32 owner, int, int, int, int) {
    return Person(owner)->PickColour(colour);
}

bool CommonDialogs::ShowFont(qint32 owner, QString& name, int& size, bool& bold, bool& italic,
                             qint32& colour, int minSize, int maxSize) {
    PersonStandIn::FontChoice choice{name, size, bold, italic, colour};
    if (!Person(owner)->PickFont(choice, minSize, maxSize))
        return false;
    name = choice.name;
    size = choice.size;
    bold = choice.bold;
    italic = choice.italic;
    colour = choice.colour;
    return true;
}

bool CommonDialogs::ShowOpenFile(QString& fileName, qint32 owner, const QString& title,
                                 const QString& filter) {
    return Person(owner)->PickFile(fileName, title, filter);
}
