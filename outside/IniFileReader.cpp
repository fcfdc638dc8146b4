#include "outside/IniFileReader.h"

#include "outside/AppError.h"
#include "outside/FileStamp.h"
#include "outside/IniLine.h"
#include "outside/MessageCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
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

// Where the first section line starts; -1 without one.
qsizetype FirstSectionLine(QStringView text) {
    for (qsizetype start = 0, end; start <= text.size(); start = end + 1) {
        end = IniLine::LineEnd(text, start);
        if (IniLine::Of(text.sliced(start, end - start)).kind == IniLine::Kind::Section)
            return start;
    }
    return -1;
}

// A NUL before the first section is in no data file a person wrote: such a
// file is a picture, an archive, a program. Further on, a NUL is damage: the
// zeros a crash leaves at the end are where the file ends, and any other
// NUL stands as a replacement character in its line, as a stray byte would.
std::optional<QString> TextOrNothing(QString text) {
    const qsizetype firstNul = text.indexOf(QChar(0));
    if (firstNul < 0)
        return text;
    const qsizetype firstSection = FirstSectionLine(text);
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
    return TextOrNothing(IniLine::Decoded(bytes).text);
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
    for (qsizetype start = 0, end; start <= all.size(); start = end + 1) {
        end = IniLine::LineEnd(all, start);
        const IniLine line = IniLine::Of(all.sliced(start, end - start));
        if (line.kind == IniLine::Kind::Section) {
            // Adding moves the ranges, but the pointer is replaced first.
            section = file.Add(line.name.toString().toCaseFolded());
        } else if (line.kind == IniLine::Kind::Key && section) {
            const QStringView value = Unquoted(line.value);
            file.entries.push_back({qint32(line.name.data() - all.data()), qint32(line.name.size()),
                                    qint32(value.data() - all.data()), qint32(value.size())});
            section->second = qsizetype(file.entries.size());
        }
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

} // namespace

struct IniFileReader::Kept {
    const QString path;   // absolute, as the caller spelled it
    QString systemReason; // for Problem::Other
    Problem problem;
    QFile input;
    std::optional<FileStamp> stamp; // none: look again on every call
    ParsedFile parsed;

    bool Unchanged() const { return stamp && FileStamp::Of(input) == stamp; }

    explicit Kept(const QString& path)
        : path(path), problem(ProblemOf(path, systemReason)), input(path) {
        if (problem != Problem::None)
            return;
        const bool opened = input.open(QIODevice::ReadOnly);
        stamp = FileStamp::Of(input);
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
