#include "core/Twips.h"

#include <cmath>

namespace {
constexpr int ClassicPerPixel = 15;
}

// At least one twip per pixel (a screen past 2880 dots per inch), at most
// an inch (one under 1 dot per inch), so every length converts.
int Twips::PerPixel(qreal dotsPerInch) {
    if (!(dotsPerInch > 0))
        return ClassicPerPixel;
    const double perPixel = std::round(PerInch / dotsPerInch);
    return static_cast<int>(qBound(1.0, perPixel, static_cast<double>(PerInch)));
}

int Twips::ToPixels(int twips, int perPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / perPixel));
}
