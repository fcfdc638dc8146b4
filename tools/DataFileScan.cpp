#include "DataFileScan.h"

#include <QList>
#include <QStringDecoder>
#include <algorithm>

namespace {

bool IsUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

bool HasHighBytes(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

// The data-file reader's blanks, so that names compare as it reads them.
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\x1A';
}

QString Trimmed(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first).toString();
}

// The file's lines as text, each with whether the file's encoding could not
// hold it. A UTF-16 file is decoded whole; otherwise a line that is not
// UTF-8 is damaged when the file shows elsewhere that it is UTF-8 (a
// byte-order mark, or another line with UTF-8 letters).
std::vector<std::pair<QString, bool>> DecodedLines(QByteArray bytes) {
    std::vector<std::pair<QString, bool>> lines;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        for (const QString& line : QString(decoder(bytes.mid(2))).split(u'\n'))
            lines.emplace_back(line, false);
        return lines;
    }
    bool utf8File = bytes.startsWith("\xEF\xBB\xBF");
    if (utf8File)
        bytes.remove(0, 3);
    const QList<QByteArray> raw = bytes.split('\n');
    for (const QByteArray& line : raw)
        utf8File = utf8File || (HasHighBytes(line) && IsUtf8(line));
    for (const QByteArray& line : raw) {
        const bool utf8 = IsUtf8(line);
        lines.emplace_back(utf8 ? QString::fromUtf8(line) : QString::fromLatin1(line),
                           utf8File && !utf8);
    }
    return lines;
}

} // namespace

DataFileScan DataFileScan::Of(const QByteArray& bytes) {
    DataFileScan scan;
    int number = 0;
    for (const auto& [text, damaged] : DecodedLines(bytes)) {
        ++number;
        // The reader also ends a line at a lone carriage return.
        for (const QString& piece : text.split(u'\r'))
            scan.ScanLine(piece, number, damaged, piece.contains(QChar(0)));
    }
    return scan;
}

void DataFileScan::ScanLine(const QString& text, int line, bool damaged, bool nul) {
    const QString trimmed = Trimmed(text);
    QString key;
    if (trimmed.startsWith(u'[') && trimmed.contains(u']')) {
        const QString name = Trimmed(QStringView(trimmed).sliced(1, trimmed.indexOf(u']') - 1));
        const QString folded = name.toCaseFolded();
        const bool repeated = sectionNames_.contains(folded);
        sectionNames_.insert(folded);
        sections_.push_back({name, line, repeated});
        currentSection_ = name;
        inSection_ = true;
        inRepeatedSection_ = repeated;
    } else if (inSection_ && !trimmed.startsWith(u';') && trimmed.contains(u'=')) {
        key = Trimmed(QStringView(trimmed).first(trimmed.indexOf(u'=')));
        // Keys of a repeated section are never read; the section itself is the fault.
        const QString folded = (currentSection_ + u'\n' + key).toCaseFolded();
        if (!inRepeatedSection_)
            keys_.push_back({currentSection_, key, line, keyNames_.contains(folded)});
        keyNames_.insert(folded);
    }
    if ((damaged || nul) && (badLines_.empty() || badLines_.back().line != line))
        badLines_.push_back({inSection_ ? currentSection_ : QString(), key, line, nul});
}
