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

// A request larger than the machine can give fails as it does outside the
// sanitizer (a null pointer, which Qt's stream reading copes with) instead of
// stopping the fuzzer: a hand-edited "@Variant(...)" setting can ask Qt for
// tens of gigabytes. The quarantine of freed blocks is kept smaller than
// ASan's 256 MB, or the churn of Qt's heap grows the fuzzer past a gigabyte
// within minutes.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:quarantine_size_mb=64";
}

// Fontconfig keeps a few blocks for the life of the process; they are not
// ours and are not lost per input.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
