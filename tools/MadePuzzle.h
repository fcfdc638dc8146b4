#pragma once

#include "PlacedWord.h"

#include <QList>
#include <QString>
#include <QStringList>

// A finished puzzle in the data file's terms, with the placements kept
// for whoever wants to check them.
struct MadePuzzle {
    QString title;
    int columns = 0;
    int rows = 0;
    QString letters;   // one letter per cell, row after row
    QStringList words; // in the order they were given
    QString solution;  // cell list: three digits per cell, ascending
    QList<PlacedWord> placements;

    // The puzzle as a section of the data file, ending in a blank line.
    QString IniSection(int number) const;
};
