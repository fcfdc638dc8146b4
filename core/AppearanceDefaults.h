#pragma once

#include <QString>

// The board's appearance before the player chooses one: each colour is a
// system colour (by its Windows index), the font the one the settings
// dialog's defaults restore.
namespace AppearanceDefaults {
constexpr int BackgroundColour = 5;  // "ColorFondo": window background
constexpr int MarkedColour = 15;     // "ColorSel": button face
constexpr int ActiveCellColour = 13; // "ColorCelAct": highlight
constexpr int LineColour = 10;       // "ColorLineas": active border
constexpr int TextColour = 8;        // "FontColor": window text
constexpr double FontSize = 18;
inline QString FontName() {
    return QStringLiteral("MS Sans Serif");
}
} // namespace AppearanceDefaults
