#include "PlainProfileReader.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

namespace {
// Space, tab, vertical tab, form feed, and the Ctrl-Z old editors end a file with.
const QString Blanks = QStringLiteral(" \t\v\f\x1A");

QString TrimBlanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && Blanks.contains(text[first]))
        ++first;
    while (last > first && Blanks.contains(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

QString Unquoted(const QString& value) {
    for (const QChar quote : {QChar(u'"'), QChar(u'\'')})
        if (value.size() >= 2 && value.startsWith(quote) && value.endsWith(quote))
            return value.mid(1, value.size() - 2);
    return value;
}

// A NUL before the first section line starts makes the file no text at all
// (every value reads empty); one inside that line damages it alone. After
// it, the zeros at the end are not part of the file, and any other NUL
// reads as a replacement character.
QString WithoutNul(QString text) {
    static const QRegularExpression section(
        QStringLiteral("^[ \\t\\v\\f\\x1A]*\\[[^\\]\\r\\n]*\\]"),
        QRegularExpression::MultilineOption);
    const qsizetype nul = text.indexOf(QChar(0));
    const qsizetype firstSection = text.indexOf(section);
    if (nul >= 0 && (firstSection < 0 || nul < firstSection))
        return QString();
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text.replace(QChar(0), QChar::ReplacementCharacter);
}
} // namespace

PlainProfileReader::PlainProfileReader(QByteArrayView bytes) {
    // Stateless, so that a sequence cut off at the end counts as an error;
    // a leading byte-order mark is dropped.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        text_ = WithoutNul(text);
}

std::optional<QString> PlainProfileReader::Value(const QString& section, const QString& key) const {
    if (!text_)
        return std::nullopt;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    bool inSection = false;
    for (const QString& raw : text_->split(lineEnd)) {
        const QString line = TrimBlanks(raw);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const qsizetype close = line.indexOf(u']');
        if (line.startsWith(u'[') && close > 0) {
            if (inSection)
                return QString(); // only the first section of a name is searched
            inSection =
                TrimBlanks(line.mid(1, close - 1)).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals >= 0 &&
            TrimBlanks(line.left(equals)).compare(key, Qt::CaseInsensitive) == 0)
            return Unquoted(TrimBlanks(line.mid(equals + 1)));
    }
    return QString();
}
