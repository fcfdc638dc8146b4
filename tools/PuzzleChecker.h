#pragma once

#include "PuzzleFault.h"

#include "core/PuzzleFields.h"
#include "core/PuzzleLimits.h"

#include <QString>
#include <vector>

// Finds what a player would trip over in a data file: puzzles the chooser
// never lists, sizes the board refuses, letters that do not fill the grid,
// words that cannot be found or are found twice, a solution that is not
// the words' cells, and text in a damaged encoding. The file is read
// through the game's own reader, so the checker sees what the game shows.
class PuzzleChecker {
public:
    static constexpr int MaxCells = PuzzleLimits::MaxCells;
    static constexpr int MaxWords = PuzzleLimits::MaxWords;

    // The faults of one puzzle's own values: every rule the board refuses a
    // puzzle for, and more. Letters and words are composed (NFC) first, as
    // the board composes them.
    static std::vector<PuzzleFault> CheckPuzzle(const PuzzleFields& puzzle);

    // Every fault of a data file, puzzle by puzzle in file order.
    static std::vector<PuzzleFault> CheckFile(const QString& path);

    // A section read as the board loads a puzzle.
    static PuzzleFields ReadPuzzle(const QString& path, const QString& section);

    // The puzzle number a section name stands for when the game can read it
    // (digits, no leading zero, from 1), else 0.
    static int PuzzleNumber(const QString& section);
};
