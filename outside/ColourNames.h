#pragma once

#include <QColor>
#include <QString>

// The name a person would give a colour, in the player's language: the
// nearest of a small named set, for a screen reader to say.
class ColourNames {
public:
    static QString Nearest(const QColor& colour);
};
