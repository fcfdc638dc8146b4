#include "outside/GridSetup.h"

#include "outside/ctlGrid.h"

void GridSetup::Apply(ctlGrid& grid, qint32 columns, qint32 rows) const {
    grid.SetRedraw(false);
    grid.Clear();
    grid.SetBorderStyle(2);
    grid.SetHeaderColumns(headerColumns);
    grid.SetGridLines(gridLines);
    grid.SetDrawFocusRectangle(false);
    grid.SetEnabled(true);
    grid.SetScrollBarStyle(2);
    grid.ArmarGrilla(columns, rows);
}
