#pragma once

#include <QString>

// The names of a puzzle's values in its data-file section.
struct DataFileKeys {
    static const QString Title;    // the chooser's entry
    static const QString Columns;  // cells across
    static const QString Rows;     // cells down
    static const QString Letters;  // row by row, one letter per cell
    static const QString Words;    // separated by single blanks
    static const QString Solution; // a cell list
};
