#include "outside/IniFileReader.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The number of a section named the way puzzles are numbered (digits, no
// leading zero); 0 for any other name.
qsizetype NumberName(QStringView name) {
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (name.size() > 9 || name.startsWith(u'0') || !std::all_of(name.begin(), name.end(), isDigit))
        return 0;
    return std::accumulate(name.begin(), name.end(), qsizetype(0), [](qsizetype number, QChar c) {
        return number * 10 + c.unicode() - u'0';
    });
}

// One file as the profile reader sees it. The text is kept whole and each
// key and value is where it stands in it, so a large file costs one
// allocation for its text rather than two for every key, and 16 bytes a key
// beside it. Sections named 1, 2, 3... are found by their number in a
// table: a long file's list of titles is then read in file order, with no
// hashing and no name kept for each.
struct ParsedFile {
    static constexpr qsizetype MaxText = std::numeric_limits<qint32>::max();
    struct Entry {
        qint32 keyStart, keyLength, valueStart, valueLength;
    };
    using Range = std::pair<qsizetype, qsizetype>; // entries [first, end)

    QString text;
    std::vector<Entry> entries;
    std::vector<Range> byNumber;  // first -1: no such section
    QHash<QString, Range> byName; // the others, by case-folded name

    const Range* Find(const QString& name) const {
        const qsizetype number = NumberName(name);
        if (number > 0 && number < qsizetype(byNumber.size()) &&
            byNumber[size_t(number)].first >= 0)
            return &byNumber[size_t(number)];
        const auto found = byName.constFind(name);
        return found == byName.cend() ? nullptr : &*found;
    }

    // A section seen for the first time gets its range; a repeated one none.
    Range* Add(const QString& name) {
        if (Find(name))
            return nullptr;
        const qsizetype number = NumberName(name), here = qsizetype(entries.size());
        // Numbers far beyond the keys seen so far stay out of the table, so
        // that "[999999999]" costs no memory.
        if (number == 0 || number > 2 * here + 1024)
            return &*byName.insert(name, {here, here});
        byNumber.resize(std::max(byNumber.size(), size_t(number) + 1), {-1, -1});
        return &(byNumber[size_t(number)] = {here, here});
    }

    QStringView Piece(qint32 start, qint32 length) const {
        return QStringView(text).sliced(start, length);
    }

    QString Value(const QString& section, const QString& key) const {
        const Range* range = Find(section.toCaseFolded());
        if (!range)
            return QString();
        for (qsizetype i = range->first; i < range->second; ++i)
            if (Piece(entries[size_t(i)].keyStart, entries[size_t(i)].keyLength)
                    .compare(key, Qt::CaseInsensitive) == 0)
                return Piece(entries[size_t(i)].valueStart, entries[size_t(i)].valueLength)
                    .toString();
        return QString();
    }
};

// Why a file gives no values; the catalogue's reasons for the first four
// follow this order from 11501.
enum class Problem { None, Missing, Folder, NoPermission, NotText, Other };

// What tells a changed file: its size, modified and changed times, and file
// number. A rewrite changes its size or times, a replacement its number.
using FileStamp = std::array<qint64, 4>;

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

// Each line on its own: an old file edited once in a UTF-8 editor keeps its
// other lines' letters.
QString DecodeLines(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    QString text;
    while (!bytes.isEmpty()) {
        const auto lineEnd = std::find_if(bytes.begin(), bytes.end(), isLineEnd);
        const QByteArrayView line(bytes.begin(), std::find_if_not(lineEnd, bytes.end(), isLineEnd));
        text += line.isValidUtf8() ? QString::fromUtf8(line) : FromWindows1252(line);
        bytes = bytes.sliced(line.size());
    }
    return text;
}

// A NUL before the first section is in no data file a person wrote: such a
// file is a picture, an archive, a program. Further on, a NUL is damage: the
// zeros a crash leaves at the end are where the file ends, and any other
// NUL stands as a replacement character in its line, as a stray byte would.
std::optional<QString> TextOrNothing(QString text) {
    const qsizetype firstNul = text.indexOf(QChar(0));
    if (firstNul < 0)
        return text;
    static const QRegularExpression sectionLine(
        QStringLiteral("^[ \\t\\v\\f\\x1A]*\\[[^\\]\\r\\n]*\\]"),
        QRegularExpression::MultilineOption);
    const qsizetype firstSection = text.indexOf(sectionLine);
    if (firstSection < 0 || firstNul < firstSection)
        return std::nullopt;
    qsizetype end = text.size();
    while (text[end - 1] == QChar(0))
        --end;
    text.truncate(end);
    text.replace(QChar(0), QChar::ReplacementCharacter);
    return text;
}

// The file's text, or nothing when it is not text.
std::optional<QString> DecodeFileText(QByteArrayView bytes) {
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    QString text;
    if (littleEndian || bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                              QStringConverter::Flag::Stateless)(bytes.sliced(2));
    else
        text = DecodeLines(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    return TextOrNothing(std::move(text));
}

// Besides spaces and tabs, the vertical tab, the form feed and the Ctrl-Z
// that old editors leave at a file's end are blanks, as to the classic
// profile reader: a file ending in Ctrl-Z still reads its last value whole.
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\x1A';
}

QStringView TrimBlanks(QStringView text) {
    while (!text.isEmpty() && IsBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && IsBlank(text.back()))
        text.chop(1);
    return text;
}

// One matching pair of outer quotes is not part of the value.
QStringView Unquoted(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

ParsedFile ParseText(QString text) {
    ParsedFile file;
    file.text = std::move(text);
    const QStringView all(file.text);
    // Keys before the first section and in repeated ones belong nowhere.
    ParsedFile::Range* section = nullptr;
    const auto isLineEnd = [](QChar c) { return c == u'\n' || c == u'\r'; };
    for (qsizetype start = 0, end; start <= all.size(); start = end + 1) {
        end = std::find_if(all.begin() + start, all.end(), isLineEnd) - all.begin();
        const QStringView line = TrimBlanks(all.sliced(start, end - start));
        if (line.isEmpty() || line.front() == u';')
            continue;
        const qsizetype close = line.front() == u'[' ? line.indexOf(u']') : -1;
        if (close >= 0) {
            // Adding moves the ranges, but the pointer is replaced first.
            section = file.Add(TrimBlanks(line.sliced(1, close - 1)).toString().toCaseFolded());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!section || equals < 0)
            continue;
        const QStringView key = TrimBlanks(line.first(equals));
        const QStringView value = Unquoted(TrimBlanks(line.sliced(equals + 1)));
        file.entries.push_back({qint32(key.data() - all.data()), qint32(key.size()),
                                qint32(value.data() - all.data()), qint32(value.size())});
        section->second = qsizetype(file.entries.size());
    }
    return file;
}

// Why the file cannot be read, as far as its name tells; None: try it.
Problem ProblemOf(const QString& path, [[maybe_unused]] QString& systemReason) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        const int error = errno;
        systemReason = qt_error_string(error);
        return error == EACCES                         ? Problem::NoPermission
               : (error == ENOENT || error == ENOTDIR) ? Problem::Missing
                                                       : Problem::Other;
    }
#endif
    const QFileInfo info(path);
    // A pipe or a device could keep the program waiting for ever.
    return !info.exists()   ? Problem::Missing
           : info.isDir()   ? Problem::Folder
           : !info.isFile() ? Problem::NotText
                            : Problem::None;
}

#ifdef Q_OS_WIN
// The file's number on its volume (Windows' counterpart of an inode
// number); 0 when it cannot be asked.
qint64 FileNumber(const QString& path) {
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? (qint64(information.nFileIndexHigh) << 32) | information.nFileIndexLow : 0;
}
#endif

// The read file's stamp now, or none once it has no name left (a file
// replaced or deleted). Asking the open file costs far less than looking
// its name up again, once per puzzle of a long list; where an open file
// could not be replaced, it is closed once read and looked up by name.
std::optional<FileStamp> StampOf(const QFile& input) {
#ifdef Q_OS_UNIX
    struct stat status;
    if (!input.isOpen() || ::fstat(input.handle(), &status) != 0 || status.st_nlink == 0)
        return std::nullopt;
    const auto nanoseconds = [](const timespec& time) {
        return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return FileStamp{qint64(status.st_size), nanoseconds(status.st_mtim),
                     nanoseconds(status.st_ctim), qint64(status.st_ino)};
#else
    const QFileInfo info(input.fileName());
    if (!info.isFile())
        return std::nullopt;
    return FileStamp{info.size(),
                     info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch(),
                     info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch(),
                     FileNumber(info.filePath())};
#endif
}

} // namespace

struct IniFileReader::Kept {
    const QString path;   // absolute, as the caller spelled it
    QString systemReason; // for Problem::Other
    Problem problem;
    QFile input;
    std::optional<FileStamp> stamp; // none: look again on every call
    ParsedFile parsed;

    bool Unchanged() const { return stamp && StampOf(input) == stamp; }

    explicit Kept(const QString& path)
        : path(path), problem(ProblemOf(path, systemReason)), input(path) {
        if (problem != Problem::None)
            return;
        const bool opened = input.open(QIODevice::ReadOnly);
        stamp = StampOf(input);
        std::optional<QString> text = DecodeFileText(opened ? input.readAll() : QByteArray());
        if (input.error() != QFileDevice::NoError) {
            problem = QFileInfo(path).isReadable() ? Problem::Other : Problem::NoPermission;
            systemReason = input.errorString();
        } else if (!text) {
            problem = Problem::NotText;
        } else if (text->size() > ParsedFile::MaxText) {
            problem = Problem::Other;
            systemReason = MessageCatalogue::Text(11601);
        } else {
            parsed = ParseText(std::move(*text));
        }
#ifndef Q_OS_UNIX
        input.close(); // an open file could not be replaced there
#endif
    }
};

IniFileReader::IniFileReader() = default;
IniFileReader::~IniFileReader() = default;

// A relative name is looked up in the current folder each time, which may
// have changed. The path is not cleaned: with a symbolic link before a
// "..", a cleaned path would name another file.
const IniFileReader::Kept& IniFileReader::Current(const QString& file) const {
    const bool same = kept_ && kept_->path == file; // and so absolute
    const QString path = same || QDir::isAbsolutePath(file) ? file : QDir::current().filePath(file);
    if (!kept_ || kept_->path != path || !kept_->Unchanged())
        kept_ = std::make_unique<Kept>(path);
    return *kept_;
}

QString IniFileReader::GetValue(const QString& section, const QString& key, const QString& file,
                                int /*size*/) const {
    return file.isEmpty() ? QString() : Current(file).parsed.Value(section, key);
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
