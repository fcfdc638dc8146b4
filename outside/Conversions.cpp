#include "outside/Conversions.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <cmath>
#include <limits>

namespace {
// Length of the decimal number (sign, digits, optional fraction) starting at
// position `from`; 0 when there is none.
int NumberLength(const QString& text, int from) {
    int at = from;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-')))
        ++at;
    int digits = 0;
    while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
        ++at;
        ++digits;
    }
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        ++at;
        while (at < text.size() && text[at].isDigit() && text[at].unicode() < 128) {
            ++at;
            ++digits;
        }
    }
    return digits > 0 ? at - from : 0;
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int SkipBlanks(const QString& text, int from) {
    while (from < text.size() && IsBlank(text[from]))
        ++from;
    return from;
}

AppError TypeMismatch(const QString& source, const QString& text) {
    return AppError(ErrorNumber::TypeMismatch, source,
                    MessageCatalogue::Text(11600).arg(text.left(40)));
}

AppError Overflow(const QString& source) {
    return AppError(ErrorNumber::Overflow, source, MessageCatalogue::Text(11601));
}

double WholeNumber(const QString& text, const QString& source) {
    const int start = SkipBlanks(text, 0);
    const int length = NumberLength(text, start);
    if (length == 0 || SkipBlanks(text, start + length) != text.size())
        throw TypeMismatch(source, text);
    return Conversions::RoundHalfEven(text.mid(start, length).toDouble());
}

template <class Int> Int InRange(double value, const QString& source) {
    if (!(value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max()))
        throw Overflow(source);
    return static_cast<Int>(value);
}
} // namespace

double Conversions::RoundHalfEven(double value) {
    return std::nearbyint(value); // the default rounding mode is to nearest, ties to even
}

qint16 Conversions::ToInteger16(const QString& text, const QString& source) {
    return InRange<qint16>(WholeNumber(text, source), source);
}

qint32 Conversions::ToInteger32(const QString& text, const QString& source) {
    return InRange<qint32>(WholeNumber(text, source), source);
}

double Conversions::NumericValue(const QString& text) {
    const int start = SkipBlanks(text, 0);
    const int length = NumberLength(text, start);
    return length == 0 ? 0.0 : text.mid(start, length).toDouble();
}

qint32 Conversions::ToInteger32(double value, const QString& source) {
    return InRange<qint32>(RoundHalfEven(value), source);
}

QString Conversions::FormatDigits(qint64 number, int digits) {
    if (number < 0)
        return QLatin1Char('-') + QString::number(-number).rightJustified(digits, QLatin1Char('0'));
    return QString::number(number).rightJustified(digits, QLatin1Char('0'));
}
