#include "outside/CommonDialogs.h"

#include "outside/FontPickerDialog.h"
#include "outside/PersonStandIn.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QRegularExpression>
#include <cmath>

namespace {
// "Pictures (*.bmp;*.gif)|*.bmp;*.gif|All (*.*)|*.*" becomes Qt's
// "Pictures (*.bmp *.gif);;All (*.*)": Qt takes the patterns from the
// parentheses, and separates them with blanks.
QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(description.trimmed(), patterns.trimmed());
    }
    return filters.join(QStringLiteral(";;"));
}

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
    if (PersonStandIn* standIn = PersonStandIn::Current())
        return standIn->PickColour(colour);
    const QColor chosen =
        QColorDialog::getColor(ColourFromWindows(colour), WindowHandle::Widget(owner), QString(),
                               UseDesktopPickers() ? QColorDialog::ColorDialogOptions()
                                                   : QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    colour = ColourToWindows(chosen);
    return true;
}

bool CommonDialogs::ShowFont(qint32 owner, QString& name, int& size, bool& bold, bool& italic,
                             qint32& colour, int minSize, int maxSize) {
    if (PersonStandIn* standIn = PersonStandIn::Current()) {
        PersonStandIn::FontChoice choice{name, size, bold, italic, colour};
        if (!standIn->PickFont(choice, minSize, maxSize))
            return false;
        name = choice.name;
        size = choice.size;
        bold = choice.bold;
        italic = choice.italic;
        colour = choice.colour;
        return true;
    }
    QFont font(name, size);
    font.setBold(bold);
    font.setItalic(italic);
    FontPickerDialog picker(font, ColourFromWindows(colour), minSize, maxSize,
                            WindowHandle::Widget(owner));
    if (picker.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = picker.SelectedFont();
    name = chosen.family();
    size = static_cast<int>(std::lround(chosen.pointSizeF()));
    bold = chosen.bold();
    italic = chosen.italic();
    colour = ColourToWindows(picker.SelectedColour());
    return true;
}

bool CommonDialogs::ShowOpenFile(QString& fileName, qint32 owner, const QString& title,
                                 const QString& filter) {
    if (PersonStandIn* standIn = PersonStandIn::Current())
        return standIn->PickFile(fileName, title, filter);
    const QString chosen = QFileDialog::getOpenFileName(
        WindowHandle::Widget(owner), title, fileName, QtFilter(filter), nullptr,
        UseDesktopPickers() ? QFileDialog::Options() : QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}
