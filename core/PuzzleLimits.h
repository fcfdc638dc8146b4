#pragma once

// The limits every reader and writer of puzzles keeps.
namespace PuzzleLimits {
constexpr int MaxCells = 999;        // a cell list names cells with three digits
constexpr int MaxWords = 99;         // crossed-out words are saved with two digits
constexpr double MaxFontSize = 72.0; // the largest size a font picker lists
} // namespace PuzzleLimits
