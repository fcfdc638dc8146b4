#pragma once

#include <QString>

// Where a word was hidden: its first letter's cell (1-based) and the step
// from one letter to the next, each of dColumn and dRow being -1, 0 or 1.
struct PlacedWord {
    QString word;
    int column = 0;
    int row = 0;
    int dColumn = 0;
    int dRow = 0;

    bool operator==(const PlacedWord&) const = default;
};
