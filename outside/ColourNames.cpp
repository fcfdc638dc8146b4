#include "outside/ColourNames.h"

#include "outside/MessageCatalogue.h"

#include <iterator>
#include <limits>

namespace {
struct Named {
    int message; // the name in the catalogue
    int red, green, blue;
};

constexpr Named kNamed[] = {
    {11230, 0, 0, 0},      {11231, 255, 255, 255}, {11232, 128, 128, 128}, {11233, 192, 192, 192},
    {11234, 64, 64, 64},   {11235, 255, 0, 0},     {11236, 128, 0, 0},     {11237, 255, 165, 0},
    {11238, 255, 255, 0},  {11239, 245, 240, 200}, {11240, 0, 160, 0},     {11241, 144, 238, 144},
    {11242, 0, 90, 0},     {11243, 30, 100, 220},  {11244, 135, 206, 250}, {11245, 0, 0, 128},
    {11246, 64, 224, 208}, {11247, 128, 0, 128},   {11248, 255, 182, 193}, {11249, 139, 69, 19},
};

// Distance as the eye weighs it: the "red mean" approximation, which
// counts green most and shifts red and blue with how red both colours are.
long Distance(const QColor& colour, const Named& named) {
    const long mean = (colour.red() + named.red) / 2;
    const long r = colour.red() - named.red;
    const long g = colour.green() - named.green;
    const long b = colour.blue() - named.blue;
    return ((512 + mean) * r * r >> 8) + 4 * g * g + ((767 - mean) * b * b >> 8);
}
} // namespace

QString ColourNames::Nearest(const QColor& colour) {
    const Named* best = std::begin(kNamed);
    long bestDistance = std::numeric_limits<long>::max();
    for (const Named& named : kNamed) {
        const long distance = Distance(colour, named);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &named;
        }
    }
    return MessageCatalogue::Text(best->message);
}
