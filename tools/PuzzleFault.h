#pragma once

#include <QString>

// One thing a player would trip over in a data file: the puzzle (the
// section's name) and key it is in, and what is wrong, in the player's
// language. A fault outside any puzzle names only its line.
struct PuzzleFault {
    QString puzzle;
    QString key;
    QString what;
    int line = 0;

    // The one line the checker prints for it.
    QString Text() const;
};
