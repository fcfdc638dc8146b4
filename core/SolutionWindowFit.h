#pragma once

#include <QRect>
#include <QSize>

// The solution viewer fitted to its board within the work area, with the
// close button centred under the board. The room for the grid's own scroll
// bar is made on the side that does not fit. Sizes in pixels, places of
// controls in twips; 32-bit arithmetic, an overflow raises error 6
// ("frmSolucion.FitSolutionWindow").
class SolutionWindowFit {
public:
    struct Measures {
        QSize frame;            // outer size less client size
        QSize workArea;         // the screen's free area
        QSize grid;             // the board's grid
        int buttonHeight = 0;   // the close button's
        int twipsPerPixelX = 0; // whole numbers
        int twipsPerPixelY = 0;
        int verticalBar = 0;   // width of a vertical scroll bar
        int horizontalBar = 0; // height of a horizontal one
        int titleWidth = 0;    // the least outer width that shows the title
    };

    struct Places {
        QSize window; // outer size
        QRect board;  // in twips
    };

    static QSize Frame(QSize outer, QSize client);
    static Places Fit(const Measures& measures);
    // The button, in twips: centred on the window's outer width as placed,
    // 60 twips under the board as placed; its size unchanged.
    static QRect CloseButton(int outerWidth, int boardHeight, QSize button, int twipsPerPixelX,
                             int twipsPerPixelY);

    // The strip under the board, in pixels: the button and 120 twips.
    static int ButtonStrip(int buttonHeight, int twipsPerPixelY);
};
