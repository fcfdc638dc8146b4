#pragma once

#include "outside/AppError.h"

#include <QList>
#include <QString>
#include <optional>

// Whole numbers written one after another, each with a fixed number of
// decimal digits and leading zeros, without separators; the empty text is
// the empty list. The board keeps its marked cells ("Save") and a puzzle
// its solution ("Solucion") as cell lists; the word list keeps its
// crossed-out rows ("Palabras") as a row list.
class DigitList {
public:
    static const DigitList Cells; // three digits: 001002014
    static const DigitList Rows;  // two digits: 0205

    // A list read from the left in steps of the width, against the numbers
    // 1 to `last` that it may name.
    struct Reading {
        QList<qint32> named;            // entries naming 1 to last, in list order
        bool pastTheEnd = false;        // an entry named a number past last
        bool shortEntry = false;        // the length is no multiple of the width
        std::optional<AppError> unread; // the first entry that is no number
    };
    Reading Read(const QString& text, qint32 last) const;

    // The numbers, in the order given.
    QString Write(const QList<qint32>& numbers) const;

    // An entry as the program writes it: all digits, naming 1 to last.
    bool IsWritten(const QString& entry, qint32 last) const;

    int Width() const { return width_; }

private:
    DigitList(int width, bool readsShortEntry);

    int width_;
    // A cell list reads a shorter last entry like the others; a row list of
    // odd length is not read at all.
    bool readsShortEntry_;
};
