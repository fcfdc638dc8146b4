#pragma once

#include "outside/StoreFileFormat.h"

#include <QString>
#include <vector>

// Values a copy could not write to its settings file because another copy
// held it locked, kept beside it in a file of that copy's own,
// "<name>-unsaved-<process>-<n>.conf", until some copy's next write of the
// settings file takes them in: this copy later on, another copy, or the
// next start.
class UnsavedValues {
public:
    struct Waiting {
        QString path;
        StoreFileFormat::Values values;
    };

    // Keeps this copy's values for the settings file, in place of those it
    // kept before; false when they could not be kept on disk.
    static bool Keep(const QString& settingsFile, const StoreFileFormat::Values& values);
    // This copy has written what it kept.
    static void Forget(const QString& settingsFile);

    // Every copy's kept values for the settings file, oldest first; a file
    // that cannot be read is left where it is, for the player.
    static std::vector<Waiting> Find(const QString& settingsFile);
    static bool AnyWaiting(const QString& settingsFile);
    // Once written into the settings file.
    static void Remove(const std::vector<Waiting>& written);
};
