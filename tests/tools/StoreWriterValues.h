#pragma once

#include <QString>

// The values the store writer saves, shared with the tests that check them.
namespace StoreWriterValues {

// Puzzle `puzzle`'s progress in phase 0, 1 or 2: cell lists of different
// lengths and digits, so a half-written value matches none of them.
inline QString Progress(int puzzle, int phase) {
    const int cells = 40 + 40 * phase + puzzle % 7;
    QString value;
    for (int cell = 1; cell <= cells; ++cell)
        value += QStringLiteral("%1").arg((cell * (phase + 2) + puzzle) % 999 + 1, 3, 10,
                                          QLatin1Char('0'));
    return value;
}

// Round `round`'s value in the two-copies race: always the same length, so
// the settings file keeps its size from one write to the next.
inline QString RaceValue(int round) {
    return QStringLiteral("%1").arg(round % 999 + 1, 3, 10, QLatin1Char('0')).repeated(20);
}

} // namespace StoreWriterValues
