#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>
#include <initializer_list>

// The windows' layouts count in 32-bit integers: a result out of that range
// is an overflow (error 6), raised under the name of the layout that made it.
class LayoutArithmetic {
public:
    constexpr explicit LayoutArithmetic(const char* source) : source_(source) {}

    qint32 Checked(qint64 value) const;
    qint32 Sum(std::initializer_list<qint64> terms) const;
    // A whole number of a fraction, an exact half to the even neighbour.
    qint32 Rounded(double value) const;
    // What a window's frame takes: its outer size less its client size.
    QSize Frame(QSize outer, QSize client) const;

private:
    const char* source_;
};
