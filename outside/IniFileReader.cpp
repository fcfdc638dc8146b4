#include "outside/IniFileReader.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <QStringView>
#include <cstring>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif

namespace {

// One key line: where its name and its value stand in the file's text.
struct Entry {
    qsizetype keyStart, keyLength;
    qsizetype valueStart, valueLength;
};

// The number a section name written the way puzzles are numbered (digits,
// no leading zero) stands for; 0 for any other name.
qsizetype NumberName(QStringView name) {
    if (name.isEmpty() || name.size() > 9 || name.front() == u'0')
        return 0;
    qsizetype number = 0;
    for (const QChar c : name) {
        if (c < u'0' || c > u'9')
            return 0;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

// One file as the profile reader sees it. The text is kept whole and the
// entries point into it, so a large file costs one allocation for its
// text rather than two for every key. Sections named 1, 2, 3... are found
// by their number: a long file's list of titles is then read in file order.
struct ParsedFile {
    using Range = std::pair<qsizetype, qsizetype>; // entries [first, end)

    QString text;
    std::vector<Entry> entries;
    std::vector<Range> ranges;
    std::vector<qsizetype> byNumber;  // number to index into ranges + 1; 0: none
    QHash<QString, qsizetype> byName; // case-folded name to index into ranges

    const Range* Find(const QString& section) const {
        const qsizetype number = NumberName(section);
        if (number > 0 && number < qsizetype(byNumber.size()) && byNumber[size_t(number)] > 0)
            return &ranges[size_t(byNumber[size_t(number)] - 1)];
        const auto found = byName.constFind(number > 0 ? section : section.toCaseFolded());
        return found == byName.cend() ? nullptr : &ranges[size_t(*found)];
    }

    // A section seen for the first time gets its range; a repeated one none.
    std::optional<qsizetype> Add(const QString& name) {
        if (Find(name))
            return std::nullopt;
        const qsizetype index = qsizetype(ranges.size());
        const qsizetype first = qsizetype(entries.size());
        ranges.push_back({first, first});
        const qsizetype number = NumberName(name);
        // Numbers far beyond the sections seen so far stay out of the table,
        // so that "[999999999]" costs no memory.
        if (number > 0 && number <= 2 * qsizetype(ranges.size()) + 1024) {
            if (number >= qsizetype(byNumber.size()))
                byNumber.resize(size_t(number) + 1, 0);
            byNumber[size_t(number)] = index + 1;
        } else {
            byName.insert(name, index);
        }
        return index;
    }

    QString Value(const QString& section, const QString& key) const {
        const Range* range = Find(section);
        if (!range)
            return QString();
        const QStringView all(text);
        for (qsizetype i = range->first; i < range->second; ++i) {
            const Entry& entry = entries[size_t(i)];
            if (all.sliced(entry.keyStart, entry.keyLength).compare(key, Qt::CaseInsensitive) == 0)
                return all.sliced(entry.valueStart, entry.valueLength).toString();
        }
        return QString();
    }
};

// Why a file gives no values; the catalogue's reasons for the first four
// follow this order from 11501.
enum class Problem { None, Missing, Folder, NoPermission, NotText, Other };

// What tells a changed file: a rewrite changes its size or times, a
// replacement also its file number.
struct FileStamp {
    Problem problem = Problem::Missing;
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    quint64 fileNumber = 0;
    bool operator==(const FileStamp&) const = default;
};

// Windows-1252 for 0x80-0x9F. The five holes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// pass through as the C1 code points, as Windows itself converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendWindows1252(QString& text, QByteArrayView bytes) {
    const qsizetype at = text.size();
    text.resize(at + bytes.size());
    QChar* out = text.data() + at;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
}

// Each line on its own: an old file edited once in a UTF-8 editor keeps its
// other lines' letters.
QString DecodeLines(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    while (!bytes.isEmpty()) {
        qsizetype end = 0;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        while (end < bytes.size() && (bytes[end] == '\n' || bytes[end] == '\r'))
            ++end;
        const QByteArrayView line = bytes.first(end);
        if (line.isValidUtf8())
            text += QString::fromUtf8(line);
        else
            AppendWindows1252(text, line);
        bytes = bytes.sliced(end);
    }
    return text;
}

// The file's text, or nothing when it is not text (a NUL is in no data
// file a person wrote: such a file is a picture, an archive, a program).
std::optional<QString> DecodeFileText(QByteArrayView bytes) {
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (!littleEndian && !bytes.startsWith("\xFE\xFF")) {
        if (!bytes.isEmpty() && std::memchr(bytes.data(), 0, size_t(bytes.size())))
            return std::nullopt;
        return DecodeLines(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    }
    QStringDecoder utf16(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                         QStringConverter::Flag::Stateless);
    QString text = utf16(bytes.sliced(2));
    if (text.contains(QChar(0)))
        return std::nullopt;
    return text;
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

// One matching pair of outer quotes is not part of the value.
QStringView Unquoted(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

qsizetype OffsetIn(const QString& text, QStringView part) {
    return part.data() - text.constData();
}

ParsedFile ParseText(QString text) {
    ParsedFile file;
    file.text = std::move(text);
    const QString& all = file.text;
    // No section before the first one, and none in repeated ones.
    std::optional<qsizetype> section;
    const auto closeSection = [&] {
        if (section)
            file.ranges[size_t(*section)].second = qsizetype(file.entries.size());
    };
    qsizetype start = 0;
    while (start <= all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != u'\n' && all[end] != u'\r')
            ++end;
        const QStringView line = TrimBlanks(QStringView(all).sliced(start, end - start));
        start = end + 1;

        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            if (close >= 0) {
                closeSection();
                section = file.Add(TrimBlanks(line.sliced(1, close - 1)).toString().toCaseFolded());
                continue;
            }
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!section || equals < 0)
            continue;
        const QStringView key = TrimBlanks(line.first(equals));
        const QStringView value = Unquoted(TrimBlanks(line.sliced(equals + 1)));
        file.entries.push_back(
            {OffsetIn(all, key), key.size(), OffsetIn(all, value), value.size()});
    }
    closeSection();
    return file;
}

#ifdef Q_OS_UNIX
FileStamp StampFrom(const struct stat& status) {
    const auto nanoseconds = [](const timespec& time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    FileStamp stamp;
    // A pipe or a device could keep the program waiting for ever.
    stamp.problem = S_ISDIR(status.st_mode)    ? Problem::Folder
                    : !S_ISREG(status.st_mode) ? Problem::NotText
                                               : Problem::None;
    stamp.size = qint64(status.st_size);
    stamp.modified = nanoseconds(status.st_mtim);
    stamp.changed = nanoseconds(status.st_ctim);
    stamp.fileNumber = quint64(status.st_ino);
    return stamp;
}
#endif

FileStamp StampOf(const QString& path, const QByteArray& encodedPath) {
#ifdef Q_OS_UNIX
    Q_UNUSED(path);
    struct stat status;
    if (::stat(encodedPath.constData(), &status) == 0)
        return StampFrom(status);
    FileStamp stamp;
    stamp.problem = errno == EACCES                         ? Problem::NoPermission
                    : (errno == ENOENT || errno == ENOTDIR) ? Problem::Missing
                                                            : Problem::Other;
    return stamp;
#else
    Q_UNUSED(encodedPath);
    const QFileInfo info(path);
    FileStamp stamp;
    stamp.problem = !info.exists()   ? Problem::Missing
                    : info.isDir()   ? Problem::Folder
                    : !info.isFile() ? Problem::NotText
                                     : Problem::None;
    stamp.size = info.size();
    stamp.modified = info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
    stamp.changed = info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch();
    return stamp;
#endif
}

} // namespace

struct IniFileReader::Kept {
    QString given;        // the name as the caller gave it
    bool givenIsAbsolute; // so the same name names the same file
    QString path;
    QByteArray encodedPath;
    FileStamp stamp;
    Problem problem = Problem::Missing;
    QString systemReason; // for Problem::Other
    ParsedFile parsed;

    // Kept open once read: asking the open file whether it changed costs far
    // less than looking its name up again, once per puzzle of a long list.
    QFile input;

    // Unchanged as far as the open file tells: not rewritten, and still
    // under a name (a file replaced or deleted has none left).
    bool OpenFileUnchanged() const {
#ifdef Q_OS_UNIX
        struct stat status;
        return input.isOpen() && ::fstat(input.handle(), &status) == 0 && status.st_nlink > 0 &&
               StampFrom(status) == stamp;
#else
        return false;
#endif
    }

    void Read() {
        input.setFileName(path);
        const QByteArray bytes = input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
        if (input.error() != QFileDevice::NoError) {
            problem = QFileInfo(path).isReadable() ? Problem::Other : Problem::NoPermission;
            systemReason = input.errorString();
            input.close();
            return;
        }
        std::optional<QString> text = DecodeFileText(bytes);
        if (!text) {
            problem = Problem::NotText;
            input.close();
            return;
        }
        parsed = ParseText(std::move(*text));
#ifndef Q_OS_UNIX
        input.close(); // an open file could not be replaced there
#endif
    }
};

IniFileReader::IniFileReader() = default;
IniFileReader::~IniFileReader() = default;

// The key is the absolute path as spelled, not cleaned: with a symbolic
// link before a "..", a cleaned path would name another file.
const IniFileReader::Kept& IniFileReader::Current(const QString& file) const {
    const bool same = kept_ && kept_->givenIsAbsolute && kept_->given == file;
    if (same && kept_->OpenFileUnchanged())
        return *kept_;
    const bool absolute = same || QDir::isAbsolutePath(file);
    const QString path = same ? kept_->path : absolute ? file : QDir::current().filePath(file);
    const QByteArray encodedPath = same ? kept_->encodedPath : QFile::encodeName(path);
    const FileStamp stamp = StampOf(path, encodedPath);
    if (kept_ && kept_->path == path && kept_->stamp == stamp)
        return *kept_;
    auto fresh = std::make_unique<Kept>();
    fresh->given = file;
    fresh->givenIsAbsolute = absolute;
    fresh->path = path;
    fresh->encodedPath = encodedPath;
    fresh->stamp = stamp;
    fresh->problem = stamp.problem;
    if (stamp.problem == Problem::None)
        fresh->Read();
    kept_ = std::move(fresh);
    return *kept_;
}

QString IniFileReader::GetValue(const QString& section, const QString& key, const QString& file,
                                int /*size*/) const {
    if (file.isEmpty())
        return QString();
    return Current(file).parsed.Value(section, key);
}

void IniFileReader::CheckReadable(const QString& file) const {
    const Problem problem = file.isEmpty() ? Problem::Missing : Current(file).problem;
    if (problem == Problem::None)
        return;
    const QString reason = problem == Problem::Other ? kept_->systemReason
                                                     : MessageCatalogue::Text(11500 + int(problem));
    throw AppError(problem == Problem::Missing ? ErrorNumber::FileNotFound
                                               : ErrorNumber::PathFileAccess,
                   QStringLiteral("IniFileReader.CheckReadable"),
                   MessageCatalogue::Text(11500).arg(QDir::toNativeSeparators(file), reason));
}
