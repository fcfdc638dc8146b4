#pragma once

#include <QtGlobal>

// Twips, the unit the windows are designed in: 1440 to the inch. A screen
// has a whole number of twips per pixel (15 at 96 dots per inch).
class Twips {
public:
    static constexpr int PerInch = 1440;

    // Twips per pixel on a screen of the given dots per inch, to the nearest
    // whole number; 15 where the screen tells none.
    static int PerPixel(qreal dotsPerInch);
    // Pixels for a length in twips, to the nearest whole pixel, an exact
    // half away from zero: a window and the controls in it round alike, so
    // the margins stay as designed.
    static int ToPixels(int twips, int perPixel);
};
