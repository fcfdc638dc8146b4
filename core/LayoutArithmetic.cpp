#include "core/LayoutArithmetic.h"

#include "outside/Conversions.h"

// A sum of 32-bit terms is exact as a double, so the conversions' own range
// check (and its overflow error) serves.
qint32 LayoutArithmetic::Checked(qint64 value) const {
    return Conversions::ToInteger32(static_cast<double>(value), QString::fromLatin1(source_));
}

qint32 LayoutArithmetic::Sum(std::initializer_list<qint64> terms) const {
    qint64 total = 0;
    for (qint64 term : terms)
        total += term;
    return Checked(total);
}

qint32 LayoutArithmetic::Rounded(double value) const {
    return Conversions::ToInteger32(value, QString::fromLatin1(source_));
}

QSize LayoutArithmetic::Frame(QSize outer, QSize client) const {
    return QSize(Sum({outer.width(), -qint64{client.width()}}),
                 Sum({outer.height(), -qint64{client.height()}}));
}
