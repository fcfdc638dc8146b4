#pragma once

#include <QString>

// One puzzle as the board holds it, read from the data file and found
// sound: a size whose cells a cell list can name, letters one per cell,
// at most as many words as the word list can save.
struct Puzzle {
    qint32 columns = 0, rows = 0;
    QString title, letters, words, solution;
};
