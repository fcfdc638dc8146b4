#include "outside/AppServices.h"

#include "outside/MessageCatalogue.h"
#include "outside/PersonStandIn.h"
#include "outside/ProductInfo.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace {
QString& ProgramFolderOverride() {
    static QString folder;
    return folder;
}

QString ErrorText(const AppError& error) {
    return QStringLiteral("Error %1\n%2\n\n%3")
        .arg(error.Number())
        .arg(error.Source(), error.Description());
}
} // namespace

QString AppServices::GetMessage(int number) const {
    return MessageCatalogue::Text(number);
}

void AppServices::ReportError(const AppError& error, const QString&, int, int,
                              const QString&) const {
    const QString title = ProductInfo().GetProductName(2);
    if (PersonStandIn* standIn = PersonStandIn::Current()) {
        standIn->Acknowledge(PersonStandIn::Notice::Error, ErrorText(error), title);
        return;
    }
    QMessageBox::critical(nullptr, title, ErrorText(error));
}

void AppServices::OpenDocument(const QString& address, int, int) const {
    if (PersonStandIn* standIn = PersonStandIn::Current()) {
        standIn->OpenAddress(address);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl(address)))
        throw AppError(ErrorNumber::FileNotFound, QStringLiteral("AppServices.OpenDocument"),
                       MessageCatalogue::Text(11602).arg(address));
}

QString AppServices::AddPathSeparator(const QString& folder) const {
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

bool AppServices::FileExists(const QString& path) const {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString AppServices::ProgramFolder() const {
    if (!ProgramFolderOverride().isEmpty())
        return ProgramFolderOverride();
    return QCoreApplication::applicationDirPath();
}

void AppServices::SetProgramFolder(const QString& folder) {
    ProgramFolderOverride() = folder;
}

qint32 AppServices::LoadSystemModule(const QString&) {
    static qint32 next = 0x1000;
    return next++;
}

void AppServices::FreeSystemModule(qint32) {}

bool AppServices::AskYesNo(const QString& text, const QString& title) const {
    if (PersonStandIn* standIn = PersonStandIn::Current())
        return standIn->AnswerYesNo(text, title);
    return QMessageBox::question(nullptr, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

void AppServices::ShowInformation(const QString& text, const QString& title) const {
    if (PersonStandIn* standIn = PersonStandIn::Current()) {
        standIn->Acknowledge(PersonStandIn::Notice::Information, text, title);
        return;
    }
    QMessageBox::information(nullptr, title, text);
}
