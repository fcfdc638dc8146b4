#pragma once

#include "core/Puzzle.h"
#include "core/PuzzleFields.h"

#include <QString>
#include <optional>

// The rules a puzzle of the data file must keep for the board to show it.
// The board stops at the first rule a puzzle breaks; the checker lists
// every one, each with its own message, from the same predicates.
namespace PuzzleRules {

// "CantAncho" or "CantAlto" as the board converts it; raises AppError
// (13 no number, 6 out of range) with the given source.
qint32 Dimension(const QString& text, const QString& source);

// At least one cell, and no cell a cell list cannot name.
bool SizeFits(qint32 columns, qint32 rows);

// Letters and words are compared and shown composed (NFC).
QString Composed(const QString& text);

// A letter that would take more than one cell: an emoji, or a base whose
// accent has no composed form. Found at position `at` (0-based) of the
// composed letters, it starts at `start` and reads `text`.
struct WideLetter {
    qsizetype start = 0;
    QString text;
};
std::optional<WideLetter> WideLetterAt(const QString& letters, qsizetype at);

// The words as the word list splits them: one row per piece between single
// blanks, none for an empty text.
qsizetype WordCount(const QString& words);
bool WordsFit(const QString& words);

// The puzzle of a section's values, all or nothing: raises the first rule
// it breaks as AppError with the given source, naming the section and file.
Puzzle Checked(const PuzzleFields& fields, const QString& file, const QString& source);

} // namespace PuzzleRules
