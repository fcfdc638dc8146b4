#include "outside/FileStamp.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_UNIX
qint64 Nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp FromStatus(const struct stat& status) {
    return {qint64(status.st_ino), qint64(status.st_size), Nanoseconds(status.st_mtim),
            Nanoseconds(status.st_ctim)};
}
#endif

#ifdef Q_OS_WIN
// The file's number on its volume (Windows' counterpart of an inode
// number); 0 when it cannot be asked.
qint64 FileNumber(const QString& path) {
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? (qint64(information.nFileIndexHigh) << 32) | information.nFileIndexLow : 0;
}
#endif

} // namespace

std::optional<FileStamp> FileStamp::Of(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FromStatus(status);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileStamp(FileNumber(info.filePath()), info.size(),
                     info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch(),
                     info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch());
#endif
}

std::optional<FileStamp> FileStamp::Of(const QFile& open) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (!open.isOpen() || ::fstat(open.handle(), &status) != 0 || status.st_nlink == 0)
        return std::nullopt;
    return FromStatus(status);
#else
    return QFileInfo(open.fileName()).isFile() ? Of(open.fileName()) : std::nullopt;
#endif
}
