#include "core/DigitList.h"

#include "outside/Conversions.h"

#include <algorithm>

const DigitList DigitList::Cells(3, true);
const DigitList DigitList::Rows(2, false);

DigitList::DigitList(int width, bool readsShortEntry)
    : width_(width), readsShortEntry_(readsShortEntry) {}

// An entry that is no number leaves the others to be read; 0 and negative
// entries name nothing.
DigitList::Reading DigitList::Read(const QString& text, qint32 last) const {
    Reading reading;
    reading.shortEntry = text.size() % width_ != 0;
    if (reading.shortEntry && !readsShortEntry_)
        return reading;
    for (qsizetype at = 0; at < text.size(); at += width_) {
        qint32 number = 0;
        try {
            number =
                Conversions::ToInteger16(text.mid(at, width_), QStringLiteral("DigitList.Read"));
        } catch (const AppError& error) {
            if (!reading.unread)
                reading.unread = error;
            continue;
        }
        if (number > last)
            reading.pastTheEnd = true;
        else if (number > 0)
            reading.named << number;
    }
    return reading;
}

QString DigitList::Write(const QList<qint32>& numbers) const {
    QString text;
    for (const qint32 number : numbers)
        text += Conversions::FormatDigits(number, width_);
    return text;
}

bool DigitList::IsWritten(const QString& entry, qint32 last) const {
    const bool digits =
        entry.size() == width_ &&
        std::all_of(entry.begin(), entry.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int number = entry.toInt();
    return digits && number >= 1 && number <= last;
}
