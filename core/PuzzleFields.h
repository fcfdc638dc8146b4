#pragma once

#include <QString>

// One puzzle section as the game reads it: every value as its text, the
// section's name as written in the file.
struct PuzzleFields {
    QString section;
    QString columns;  // "CantAncho"
    QString rows;     // "CantAlto"
    QString title;    // "Titulo"
    QString letters;  // "Letras"
    QString words;    // "Palabras"
    QString solution; // "Solucion"
};
