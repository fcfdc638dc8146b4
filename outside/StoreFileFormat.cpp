#include "outside/StoreFileFormat.h"

#include "outside/IniLine.h"

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
// comment line ('#' too, as Qt writes); anything else marks the contents
// damaged.
void ParseLine(QStringView raw, QString& section, StoreFileFormat::Contents& contents) {
    const IniLine line = IniLine::Of(raw);
    if (line.kind == IniLine::Kind::Empty || line.kind == IniLine::Kind::Comment ||
        line.text.startsWith(u'#'))
        return;
    if (line.text.startsWith(u'[')) {
        // An unclosed section still names where its keys belong.
        const bool closed = line.kind == IniLine::Kind::Section;
        contents.damaged = contents.damaged || !closed;
        section = (closed ? line.name : IniLine::Trimmed(line.text.sliced(1))).toString();
        return;
    }
    if (line.kind != IniLine::Kind::Key || line.name.isEmpty()) {
        contents.damaged = true;
        return;
    }
    const QString key = line.name.toString().replace(u'\\', u'/');
    contents.values[section + u'/' + key] = ValueText(line.value);
}

// Reads every line of the text into the contents.
void ParseText(QStringView text, StoreFileFormat::Contents& contents) {
    // Keys before any section are Qt's "General" ones.
    QString section = QStringLiteral("General");
    for (qsizetype start = 0, end; start <= text.size(); start = end + 1) {
        end = IniLine::LineEnd(text, start);
        ParseLine(text.sliced(start, end - start), section, contents);
    }
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
    if (const auto encoding = WideEncoding(bytes)) {
        QStringDecoder decoder(*encoding);
        const QString text = decoder.decode(bytes);
        contents.damaged = decoder.hasError();
        ParseText(text, contents);
        return contents;
    }
    // A line that is not UTF-8 is read as the data file reads it, and the
    // file set aside.
    const IniLine::Text decoded = IniLine::Decoded(bytes);
    contents.damaged = !decoded.stray.empty();
    ParseText(decoded.text, contents);
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
