#include "outside/UnsavedValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <map>

namespace {

QFileInfoList Files(const QString& settingsFile) {
    const QFileInfo settings(settingsFile);
    return QDir(settings.path())
        .entryInfoList({settings.completeBaseName() + QStringLiteral("-unsaved-*.conf")},
                       QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
}

// This copy's file for each settings file, named once; another copy's
// file, even of a process with the same number, is never written over.
std::map<QString, QString>& OwnFiles() {
    static std::map<QString, QString> files;
    return files;
}

QString NewOwnFile(const QString& settingsFile) {
    const QFileInfo settings(settingsFile);
    for (;;) {
        const QString name =
            settings.path() + u'/' + settings.completeBaseName() +
            QStringLiteral("-unsaved-%1-%2.conf")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->bounded(0x10000), 4, 16, QLatin1Char('0'));
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return name;
        if (!file.exists())
            return QString();
    }
}

} // namespace

bool UnsavedValues::Keep(const QString& settingsFile, const StoreFileFormat::Values& values) {
    if (values.empty()) {
        Forget(settingsFile);
        return true;
    }
    QString& own = OwnFiles()[settingsFile];
    if (own.isEmpty() || !QFileInfo::exists(own))
        own = NewOwnFile(settingsFile);
    const QByteArray text = StoreFileFormat::Text(values);
    QSaveFile file(own);
    return !own.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(text) == text.size() &&
           file.commit();
}

void UnsavedValues::Forget(const QString& settingsFile) {
    const auto own = OwnFiles().find(settingsFile);
    if (own == OwnFiles().end())
        return;
    QFile::remove(own->second);
    OwnFiles().erase(own);
}

std::vector<UnsavedValues::Waiting> UnsavedValues::Find(const QString& settingsFile) {
    std::vector<Waiting> waiting;
    for (const QFileInfo& info : Files(settingsFile)) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const StoreFileFormat::Contents contents = StoreFileFormat::Parse(file.readAll());
        if (file.error() == QFileDevice::NoError && !contents.damaged)
            waiting.push_back({info.filePath(), contents.values});
    }
    return waiting;
}

bool UnsavedValues::AnyWaiting(const QString& settingsFile) {
    return !Files(settingsFile).isEmpty();
}

void UnsavedValues::Remove(const std::vector<Waiting>& written) {
    for (const Waiting& file : written)
        QFile::remove(file.path);
}
