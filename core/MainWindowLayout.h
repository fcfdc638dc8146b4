#pragma once

#include <QRect>
#include <QSize>

// The main window around a puzzle: the board at the top-left corner, the
// word list to its right after a gap, both as high, and the window fitted
// to them within the work area. A control given less room than its grid
// needs shows scroll bars, for which room is made. All in pixels.
class MainWindowLayout {
public:
    static constexpr int Gap = 5;

    struct Measures {
        QSize outer;         // the window with its frame and menu bar
        QSize client;        // the window's client area
        QSize workArea;      // the screen's free area
        QSize board;         // the board's grid
        QSize list;          // the word list's grid
        int verticalBar = 0; // width of a vertical scroll bar
        int horizontalBar = 0;
    };

    struct Places {
        QSize window; // outer size
        QRect board;
        QRect list;
    };

    // 32-bit arithmetic: an overflow raises error 6 ("frmMain.ArrangeControls").
    static Places Arrange(const Measures& measures);
};
