#include "outside/RegistryStore.h"

#include "outside/AppError.h"
#include "outside/AppServices.h"
#include "outside/FileStamp.h"
#include "outside/MessageCatalogue.h"
#include "outside/StoreFileFormat.h"
#include "outside/StoreLock.h"
#include "outside/UnsavedValues.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <set>

#ifdef Q_OS_WIN
#include "outside/WindowsRegistry.h"
#endif

namespace {

using StoreFileFormat::Values;

const char* const kReadSource = "RegistryStore.ReadValue";
const char* const kWriteSource = "RegistryStore.WriteValue";

// How long a write waits for another copy's lock: a tool without windows
// can wait; a window must not stand still for more than a frame.
constexpr int kLockWaitMs = 10000;
constexpr int kWindowLockWaitMs = 16;
// How often values kept for a locked file are tried again.
constexpr int kRetryMs = 500;
// A temporary file of a write is this old at most while it is written.
constexpr int kAbandonedTemporaryMs = 1000;
// Less free space than this where a write failed: the disk is full.
constexpr qint64 kNearlyFullBytes = 64 * 1024;

QString& FolderOverride() {
    static QString folder;
    return folder;
}

QString Message(int number) {
    return MessageCatalogue::Text(number);
}

AppError InvalidArgument(const char* source, const QString& what) {
    return AppError(ErrorNumber::InvalidArgument, QString::fromUtf8(source), what);
}

// Names the file can hold without escapes, as every name of the program is;
// none of them can step out of the config folder either.
bool IsPlainName(const QString& name) {
    return !name.isEmpty() && name.front().isLetterOrNumber() &&
           std::all_of(name.begin(), name.end(), [](QChar c) {
               return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.';
           });
}

// Where one value lives: its file and its key inside it.
struct Location {
    QString file;
    QString key;
};

QStringList KeyParts(const QString& keyPath, const char* source) {
    const QStringList parts = keyPath.split(u'\\');
    if (parts.size() < 4 || parts[0].compare(u"Software", Qt::CaseInsensitive) != 0 ||
        !std::all_of(parts.begin(), parts.end(), IsPlainName))
        throw InvalidArgument(source, Message(11407).arg(keyPath));
    return parts;
}

QString FileOf(const QStringList& parts) {
    const QString folder =
        FolderOverride().isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            : FolderOverride();
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath() + u'/' + parts[1] + u'/' +
                           parts[2] + QStringLiteral(".conf"));
}

Location Locate(qint32 root, const QString& keyPath, const QString& name, const char* source) {
    if (root != RegistryStore::CurrentUser)
        throw InvalidArgument(source, Message(11405).arg(root));
    if (!IsPlainName(name))
        throw InvalidArgument(source, Message(11406).arg(name));
    const QStringList parts = KeyParts(keyPath, source);
#ifdef Q_OS_WIN
    // There the store is the registry itself, as the key path says.
    return {QStringLiteral("HKEY_CURRENT_USER\\") + keyPath, name};
#else
    return {FileOf(parts), (parts.mid(3) << name).join(u'/')};
#endif
}

// Values held by open batches, by file and key, and how deep they nest.
struct PendingWrites {
    int depth = 0;
    std::map<QString, Values> values;
};

PendingWrites& Pending() {
    static PendingWrites pending;
    return pending;
}

std::optional<QString> ValueIn(const std::map<QString, Values>& files, const Location& location) {
    const auto file = files.find(location.file);
    if (file == files.end() || !file->second.contains(location.key))
        return std::nullopt;
    return file->second.at(location.key);
}

// Values this copy could not write yet because another copy held their file
// locked, by file: they read as stored, go with the next write of their
// file, and are tried again while the program runs.
std::map<QString, Values>& Kept() {
    static std::map<QString, Values> kept;
    return kept;
}

// The file a write replaces: the target of a link, followed as far as it
// goes, so that a link stays a link, also one whose target is not there yet.
QString TargetOf(const QString& fileName) {
    QFileInfo file(fileName);
    for (int depth = 0; depth < 40 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file.isSymLink() ? fileName : file.absoluteFilePath();
}

// What stands in the way of writing the file, in the player's language
// (the system's own reason in Qt's words, translated as Qt is); nothing
// when a write looks possible. Makes the file's folder, as a write would.
std::optional<QString> WriteObstacle(const QString& fileName) {
#ifdef Q_OS_WIN
    return std::nullopt; // a registry key, not a file
#endif
    const QFileInfo target(TargetOf(fileName));
    if (target.isDir())
        return Message(11402).arg(QDir::toNativeSeparators(target.filePath()));
    // What could not be read is never written over.
    if (QFile file(target.filePath()); target.exists() && !file.open(QIODevice::ReadOnly))
        return Message(11413).arg(file.errorString());
    QFileInfo ancestor(target.path());
    while (!ancestor.exists() && !ancestor.isRoot() && ancestor.filePath() != ancestor.path())
        ancestor = QFileInfo(ancestor.path());
    if (ancestor.exists() && !ancestor.isDir())
        return Message(11403).arg(QDir::toNativeSeparators(ancestor.filePath()));
    if (!QDir().mkpath(target.path()) && ancestor.exists() && !ancestor.isWritable())
        return Message(11415).arg(QDir::toNativeSeparators(target.path()));
    QSaveFile probe(target.filePath());
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return std::nullopt;
}

// Nearly nothing left where the file goes: what a refused write then means.
bool DiskFull(const QString& fileName) {
    const QStorageInfo disk(QFileInfo(TargetOf(fileName)).path());
    return disk.isValid() && disk.bytesAvailable() < kNearlyFullBytes;
}

// Names the values by the last part of their keys; without a reason of
// its own, says what stands in the way of the file.
AppError WriteFailure(const Values& values, const QString& fileName,
                      const std::optional<QString>& reason = std::nullopt) {
    QStringList names;
    for (const auto& value : values)
        names << value.first.section(u'/', -1);
    return AppError(ErrorNumber::PathFileAccess, QString::fromUtf8(kWriteSource),
                    Message(11401).arg(names.join(QStringLiteral(", ")),
                                       QDir::toNativeSeparators(fileName),
                                       reason ? *reason
                                              : WriteObstacle(fileName).value_or(
                                                    Message(DiskFull(fileName) ? 11414 : 11404))));
}

#ifdef Q_OS_WIN

std::optional<QString> StoredValue(const Location& location) {
    return WindowsRegistry::Read(location.file, location.key);
}

void WriteValues(const QString& keyName, const Values& values) {
    if (const std::optional<QString> reason = WindowsRegistry::Write(keyName, values))
        throw WriteFailure(values, keyName, reason);
}

#else

bool ShowsWindows() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// What the store met and worked around (a damaged file set aside, a file it
// cannot read, values kept for later) goes the way of every error, as a
// notice: nothing the player did was lost.
void Tell(const char* source, const QString& text) {
    AppServices().ReportNotice(
        AppError(ErrorNumber::PathFileAccess, QString::fromUtf8(source), text));
}

// Tells the player once, when the program is next idle: the store may be
// read in the middle of drawing the board.
void TellPlayer(const char* source, const QString& text) {
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), [source, text] { Tell(source, text); });
}

// The bytes of a damaged file, kept beside it under a name that says what
// it is and since when; the name, or nothing when they could not be kept.
std::optional<QString> SetAside(const QString& fileName, const QByteArray& bytes) {
    const QFileInfo file(fileName);
    const QString stem = file.path() + u'/' + file.completeBaseName() +
                         QStringLiteral("-damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString name = stem + QStringLiteral(".conf");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1.conf").arg(n);
    QFile copy(name);
    if (copy.open(QIODevice::WriteOnly | QIODevice::NewOnly) && copy.write(bytes) == bytes.size() &&
        copy.flush())
        return name;
    copy.remove();
    return std::nullopt;
}

// The file last read or written, as it was then.
struct FileContents {
    QString name;
    std::optional<FileStamp> stamp;
    QByteArray bytes;
    StoreFileFormat::Contents contents;
};

FileContents& LastFile() {
    static FileContents last;
    return last;
}

// The reason last told, in the system's words, for each file that is there
// but could not be read.
std::map<QString, QString>& Unreadable() {
    static std::map<QString, QString> reasons;
    return reasons;
}

// The player hears at once that what was saved cannot be read, and why,
// once for each file and reason.
void TellUnreadable(const QString& fileName, const QString& reason) {
    QString& told = Unreadable()[fileName];
    if (told != reason)
        TellPlayer(kReadSource, Message(11412).arg(QDir::toNativeSeparators(fileName), reason));
    told = reason;
}

// The file as it is now, read again only when its stamp changed; nothing
// when it is there but cannot be read. Good until the next read or write.
const FileContents* ReadFile(const QString& fileName) {
    const std::optional<FileStamp> stamp = FileStamp::Of(fileName);
    if (LastFile().name == fileName && LastFile().stamp == stamp)
        return &LastFile();
    QFile file(fileName);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError && (file.isOpen() || QFileInfo(fileName).exists())) {
        TellUnreadable(fileName, file.errorString());
        return nullptr;
    }
    Unreadable().erase(fileName);
    LastFile() = {fileName, stamp, bytes, StoreFileFormat::Parse(bytes)};
    return &LastFile();
}

// Each write leaves the file with a later time than it found, set on the
// new file before it replaces the old one, also where the file's time is
// ahead of this machine's clock: whatever tells a change by the file's time
// (a sync tool, a backup) sees every write.
bool StampLaterThanBefore(QSaveFile& file) {
    const QDateTime before = QFileInfo(file.fileName()).lastModified();
    if (!file.flush())
        return false;
    // File systems that keep whole seconds need bigger steps.
    for (const int stepMs : {1, 1000, 2000}) {
        const QDateTime now = file.fileTime(QFileDevice::FileModificationTime);
        if (!before.isValid() || (now.isValid() && now > before))
            break;
        file.setFileTime(before.addMSecs(stepMs), QFileDevice::FileModificationTime);
    }
    return true;
}

// A sound file that holds the values as they are needs no write.
bool IsStored(const StoreFileFormat::Contents& contents, const Values& values) {
    return !contents.damaged && std::all_of(values.begin(), values.end(), [&](const auto& value) {
        const auto found = contents.values.find(value.first);
        return found != contents.values.end() && found->second == value.second;
    });
}

// What a write that failed says: a full disk by that name, or what stands
// in the way of the file.
QString SaveFileReason(const QSaveFile& file, const QString& fileName) {
    if (file.error() == QFileDevice::ResourceError || DiskFull(fileName))
        return Message(11414);
    return WriteObstacle(fileName).value_or(file.errorString());
}

// A temporary file that a copy killed before it could rename it left beside
// the settings file ("Zelvora.conf.AbC123"); no living copy writes one
// without holding the lock.
void ClearTemporaryLeftovers(const QString& fileName) {
    const QFileInfo settings(fileName);
    const QDateTime abandoned = QDateTime::currentDateTime().addMSecs(-kAbandonedTemporaryMs);
    QDirIterator found(settings.path(), {settings.fileName() + QStringLiteral(".??????")},
                       QDir::Files | QDir::Hidden);
    while (found.hasNext()) {
        const QFileInfo leftover = found.nextFileInfo();
        const QString suffix = leftover.fileName().sliced(settings.fileName().size() + 1);
        if (std::all_of(suffix.begin(), suffix.end(),
                        [](QChar c) { return c.isLetterOrNumber(); }) &&
            leftover.lastModified() < abandoned)
            QFile::remove(leftover.filePath());
    }
}

// Writes the values in one replacement of the file, made while holding its
// lock over what the file holds then, so that another copy's values are
// kept, and so are those other copies could not write (under this copy's
// own). A damaged file is set aside first and written whole with what could
// be read; one that cannot be read is never written over.
void WriteLocked(const QString& fileName, const Values& values,
                 const std::vector<UnsavedValues::Waiting>& waiting) {
    const FileContents* now = ReadFile(fileName);
    if (!now)
        throw WriteFailure(values, fileName);
    if (waiting.empty() && IsStored(now->contents, values))
        return;
    Values stored = now->contents.values;
    for (const UnsavedValues::Waiting& kept : waiting)
        for (const auto& [key, text] : kept.values)
            stored[key] = text;
    for (const auto& [key, text] : values)
        stored[key] = text;
    std::optional<QString> aside;
    if (now->contents.damaged && !(aside = SetAside(fileName, now->bytes)))
        throw WriteFailure(values, fileName);
    const QByteArray text = StoreFileFormat::Text(stored);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() ||
        !StampLaterThanBefore(file) || !file.commit()) {
        if (aside)
            QFile::remove(*aside);
        throw WriteFailure(values, fileName, SaveFileReason(file, fileName));
    }
    LastFile() = {fileName, FileStamp::Of(fileName), text, {std::move(stored), false}};
    UnsavedValues::Remove(waiting);
    if (aside)
        TellPlayer(kWriteSource, Message(11400).arg(QDir::toNativeSeparators(fileName),
                                                    QDir::toNativeSeparators(*aside)));
}

// What became of a write: done, or nothing written because another copy
// holds the file locked past the wait; a copy that runs, or one that has
// only just made the lock (or was killed right then, which its age tells).
enum class Write { Done, Waits, WaitsForRunningCopy };

Write WriteNow(const QString& fileName, const Values& values, int waitMs) {
    if (const FileContents* now = ReadFile(fileName);
        now && IsStored(now->contents, values) && !UnsavedValues::AnyWaiting(fileName))
        return Write::Done;
    QDir().mkpath(QFileInfo(TargetOf(fileName)).path());
    StoreLock lock(fileName);
    switch (lock.Take(waitMs)) {
    case StoreLock::Outcome::Busy:
        return lock.HolderRuns() ? Write::WaitsForRunningCopy : Write::Waits;
    case StoreLock::Outcome::Failed:
        throw WriteFailure(values, fileName,
                           lock.LeftBehind() ? std::optional(Message(11416).arg(
                                                   QDir::toNativeSeparators(lock.FileName())))
                                             : std::nullopt);
    case StoreLock::Outcome::Taken:
        break;
    }
    ClearTemporaryLeftovers(fileName);
    WriteLocked(fileName, values, UnsavedValues::Find(fileName));
    // Values another copy kept while this one was writing go in as well.
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<UnsavedValues::Waiting> late = UnsavedValues::Find(fileName);
        if (late.empty())
            break;
        WriteLocked(fileName, values, late);
    }
    return Write::Done;
}

void RetryKept();

void ScheduleRetry() {
    static bool scheduled = false;
    if (scheduled || !QCoreApplication::instance())
        return;
    scheduled = true;
    QTimer::singleShot(kRetryMs, QCoreApplication::instance(), [] {
        scheduled = false;
        RetryKept();
    });
}

void Written(const QString& fileName) {
    Kept().erase(fileName);
    UnsavedValues::Forget(fileName);
}

void RetryKept() {
    std::vector<std::pair<QString, Values>> files(Kept().begin(), Kept().end());
    for (const auto& [fileName, values] : files) {
        try {
            if (WriteNow(fileName, values, 0) == Write::Done)
                Written(fileName);
        } catch (const AppError&) {
            // Said at the next save of the file, which tries them again.
        }
    }
    if (!Kept().empty())
        ScheduleRetry();
}

// Keeps the values, on disk too, until the lock is free; the player hears
// once that their progress waits for another copy and is not lost. Values
// that cannot be kept on disk would be lost at the end of the session: that
// write fails.
void KeepForLater(const QString& fileName, const Values& values, bool tell) {
    if (!UnsavedValues::Keep(fileName, values))
        throw WriteFailure(values, fileName, Message(11410));
    Kept()[fileName] = values;
    ScheduleRetry();
    static bool told = false;
    if (tell && !values.empty() && !std::exchange(told, true))
        Tell(kWriteSource, Message(11411).arg(QDir::toNativeSeparators(fileName)));
}

// Writes the values, with any this copy kept before; while another copy
// holds the file locked, keeps them all for later.
void WriteValues(const QString& fileName, const Values& values) {
    Values all = Kept().contains(fileName) ? Kept()[fileName] : Values();
    for (const auto& [key, text] : values)
        all[key] = text;
    const Write write = WriteNow(fileName, all, ShowsWindows() ? kWindowLockWaitMs : kLockWaitMs);
    if (write == Write::Done)
        Written(fileName);
    else
        KeepForLater(fileName, all, write == Write::WaitsForRunningCopy);
}

// A damaged file is repaired on its first read; when that cannot be done,
// the damage stays, and the next use tries again. Values other copies could
// not write are taken in at the first read of the file.
std::optional<QString> StoredValue(const Location& location) {
    static std::set<QString> seen;
    const bool first = seen.insert(location.file).second;
    const FileContents* now = ReadFile(location.file);
    if (now && (now->contents.damaged || (first && UnsavedValues::AnyWaiting(location.file)))) {
        try {
            WriteValues(location.file, {});
        } catch (const AppError&) {
        }
        now = ReadFile(location.file);
    }
    if (!now)
        return std::nullopt;
    const auto found = now->contents.values.find(location.key);
    return found == now->contents.values.end() ? std::nullopt : std::optional(found->second);
}

#endif

QString TextToStore(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("");
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        throw AppError(ErrorNumber::TypeMismatch, QString::fromUtf8(kWriteSource),
                       Message(11409).arg(QString::fromLatin1(value.typeName())));
    return value.toString();
}

} // namespace

// A value never written is an empty variant: its text is empty too, and a
// caller that cares can tell it from a stored empty text.
QVariant RegistryStore::ReadValue(qint32 root, const QString& keyPath, const QString& name) const {
    const Location location = Locate(root, keyPath, name, kReadSource);
    std::optional<QString> value = ValueIn(Pending().values, location);
    if (!value)
        value = ValueIn(Kept(), location);
    if (!value)
        value = StoredValue(location);
    return value ? QVariant(*value) : QVariant();
}

void RegistryStore::WriteValue(qint32 root, const QString& keyPath, const QString& name,
                               const QVariant& value, int kind) {
    if (kind != Text)
        throw InvalidArgument(kWriteSource, Message(11408).arg(kind));
    const QString text = TextToStore(value);
    const Location location = Locate(root, keyPath, name, kWriteSource);
    if (Pending().depth == 0)
        return WriteValues(location.file, {{location.key, text}});
    // A file the batch already holds a value for has passed this check.
    if (!Pending().values.contains(location.file))
        if (const std::optional<QString> obstacle = WriteObstacle(location.file))
            throw WriteFailure({{location.key, text}}, location.file, obstacle);
    Pending().values[location.file][location.key] = text;
}

RegistryStore::Batch::Batch() {
    ++Pending().depth;
}

RegistryStore::Batch::~Batch() {
    try {
        Commit();
    } catch (...) {
    }
}

void RegistryStore::Batch::Commit() {
    if (!std::exchange(open_, false) || --Pending().depth > 0)
        return;
    const auto values = std::exchange(Pending().values, {});
    std::optional<AppError> failure;
    for (const auto& [file, fileValues] : values) {
        try {
            WriteValues(file, fileValues);
        } catch (const AppError& error) {
            if (!failure)
                failure = error;
        }
    }
    if (failure)
        throw *failure;
}

QString RegistryStore::FileName(const QString& keyPath) {
    return FileOf(KeyParts(keyPath, "RegistryStore.FileName"));
}

void RegistryStore::SetFolder(const QString& folder) {
    FolderOverride() = folder;
}
