#include "MadePuzzle.h"

#include "core/DataFileKeys.h"

namespace {

// The profile reader drops one matching pair of outer quotes, so a title
// that is itself quoted gets a second pair to lose.
QString ProtectedValue(const QString& value) {
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == u'"' || value.front() == u'\'');
    return quoted ? u'"' + value + u'"' : value;
}

} // namespace

QString MadePuzzle::IniSection(int number) const {
    QString section;
    section += QStringLiteral("[%1]\n").arg(number);
    const auto line = [&](const QString& key, const QString& value) {
        section += key + u'=' + value + u'\n';
    };
    line(DataFileKeys::Title, ProtectedValue(title));
    line(DataFileKeys::Columns, QString::number(columns));
    line(DataFileKeys::Rows, QString::number(rows));
    line(DataFileKeys::Letters, letters);
    line(DataFileKeys::Words, words.join(u' '));
    line(DataFileKeys::Solution, solution);
    section += u'\n';
    return section;
}
