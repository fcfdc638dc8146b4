#pragma once

#include <QtGlobal>

class ctlGrid;

// The set-up every grid of the program gets before its cells are filled;
// only the header row and the lines differ from grid to grid.
struct GridSetup {
    bool headerColumns = false;
    bool gridLines = true;

    // Painting off, every cell gone, the set-up in the grid's own order, and
    // columns × rows empty cells. Painting stays off until the caller has
    // filled the cells and turns it on again.
    void Apply(ctlGrid& grid, qint32 columns, qint32 rows) const;
};
