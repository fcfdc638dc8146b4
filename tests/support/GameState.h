#pragma once

#include <QList>
#include <QPoint>

class ctlCuadricula;
class ctlLista;

// What the player sees of their progress, read from the widgets.
// Cells marked on the board, as (column, row), row by row.
QList<QPoint> MarkedCells(const ctlCuadricula& board);
// Rows of the word list that are crossed out, in order.
QList<int> CrossedOutRows(const ctlLista& list);
