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

    // Waits up to waitMs while another copy that runs holds it. Failed: the
    // lock file cannot be made, or one no copy holds cannot be cleared
    // (LeftBehind()).
    Outcome Take(int waitMs);
    bool LeftBehind() const { return leftBehind_; }
    // Busy because a copy that runs holds it, not one just starting to.
    bool HolderRuns() const { return holderRuns_; }
    QString FileName() const { return path_; }

private:
    enum class Abandoned { No, Cleared, Stuck };
    Abandoned ClearAbandoned();

    QString path_;
    QLockFile lock_;
    bool leftBehind_ = false;
    bool holderRuns_ = false;
};
