#include "outside/IniFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QStringView>
#include <atomic>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using KeyTable = QHash<QString, QString>;

// One file as the profile reader sees it: sections and keys by case-folded
// name, values exactly as stored.
struct ParsedFile {
    QHash<QString, KeyTable> sections;
};

// What tells a changed file: a rewrite changes its size or times, a
// replacement also its file number.
struct FileStamp {
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    quint64 fileNumber = 0;
    bool operator==(const FileStamp&) const = default;
};

struct CachedFile {
    FileStamp stamp;
    std::shared_ptr<const ParsedFile> parsed;
};

QMutex cacheLock;
QHash<QString, CachedFile> cache;
std::atomic<qint64> parseCount{0};

// Windows-1252 for 0x80-0x9F. The five holes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// pass through as the C1 code points, as Windows itself converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80, high = 0xBF; // range of the first trail byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p <= trail)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= trail; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        p += trail + 1;
    }
    return true;
}

// A byte-order mark only says "UTF-8"; a file whose bytes are not valid
// UTF-8 after it is still read as Windows-1252 rather than with losses.
QString DecodeFileText(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return FromWindows1252(bytes);
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text) {
    qsizetype first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

QString Unquoted(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2).toString();
    return value.toString();
}

QString FoldedName(QStringView name) {
    return name.toString().toCaseFolded();
}

ParsedFile ParseText(const QString& text) {
    ParsedFile file;
    KeyTable* section = nullptr; // null before the first section and in repeated ones
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = TrimBlanks(QStringView(text).sliced(start, end - start));
        start = end + 1;

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            if (close >= 0) {
                const QString name = FoldedName(TrimBlanks(line.sliced(1, close - 1)));
                section = file.sections.contains(name) ? nullptr : &file.sections[name];
                continue;
            }
        }
        const qsizetype equals = line.indexOf(u'=');
        if (section == nullptr || equals < 0)
            continue;
        const QString key = FoldedName(TrimBlanks(line.first(equals)));
        if (!section->contains(key))
            section->insert(key, Unquoted(TrimBlanks(line.sliced(equals + 1))));
    }
    return file;
}

std::shared_ptr<const ParsedFile> ParseFile(const QString& path) {
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = input.readAll();
    ++parseCount;
    return std::make_shared<const ParsedFile>(ParseText(DecodeFileText(bytes)));
}

// The stamp of a regular file, or nothing when there is none at path.
// POSIX stat is used where there is one: it is cheap (the chooser asks once
// per puzzle) and its times have nanoseconds.
std::optional<FileStamp> StampOf(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const auto nanoseconds = [](const timespec& time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return FileStamp{qint64(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim), quint64(status.st_ino)};
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return FileStamp{info.size(),
                     info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch(),
                     info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch(), 0};
#endif
}

// The file's parsed content, parsed again when its stamp changed. The key
// is the absolute path as spelled, not cleaned: with a symbolic link before
// a "..", a cleaned path would name another file.
std::shared_ptr<const ParsedFile> ParsedContent(const QString& file) {
    const QString path = QDir::isAbsolutePath(file) ? file : QDir::current().filePath(file);
    const std::optional<FileStamp> stamp = StampOf(path);
    QMutexLocker locker(&cacheLock);
    if (!stamp) {
        cache.remove(path);
        return nullptr;
    }
    const auto found = cache.constFind(path);
    if (found != cache.cend() && found->stamp == *stamp)
        return found->parsed;

    auto parsed = ParseFile(path);
    if (parsed)
        cache.insert(path, CachedFile{*stamp, parsed});
    else
        cache.remove(path);
    return parsed;
}

} // namespace

QString IniFileReader::GetValue(const QString& section, const QString& key, const QString& file,
                                int /*size*/) const {
    if (file.isEmpty())
        return QString();
    const auto parsed = ParsedContent(file);
    if (!parsed)
        return QString();
    const auto keys = parsed->sections.constFind(FoldedName(section));
    if (keys == parsed->sections.cend())
        return QString();
    return keys->value(FoldedName(key));
}

void IniFileReader::ForgetParsedFiles() {
    QMutexLocker locker(&cacheLock);
    cache.clear();
}

qint64 IniFileReader::ParseCount() {
    return parseCount.load();
}
