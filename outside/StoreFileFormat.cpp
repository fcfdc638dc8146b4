#include "outside/StoreFileFormat.h"

#include <QDateTime>
#include <QFileDevice>
#include <QFileInfo>
#include <QHash>

namespace {

// The bytes of each file whose last read skipped damaged lines.
QHash<QString, QByteArray>& DamageByFile() {
    static QHash<QString, QByteArray> damage;
    return damage;
}

bool IsPlainKeyChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'-' || c == u'.';
}

// Section and key names as Qt writes them: '\' for '/', %XX and %UXXXX for
// anything else that is not a letter, digit, '_', '-' or '.'.
QString EscapedName(QStringView name) {
    QString result;
    for (const QChar c : name) {
        if (c == u'/')
            result += u'\\';
        else if (IsPlainKeyChar(c.unicode()))
            result += c;
        else if (c.unicode() <= 0xFF)
            result += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            result += QStringLiteral("%U%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }
    return result;
}

QString UnescapedName(QStringView name) {
    QString result;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u'\\') {
            result += u'/';
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < name.size() && name[i + 1] == u'U';
            const qsizetype from = i + 1 + (wide ? 1 : 0), digits = wide ? 4 : 2;
            bool ok = false;
            const uint code =
                from + digits <= name.size() ? name.sliced(from, digits).toUInt(&ok, 16) : 0;
            if (ok) {
                result += QChar(char16_t(code));
                i = from + digits - 1;
                continue;
            }
        }
        result += c;
    }
    return result;
}

// "[General]" holds the keys outside any section; a section of that name
// is written "[%General]".
QString SectionName(QStringView written) {
    if (written.compare(u"General", Qt::CaseInsensitive) == 0)
        return QString();
    if (written.compare(u"%General", Qt::CaseInsensitive) == 0)
        return QStringLiteral("General");
    return UnescapedName(written);
}

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

// A value's text. Without quotes or escapes it is taken as written, up to a
// ';' comment, blanks around it trimmed: commas are part of the text. With
// them it reads the way Qt reads it, its comma-separated items joined again
// by ", ".
QString ValueText(QStringView written) {
    QString text;
    if (!written.contains(u'"') && !written.contains(u'\\')) {
        text = written.first(written.indexOf(u';') < 0 ? written.size() : written.indexOf(u';'))
                   .trimmed()
                   .toString();
    } else {
        QStringList items;
        QString item;
        qsizetype kept = 0; // the item without its trailing blanks
        bool quoted = false;
        for (qsizetype at = 0; at < written.size(); ++at) {
            const QChar c = written[at];
            if (c == u'"') {
                quoted = !quoted;
                kept = item.size();
            } else if (c == u'\\' && at + 1 < written.size()) {
                item += Unescaped(written, ++at);
                kept = item.size();
            } else if (!quoted && c == u';') {
                break;
            } else if (!quoted && c == u',') {
                items << item.left(kept);
                item.clear();
                kept = 0;
            } else if (quoted || !c.isSpace() || !item.isEmpty()) {
                item += c;
                if (quoted || !c.isSpace())
                    kept = item.size();
            }
        }
        items << item.left(kept);
        text = items.join(QStringLiteral(", "));
    }
    return text.startsWith(QStringLiteral("@@")) ? text.mid(1) : text;
}

bool Read(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray bytes = device.readAll();
    QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    bool damaged = false;
    QString section;
    for (QByteArray rawLine : text.split('\n')) {
        if (rawLine.endsWith('\r'))
            rawLine.chop(1);
        // A line that is not UTF-8 is kept as Latin-1, and the file set aside.
        const bool utf8 = rawLine.isValidUtf8();
        damaged = damaged || !utf8;
        const QString line =
            (utf8 ? QString::fromUtf8(rawLine) : QString::fromLatin1(rawLine)).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            // An unclosed section still names where its keys belong.
            const qsizetype close = line.indexOf(u']');
            damaged = damaged || close < 0;
            section = SectionName(
                QStringView(line).sliced(1, (close < 0 ? line.size() : close) - 1).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            damaged = true;
            continue;
        }
        const QString key = UnescapedName(QStringView(line).first(equals).trimmed());
        map.insert(section.isEmpty() ? key : section + u'/' + key,
                   ValueText(QStringView(line).sliced(equals + 1)));
    }
    if (const auto* file = qobject_cast<QFileDevice*>(&device)) {
        if (damaged)
            DamageByFile().insert(file->fileName(), bytes);
        else
            DamageByFile().remove(file->fileName());
    }
    return true;
}

// Another copy of the program notices a change of the file by its size and
// its time, to the millisecond: a write that kept both would go unseen, and
// its values be overwritten with old ones. So each write leaves the file
// with a later time than it found, set on the new file before it replaces
// the old one (file systems that keep whole seconds need bigger steps).
void StampLaterThanBefore(QFileDevice& file) {
    const QDateTime before = QFileInfo(file.fileName()).lastModified();
    if (!before.isValid() || !file.flush())
        return;
    for (const int stepMs : {1, 1000, 2000}) {
        const QDateTime now = file.fileTime(QFileDevice::FileModificationTime);
        if (now.isValid() && now > before)
            return;
        file.setFileTime(before.addMSecs(stepMs), QFileDevice::FileModificationTime);
    }
}

bool Write(QIODevice& device, const QSettings::SettingsMap& map) {
    QString text;
    std::optional<QString> section;
    // The keys outside any section first, under "[General]".
    for (const bool grouped : {false, true}) {
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            const qsizetype slash = entry.key().indexOf(u'/');
            if ((slash >= 0) != grouped)
                continue;
            const QString group = grouped ? entry.key().first(slash) : QString();
            if (group != section) {
                if (section)
                    text += u'\n';
                section = group;
                text +=
                    u'[' +
                    (group.isEmpty() ? QStringLiteral("General")
                     : group.compare(u"General", Qt::CaseInsensitive) == 0 ? u'%' + group
                                                                           : EscapedName(group)) +
                    QStringLiteral("]\n");
            }
            text += EscapedName(QStringView(entry.key()).sliced(slash + 1)) + u'=' +
                    EscapedValue(entry.value().toString()) + u'\n';
        }
    }
    const QByteArray bytes = text.toUtf8();
    if (device.write(bytes) != bytes.size())
        return false;
    if (auto* file = qobject_cast<QFileDevice*>(&device))
        StampLaterThanBefore(*file);
    return true;
}

} // namespace

QSettings::Format StoreFileFormat::Format() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), Read, Write, Qt::CaseSensitive);
    return format;
}

std::optional<QByteArray> StoreFileFormat::DamagedBytes(const QString& fileName) {
    const auto found = DamageByFile().constFind(fileName);
    if (found == DamageByFile().cend())
        return std::nullopt;
    return *found;
}

void StoreFileFormat::ForgetDamage(const QString& fileName) {
    DamageByFile().remove(fileName);
}
