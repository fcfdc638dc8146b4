#pragma once

#include <QString>

// The words a grid gives assistive technology (a screen reader) for itself
// and its cells. The owner fills them from the message catalogue; the grid
// only says them when asked.
struct GridSpeech {
    // Which property of a cell the player's state lives in.
    enum class CellState {
        None,          // cells have no state to tell
        OwnColour,     // on: the cell has a back colour of its own (a mark)
        Strikethrough, // on: the cell's own font is struck through
    };

    QString name;
    // %1: cells in the "on" state, %2: columns, %3: rows (header left out).
    QString description;
    CellState cellState = CellState::None;
    QString stateOn;
    QString stateOff;
    // %1: the state word, %2: row, %3: column; empty: the state word alone.
    QString cellDescription;
    // A board explored letter by letter: offered to screen readers as a
    // group of cells rather than a table, so that a move up or down reads
    // the letter reached, not its whole row.
    bool byCell = false;
    // A change of a cell's state is told with the grid's own description
    // (the count of cells on) after the cell's.
    bool countOnChange = false;

    QString Description(int on, int columns, int rows) const;
    // A caption as a screen reader should say it: without its access-key
    // marker, a trailing colon or ellipsis, which would be read aloud.
    static QString Spoken(QString caption);
    QString CellDescription(bool on, int column, int row) const;
};
