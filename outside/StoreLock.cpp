#include "outside/StoreLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace {

// A lock left by a copy that was killed before it could sign it is taken
// as abandoned once it is this old; a younger one may belong to a copy
// between making it and locking it.
constexpr int kAbandonedLockMs = 1000;

#ifdef Q_OS_LINUX
// Whether the kernel lists a lock on the file (device, inode): how a lock
// file that cannot be opened tells whether its holder still runs. Unknown
// counts as held.
bool ListedAsLocked(const struct stat& file) {
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return true;
    for (const QByteArray& line : locks.readAll().split('\n')) {
        // "1: FLOCK  ADVISORY  WRITE 1234 fe:00:10952709 0 EOF"
        for (const QByteArray& field : line.simplified().split(' ')) {
            const QList<QByteArray> parts = field.split(':');
            if (parts.size() != 3)
                continue;
            bool ok = false;
            const unsigned major = parts[0].toUInt(&ok, 16);
            const unsigned minor = ok ? parts[1].toUInt(&ok, 16) : 0;
            const qulonglong inode = ok ? parts[2].toULongLong(&ok) : 0;
            if (ok && major == ::major(file.st_dev) && minor == ::minor(file.st_dev) &&
                inode == qulonglong(file.st_ino))
                return true;
        }
    }
    return false;
}
#endif

#ifdef Q_OS_UNIX
// Every holder keeps a native lock on its lock file while it runs, a
// stopped one too; the kernel drops it when the holder ends.
bool HeldByRunningCopy(const QByteArray& path, const struct stat& file) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
#ifdef Q_OS_LINUX
        return ListedAsLocked(file);
#else
        Q_UNUSED(file);
        return true;
#endif
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd); // also lets go of the probe's own lock
    return held;
}
#endif

} // namespace

StoreLock::StoreLock(const QString& settingsFile)
    : path_(settingsFile + QStringLiteral(".lock")), lock_(path_) {
    lock_.setStaleLockTime(kAbandonedLockMs);
}

// Qt clears an abandoned lock it can open; one it cannot (another user's)
// is cleared here before waiting, so it never holds up a save. A lock no
// running copy holds is being made this instant, or was left by a copy
// killed while making it: its age tells which, within a second.
StoreLock::Outcome StoreLock::Take(int waitMs) {
    const QDeadlineTimer young(kAbandonedLockMs + 100);
    do {
        if (lock_.tryLock(0))
            return Outcome::Taken;
        if (lock_.error() != QLockFile::LockFailedError)
            return Outcome::Failed;
        const Abandoned abandoned = ClearAbandoned();
        if (abandoned == Abandoned::Stuck) {
            leftBehind_ = true;
            return Outcome::Failed;
        }
        if (abandoned == Abandoned::No && holderRuns_)
            break;
        if (abandoned == Abandoned::No)
            QThread::msleep(10);
    } while (!young.hasExpired());
    if (waitMs > 0 && lock_.tryLock(waitMs))
        return Outcome::Taken;
    return lock_.error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Failed;
}

StoreLock::Abandoned StoreLock::ClearAbandoned() {
#ifdef Q_OS_UNIX
    const QByteArray path = QFile::encodeName(path_);
    struct stat before {};
    if (::lstat(path.constData(), &before) != 0)
        return errno == ENOENT ? Abandoned::Cleared : Abandoned::No;
    timespec clock{};
    ::clock_gettime(CLOCK_REALTIME, &clock);
    const qint64 ageMs = (qint64(clock.tv_sec) - before.st_mtim.tv_sec) * 1000 +
                         (clock.tv_nsec - before.st_mtim.tv_nsec) / 1000000;
    holderRuns_ = HeldByRunningCopy(path, before);
    // A clock set back makes it look young for ever: Qt takes either way.
    if (holderRuns_ || qAbs(ageMs) < kAbandonedLockMs)
        return Abandoned::No;
    // Copies clearing it at once must not clear a lock one of them took
    // meanwhile: only the file found abandoned goes, under Qt's own guard.
    QLockFile guard(path_ + QStringLiteral(".rmlock"));
    // It is held for the few calls of a removal: one left unsigned by a copy
    // killed while making it is abandoned once a second old, as the lock.
    guard.setStaleLockTime(kAbandonedLockMs);
    if (!guard.tryLock(0))
        return guard.error() == QLockFile::LockFailedError ? Abandoned::No : Abandoned::Stuck;
    struct stat now {};
    if (::lstat(path.constData(), &now) != 0)
        return errno == ENOENT ? Abandoned::Cleared : Abandoned::No;
    if (now.st_dev != before.st_dev || now.st_ino != before.st_ino)
        return Abandoned::No;
    return ::unlink(path.constData()) == 0 ? Abandoned::Cleared : Abandoned::Stuck;
#else
    holderRuns_ = true;
    return Abandoned::No;
#endif
}
