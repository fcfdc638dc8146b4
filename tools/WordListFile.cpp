#include "WordListFile.h"

#include "MakerRefusal.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

WordListFile WordListFile::Read(const QString& path) {
    QFile file;
    const bool opened = path == QStringLiteral("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        throw MakerRefusal(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw MakerRefusal(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return Parse(bytes, path);
}

WordListFile WordListFile::Parse(const QByteArray& bytes, const QString& name) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw MakerRefusal(QStringLiteral("%1: not UTF-8 text.").arg(name));

    WordListFile list;
    bool haveTitle = false;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        auto refuse = [&](const QString& why) {
            throw MakerRefusal(QStringLiteral("%1:%2: %3").arg(name).arg(number).arg(why));
        };
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (!haveTitle) {
            list.title = line;
            haveTitle = true;
            continue;
        }
        const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (parts.size() == 1) {
            list.words += line;
        } else if (parts.size() == 2 && parts[0] == QStringLiteral("size")) {
            list.size = ParseSize(parts[1]);
            if (!list.size)
                refuse(QStringLiteral("the size is written like 12x10 (columns x rows)."));
        } else if (parts.size() == 2 && parts[0] == QStringLiteral("seed")) {
            list.seed = ParseSeed(parts[1]);
            if (!list.seed)
                refuse(QStringLiteral("the seed is a whole number from 0 to 4294967295."));
        } else {
            refuse(QStringLiteral("\"%1\": one word per line, without blanks.").arg(line));
        }
    }
    if (!haveTitle)
        throw MakerRefusal(QStringLiteral("%1: no title and no words.").arg(name));
    return list;
}

std::optional<QSize> WordListFile::ParseSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,4})[xX]([0-9]{1,4})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return QSize(match.captured(1).toInt(), match.captured(2).toInt());
}

std::optional<std::uint32_t> WordListFile::ParseSeed(const QString& text) {
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok);
    if (!ok || value > 0xFFFFFFFFull || text.trimmed().startsWith(u'+'))
        return std::nullopt;
    return std::uint32_t(value);
}
