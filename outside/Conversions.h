#pragma once

#include <QString>
#include <QtGlobal>

// The classic run-time conversions that the stored values and data files
// were written for. Failures raise AppError: 13 (type mismatch) for text
// that is no number, 6 (overflow) for a number outside the target range.
namespace Conversions {

// Rounds to the nearest whole number, an exact half to the even neighbour.
double RoundHalfEven(double value);

// Whole-number conversion of a text: blanks around it, a sign and a decimal
// fraction allowed, nothing else. Rounds half to even.
qint16 ToInteger16(const QString& text, const QString& source);
qint32 ToInteger32(const QString& text, const QString& source);

// The decimal number at the start of a text (leading blanks and a sign
// allowed, a period as decimal separator); 0 when the text starts with no
// number. Never fails.
double NumericValue(const QString& text);

// A whole number rounded half to even into 32 bits; overflow otherwise.
qint32 ToInteger32(double value, const QString& source);

// Format(n, "000"): at least `digits` digits with leading zeros; a number
// with more digits is written whole.
QString FormatDigits(qint64 number, int digits);

} // namespace Conversions
