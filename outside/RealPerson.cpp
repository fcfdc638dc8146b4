#include "outside/RealPerson.h"

#include "outside/AppError.h"
#include "outside/CommonDialogs.h"
#include "outside/FontPickerDialog.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <cstdio>

namespace {
bool ShowsWindows() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

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
} // namespace

bool RealPerson::AnswerYesNo(const QString& text, const QString& title) {
    return QMessageBox::question(WindowHandle::Widget(owner_), title, text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void RealPerson::Acknowledge(Notice kind, const QString& text, const QString& title) {
    if (!ShowsWindows()) {
        if (kind == Notice::Error)
            std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    if (kind == Notice::Error)
        QMessageBox::critical(WindowHandle::Widget(owner_), title, text);
    else
        QMessageBox::information(WindowHandle::Widget(owner_), title, text);
}

bool RealPerson::PickColour(qint32& colour) {
    const QColor chosen = QColorDialog::getColor(
        ColourFromWindows(colour), WindowHandle::Widget(owner_), QString(),
        CommonDialogs::UseDesktopPickers() ? QColorDialog::ColorDialogOptions()
                                           : QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    colour = ColourToWindows(chosen);
    return true;
}

bool RealPerson::PickFont(FontChoice& font, int minSize, int maxSize) {
    QFont shown(font.name, font.size);
    shown.setBold(font.bold);
    shown.setItalic(font.italic);
    FontPickerDialog picker(shown, ColourFromWindows(font.colour), minSize, maxSize,
                            WindowHandle::Widget(owner_));
    if (picker.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = picker.SelectedFont();
    font.name = chosen.family();
    font.size = static_cast<int>(std::lround(chosen.pointSizeF()));
    font.bold = chosen.bold();
    font.italic = chosen.italic();
    font.colour = ColourToWindows(picker.SelectedColour());
    return true;
}

bool RealPerson::PickFile(QString& path, const QString& title, const QString& filter) {
    // Without a title of its own a picker is called what Qt's own calls
    // itself; the desktop's would otherwise show none at all.
    const QString shown = title.isEmpty() ? QFileDialog::tr("Open") : title;
    const QString chosen = QFileDialog::getOpenFileName(
        WindowHandle::Widget(owner_), shown, path, QtFilter(filter), nullptr,
        CommonDialogs::UseDesktopPickers() ? QFileDialog::Options()
                                           : QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

void RealPerson::OpenAddress(const QString& address) {
    if (!QDesktopServices::openUrl(QUrl(address)))
        throw AppError(ErrorNumber::FileNotFound, QStringLiteral("AppServices.OpenDocument"),
                       MessageCatalogue::Text(11602).arg(address));
}
