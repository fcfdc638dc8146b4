#include "FuzzFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <signal.h>

namespace {

QString TemporaryRoot() {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        return memory.filePath();
    return QDir::tempPath();
}

QString FolderPrefix() {
    return QStringLiteral("zelvora-fuzz-");
}

void RemoveFoldersOfEndedFuzzers() {
    const QDir root(TemporaryRoot());
    for (const QString& name : root.entryList({FolderPrefix() + u'*'}, QDir::Dirs)) {
        bool ok = false;
        const qint64 process = name.mid(FolderPrefix().size()).section(u'-', 0, 0).toLongLong(&ok);
        if (ok && process > 0 && ::kill(pid_t(process), 0) != 0 && errno == ESRCH)
            QDir(root.filePath(name)).removeRecursively();
    }
}

QTemporaryDir* folder = nullptr;

} // namespace

QString FuzzFolder::Path() {
    if (!folder) {
        RemoveFoldersOfEndedFuzzers();
        folder = new QTemporaryDir(TemporaryRoot() + u'/' + FolderPrefix() +
                                   QString::number(QCoreApplication::applicationPid()) +
                                   QStringLiteral("-XXXXXX"));
        // libFuzzer ends with exit(): take the folder away then.
        std::atexit([] { delete folder; });
        if (!folder->isValid())
            qFatal("no temporary folder");
    }
    return folder->path();
}

QString FuzzFolder::DecodeText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}
