#include "outside/IniLine.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Windows-1252 through Qt's converters; where they lack it (Qt without
// ICU, as on Windows), Latin-1 with Windows-1252's own letters for 0x80 to
// 0x9F (the five it leaves out read as Latin-1 does, as Windows reads them).
QString FromWindows1252(QByteArrayView bytes) {
    thread_local QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    if (decoder.isValid())
        return decoder.decode(bytes);
    static constexpr char16_t k80To9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text)
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(k80To9F[c.unicode() - 0x80]);
    return text;
}

} // namespace

IniLine IniLine::Of(QStringView raw) {
    IniLine line;
    line.text = Trimmed(raw);
    if (line.text.isEmpty())
        return line;
    if (line.text.front() == u';') {
        line.kind = Kind::Comment;
        return line;
    }
    const qsizetype close = line.text.front() == u'[' ? line.text.indexOf(u']') : -1;
    if (close >= 0) {
        line.kind = Kind::Section;
        line.name = Trimmed(line.text.sliced(1, close - 1));
        return line;
    }
    const qsizetype equals = line.text.indexOf(u'=');
    if (equals < 0) {
        line.kind = Kind::Other;
        return line;
    }
    line.kind = Kind::Key;
    line.name = Trimmed(line.text.first(equals));
    line.value = Trimmed(line.text.sliced(equals + 1));
    return line;
}

bool IniLine::IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\x1A';
}

QStringView IniLine::Trimmed(QStringView text) {
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

qsizetype IniLine::LineEnd(QStringView text, qsizetype from) {
    return std::find_if(text.begin() + from, text.end(),
                        [](QChar c) { return c == u'\n' || c == u'\r'; }) -
           text.begin();
}

// Each line on its own: an old file edited once in a UTF-8 editor keeps its
// other lines' letters.
IniLine::Text IniLine::Decoded(QByteArrayView bytes) {
    Text decoded;
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        decoded.text =
            QStringDecoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless)(bytes.sliced(2));
        return decoded;
    }
    decoded.utf8Mark = bytes.startsWith("\xEF\xBB\xBF");
    if (decoded.utf8Mark)
        bytes = bytes.sliced(3);
    if (bytes.isValidUtf8()) {
        decoded.text = QString::fromUtf8(bytes);
        return decoded;
    }
    while (!bytes.isEmpty()) {
        const auto lineEnd = std::find_if(bytes.begin(), bytes.end(), IsLineEnd);
        const QByteArrayView line(bytes.begin(), std::find_if_not(lineEnd, bytes.end(), IsLineEnd));
        if (line.isValidUtf8()) {
            decoded.text += QString::fromUtf8(line);
        } else {
            const qsizetype start = decoded.text.size();
            decoded.text += FromWindows1252(line);
            decoded.stray.emplace_back(start, decoded.text.size());
        }
        bytes = bytes.sliced(line.size());
    }
    return decoded;
}
