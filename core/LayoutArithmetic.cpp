#include "core/LayoutArithmetic.h"

#include "outside/AppError.h"
#include "outside/Conversions.h"
#include "outside/MessageCatalogue.h"

#include <limits>

qint32 LayoutArithmetic::Checked(qint64 value) const {
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        throw AppError(ErrorNumber::Overflow, QString::fromLatin1(source_),
                       MessageCatalogue::Text(11601));
    return static_cast<qint32>(value);
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
