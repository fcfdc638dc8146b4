#pragma once

#include <QString>
#include <set>
#include <vector>

// Where words can be read in a letter grid: along straight lines in the
// eight directions, as a player looks for them.
class GridWords {
public:
    using Cells = std::set<int>; // 1-based cell indices

    // letters holds one character per cell, row after row; cells past its
    // end are empty, as the board shows them.
    GridWords(const QString& letters, int columns, int rows);

    // Every distinct set of cells that spells word; a word read both ways
    // over the same cells (a palindrome) counts once.
    std::vector<Cells> Occurrences(const QString& word) const;

private:
    QChar LetterAt(int column, int row) const;

    QString letters_;
    int columns_;
    int rows_;
};
