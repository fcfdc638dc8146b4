#include "support/GameState.h"

#include "board/ctlCuadricula.h"
#include "outside/ctlGrid.h"
#include "wordlist/ctlLista.h"

QList<QPoint> MarkedCells(const ctlCuadricula& board) {
    QList<QPoint> marked;
    for (int row = 1; row <= board.Rows(); ++row)
        for (int column = 1; column <= board.Columns(); ++column)
            if (board.Grid()->CellBackColor(column, row) != -1)
                marked << QPoint(column, row);
    return marked;
}

QList<int> CrossedOutRows(const ctlLista& list) {
    QList<int> rows;
    for (int row = 1; row <= list.Grid()->GetRowCount(); ++row) {
        const FontRef font = list.Grid()->CellFont(1, row);
        if (font && font->Strikethrough())
            rows << row;
    }
    return rows;
}
