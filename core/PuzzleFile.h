#pragma once

#include "core/Puzzle.h"
#include "core/PuzzleFields.h"

#include <QString>
#include <QStringList>

class IniFileReader;

// The puzzles of one data file, read through the given reader: one section
// per puzzle, named by its number.
class PuzzleFile {
public:
    PuzzleFile(const IniFileReader& reader, QString path);

    // The section's values as their texts.
    PuzzleFields Fields(const QString& section) const;

    // Puzzle `number`, all or nothing: raises the first rule it breaks as
    // AppError with the given source.
    Puzzle Read(qint32 number, const QString& source) const;

    // The titles of the puzzles the file offers: 1, 2, … up to the first
    // without a title, which ends the list.
    QStringList Titles() const;
    QString Title(qint32 number) const;

private:
    const IniFileReader& reader_;
    QString path_;
};
