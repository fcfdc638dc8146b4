#pragma once

#include <QLockFile>
#include <QString>

// The lock a copy of the program holds on a settings file while it writes
// it: Qt's lock file beside it. A lock whose holder no longer runs is
// cleared, also one another user left that Qt cannot clear; a lock whose
// holder still runs, even stopped, is never taken over.
class StoreLock {
public:
    enum class Outcome { Taken, Busy, Failed };

    explicit StoreLock(const QString& settingsFile);

    // Waits up to waitMs while another copy holds it. Failed: the lock file
    // cannot be made at all (see Error()).
    Outcome Take(int waitMs);
    QLockFile::LockError Error() const { return lock_.error(); }

private:
    bool ClearAbandoned() const;

    QString path_;
    QLockFile lock_;
};
