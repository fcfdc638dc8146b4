#include "outside/AppServices.h"

#include "outside/MessageCatalogue.h"
#include "outside/Person.h"
#include "outside/ProductInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    Person()->Acknowledge(PersonStandIn::Notice::Error, ErrorText(error),
                          ProductInfo().GetProductName(2));
}

void AppServices::ReportNotice(const AppError& notice) const {
    Person()->Acknowledge(PersonStandIn::Notice::Information, notice.Description(),
                          ProductInfo().GetProductName(2));
}

void AppServices::OpenDocument(const QString& address, int, int) const {
    Person()->OpenAddress(address);
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
    return Person()->AnswerYesNo(text, title);
}

void AppServices::ShowInformation(const QString& text, const QString& title) const {
    Person()->Acknowledge(PersonStandIn::Notice::Information, text, title);
}
