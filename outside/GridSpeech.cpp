#include "outside/GridSpeech.h"

namespace {
// Fills %1..%3 in one pass, so a text that holds a percent sign itself is
// left alone and a template may use any of the three or none.
QString Fill(const QString& pattern, const QString (&values)[3]) {
    QString filled;
    filled.reserve(pattern.size() + 16);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size()) {
            const char16_t digit = pattern.at(i + 1).unicode();
            if (digit >= u'1' && digit <= u'3') {
                filled += values[digit - u'1'];
                ++i;
                continue;
            }
        }
        filled += c;
    }
    return filled;
}
} // namespace

QString GridSpeech::Description(int on, int columns, int rows) const {
    return Fill(description,
                {QString::number(on), QString::number(columns), QString::number(rows)});
}

QString GridSpeech::CellDescription(bool on, int column, int row) const {
    const QString state = cellState == CellState::None ? QString() : (on ? stateOn : stateOff);
    if (cellDescription.isEmpty())
        return state;
    return Fill(cellDescription, {state, QString::number(row), QString::number(column)});
}

QString GridSpeech::Spoken(QString caption) {
    caption.remove(QLatin1Char('&'));
    for (const QLatin1StringView end : {QLatin1StringView("..."), QLatin1StringView(":")})
        if (caption.endsWith(end))
            caption.chop(end.size());
    return caption.trimmed();
}
