#include "outside/StoreFileFormat.h"

#include <QList>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringView>
#include <optional>

namespace {

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A value as Qt writes text: quoted when it holds ',', ';' or '=' or starts
// or ends with a blank of any kind (reading trims them), '"' and '\' and
// control characters escaped, a leading '@' doubled.
QString EscapedValue(const QString& text) {
    const QString value = text.startsWith(u'@') ? u'@' + text : text;
    QString result;
    bool quote = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    bool afterHexEscape = false; // a hex digit there would join the escape
    for (const QChar c : value) {
        const char16_t code = c.unicode();
        quote = quote || code == u';' || code == u',' || code == u'=';
        if (const qsizetype named = QStringView(u"\"\\\n\r\t").indexOf(c); named >= 0) {
            result += u'\\';
            result += u"\"\\nrt"[named];
            afterHexEscape = false;
        } else if (code < 0x20 || code == 0x7F || (afterHexEscape && IsHexDigit(c))) {
            result += QStringLiteral("\\x%1").arg(code, 0, 16);
            afterHexEscape = true;
        } else {
            result += c;
            afterHexEscape = false;
        }
    }
    return quote ? u'"' + result + u'"' : result;
}

// The character an escape stands for; `at` is on the character after '\'
// and is left on the escape's last character.
QChar Unescaped(QStringView text, qsizetype& at) {
    const QChar c = text[at];
    if (const qsizetype named = QStringView(u"abfnrtv").indexOf(c); named >= 0)
        return QChar(u"\a\b\f\n\r\t\v"[named]);
    const bool hex = c == u'x';
    const bool octal = c >= u'0' && c <= u'7';
    if (!hex && !octal)
        return c; // \" \' \\ \; \, and the rest stand for themselves
    qsizetype end = hex ? at + 1 : at;
    while (end < text.size() &&
           (hex ? IsHexDigit(text[end]) : text[end] >= u'0' && text[end] <= u'7'))
        ++end;
    const qsizetype from = hex ? at + 1 : at;
    at = end - 1;
    return QChar(char16_t(text.sliced(from, end - from).toUInt(nullptr, hex ? 16 : 8)));
}

// A value's text as Qt reads it: '"' opens and closes quoted text, '\'
// starts an escape, ';' outside quotes a comment, and blanks outside quotes
// around the value are not part of it. Commas are part of the text.
QString ValueText(QStringView written) {
    QString text;
    qsizetype kept = 0; // the text without its trailing blanks
    bool quoted = false;
    for (qsizetype at = 0; at < written.size(); ++at) {
        const QChar c = written[at];
        if (c == u'"') {
            quoted = !quoted;
            kept = text.size();
        } else if (c == u'\\' && at + 1 < written.size()) {
            text += Unescaped(written, ++at);
            kept = text.size();
        } else if (!quoted && c == u';') {
            break;
        } else if (quoted || !c.isSpace() || !text.isEmpty()) {
            text += c;
            if (quoted || !c.isSpace())
                kept = text.size();
        }
    }
    text.truncate(kept);
    return text.startsWith(QStringLiteral("@@")) ? text.mid(1) : text;
}

// Reads one line into the contents: a section, a value, or a blank or
// comment line; anything else marks the contents damaged.
void ParseLine(const QString& line, QString& section, StoreFileFormat::Contents& contents) {
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
        return;
    if (line.startsWith(u'[')) {
        // An unclosed section still names where its keys belong.
        const qsizetype close = line.indexOf(u']');
        contents.damaged = contents.damaged || close < 0;
        section = line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
        return;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) {
        contents.damaged = true;
        return;
    }
    const QString key = line.first(equals).trimmed().replace(u'\\', u'/');
    contents.values[section + u'/' + key] = ValueText(QStringView(line).sliced(equals + 1));
}

// The encoding a byte-order mark names, other than UTF-8's (an editor may
// save the file as UTF-16 or UTF-32).
std::optional<QStringConverter::Encoding> WideEncoding(QByteArrayView bytes) {
    const std::optional<QStringConverter::Encoding> named =
        QStringConverter::encodingForData(bytes);
    if (named && *named != QStringConverter::Utf8)
        return named;
    return std::nullopt;
}

} // namespace

StoreFileFormat::Contents StoreFileFormat::Parse(QByteArrayView bytes) {
    Contents contents;
    // Keys before any section are Qt's "General" ones.
    QString section = QStringLiteral("General");
    if (const auto encoding = WideEncoding(bytes)) {
        QStringDecoder decoder(*encoding);
        const QString text = decoder.decode(bytes);
        contents.damaged = decoder.hasError();
        for (const QStringView line : QStringView(text).split(u'\n'))
            ParseLine(line.trimmed().toString(), section, contents);
        return contents;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    for (QByteArrayView rawLine : QByteArray::fromRawData(bytes.data(), bytes.size()).split('\n')) {
        if (rawLine.endsWith('\r'))
            rawLine.chop(1);
        // A line that is not UTF-8 is kept as Latin-1, and the file set aside.
        const bool utf8 = rawLine.isValidUtf8();
        contents.damaged = contents.damaged || !utf8;
        ParseLine((utf8 ? QString::fromUtf8(rawLine) : QString::fromLatin1(rawLine)).trimmed(),
                  section, contents);
    }
    return contents;
}

QByteArray StoreFileFormat::Text(const Values& values) {
    QString text;
    QStringView section;
    for (const auto& [key, value] : values) {
        const qsizetype slash = key.indexOf(u'/');
        if (text.isEmpty() || QStringView(key).first(slash) != section) {
            if (!text.isEmpty())
                text += u'\n';
            section = QStringView(key).first(slash);
            text += u'[' + section.toString() + QStringLiteral("]\n");
        }
        text += key.sliced(slash + 1).replace(u'/', u'\\') + u'=' + EscapedValue(value) + u'\n';
    }
    return text.toUtf8();
}
