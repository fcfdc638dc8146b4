#include "outside/FontObject.h"

#include <cmath>

FontObject::FontObject() = default;

void FontObject::SetSize(double points) {
    sizeUnits_ = std::llround(points * 10000.0);
}

QFont FontObject::ToQFont() const {
    QFont font(name_);
    if (sizeUnits_ > 0)
        font.setPointSizeF(Size());
    font.setWeight(static_cast<QFont::Weight>(qBound(1, weight_, 1000)));
    font.setItalic(italic_);
    font.setUnderline(underline_);
    font.setStrikeOut(strikethrough_);
    return font;
}

FontObject FontObject::FromQFont(const QFont& font) {
    FontObject result;
    result.name_ = font.family();
    result.SetSize(font.pointSizeF() > 0 ? font.pointSizeF() : 9.0);
    result.weight_ = font.weight();
    result.italic_ = font.italic();
    result.underline_ = font.underline();
    result.strikethrough_ = font.strikeOut();
    return result;
}
