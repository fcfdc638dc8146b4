#include "outside/RegistryStore.h"

#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <memory>
#include <optional>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const char* const kReadSource = "RegistryStore.ReadValue";
const char* const kWriteSource = "RegistryStore.WriteValue";

AppError InvalidArgument(const char* source, const QString& what) {
    return AppError(ErrorNumber::InvalidArgument, QString::fromUtf8(source), what);
}

// Where one value lives: the settings object for its key path and the key
// inside it.
struct Location {
    std::unique_ptr<QSettings> settings;
    QString key;
};

Location Locate(qint32 root, const QString& keyPath, const QString& name, const char* source) {
    if (root != RegistryStore::CurrentUser)
        throw InvalidArgument(source, QStringLiteral("Only the current user's settings can be "
                                                     "reached (root %1).")
                                          .arg(root));
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
        throw InvalidArgument(source,
                              QStringLiteral("\"%1\" is not a usable value name.").arg(name));
    const QStringList parts = keyPath.split(u'\\');
    const bool wellFormed = parts.size() >= 3 &&
                            parts[0].compare(u"Software", Qt::CaseInsensitive) == 0 &&
                            !parts.contains(QString()) &&
                            std::none_of(parts.begin(), parts.end(),
                                         [](const QString& part) { return part.contains(u'/'); });
    if (!wellFormed)
        throw InvalidArgument(source, QStringLiteral("The key \"%1\" is not of the form "
                                                     "Software\\<maker>\\<product>\\...")
                                          .arg(keyPath));
#ifdef Q_OS_WIN
    return {std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + keyPath,
                                        QSettings::NativeFormat),
            name};
#else
    QStringList groups = parts.mid(3);
    groups.append(name);
    return {std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, parts[1],
                                        parts[2]),
            groups.join(u'/')};
#endif
}

#ifndef Q_OS_WIN
// Qt's escaping of section and key names in its settings files: '\' stands
// for '/', %XX and %UXXXX for other characters.
QString UnescapedIniName(QStringView name) {
    QString result;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u'\\') {
            result += u'/';
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < name.size() && name[i + 1] == u'U';
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype from = i + 1 + (wide ? 1 : 0);
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

// The value of key as it stands in the settings file, for values Qt reads
// as something other than text. Only unquoted, unescaped values are taken;
// ';' ends a value there, as Qt reads it.
std::optional<QString> RawFileText(const QString& fileName, const QString& key) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    QString group;
    std::optional<QString> found;
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = UnescapedIniName(QStringView(line).sliced(1, line.size() - 2).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u';') || equals <= 0)
            continue;
        QString fullKey = UnescapedIniName(QStringView(line).first(equals).trimmed());
        if (group.compare(u"General", Qt::CaseInsensitive) != 0)
            fullKey = group + u'/' + fullKey;
        if (fullKey == key)
            found = line.mid(equals + 1); // Qt keeps the last of repeated keys
    }
    if (!found || found->contains(u'"') || found->contains(u'\\'))
        return std::nullopt;
    return found->section(u';', 0, 0).trimmed();
}
#endif

// Qt reads an unquoted comma in a hand-edited value as a list, and @Type(...)
// as that type. The player wrote text, so give back the text as written:
// the raw line when it is plain, else the list joined with ", " (Qt drops
// the blanks around the commas; ", " is how people usually write them).
QString StoredText(const QSettings& settings, const QString& key) {
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return QStringLiteral("");
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() != QMetaType::QStringList && !value.toString().isEmpty())
        return value.toString();
#ifndef Q_OS_WIN
    if (const auto raw = RawFileText(settings.fileName(), key))
        return *raw;
#endif
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return QStringLiteral("");
}

// Why the settings file could not be written, in the system's words where
// the system gives them.
QString WriteFailureReason(const QSettings& settings) {
    const bool english = MessageCatalogue::CurrentLanguage() == MessageCatalogue::Language::English;
#ifdef Q_OS_WIN
    Q_UNUSED(settings);
    return english ? QStringLiteral("the registry refused the write")
                   : QStringLiteral("el registro no permitió escribirlo");
#else
    if (settings.status() == QSettings::FormatError)
        return english ? QStringLiteral("the file is not a readable settings file")
                       : QStringLiteral("el archivo no es un archivo de valores legible");
    const QFileInfo target(settings.fileName());
    if (target.isDir())
        return (english ? QStringLiteral("\"%1\" is a folder")
                        : QStringLiteral("\"%1\" es una carpeta"))
            .arg(QDir::toNativeSeparators(target.filePath()));
    QFileInfo ancestor(target.path());
    while (!ancestor.exists() && !ancestor.isRoot() && ancestor.filePath() != ancestor.path())
        ancestor = QFileInfo(ancestor.path());
    if (ancestor.exists() && !ancestor.isDir())
        return (english ? QStringLiteral("\"%1\" is a file, so the folder cannot be made")
                        : QStringLiteral("\"%1\" es un archivo y no se puede crear la carpeta"))
            .arg(QDir::toNativeSeparators(ancestor.filePath()));
    QSaveFile probe(target.filePath());
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return english ? QStringLiteral("the system refused the write")
                   : QStringLiteral("el sistema no permitió escribirlo");
#endif
}

// A failed write stays pending in Qt's shared cache of the file, where later
// reads would find it. Put the value back as the file still has it.
void ForgetFailedWrite(QSettings& settings, const QString& key, const QVariant& before) {
    if (before.isValid())
        settings.setValue(key, before);
    else
        settings.remove(key);
}

#ifndef Q_OS_WIN
// Qt keeps each settings file in a cache shared by the whole process and
// reads it again only when its size or its modification time, to the
// millisecond, has changed. Another copy of the program that rewrote the
// file within the same millisecond (or the same tick of a file system that
// keeps coarse times) without changing its size would go unseen: this copy
// would answer from the old contents, skip a write it believes made, or
// write the old contents back over the other copy's progress. So writers
// take turns, and each leaves the file with a time later than the one it
// found.
constexpr int kTurnWaitMs = 5000;
constexpr int kTurnPollMs = 2;
constexpr int kAbandonedLockMs = 1000;

// The turn is a lock on the settings folder, which the system lets go of
// when its holder ends, however it ends: a killed copy leaves nothing behind.
class WriteTurn {
public:
    explicit WriteTurn(int folder) : folder_(folder) {}
    WriteTurn(const WriteTurn&) = delete;
    WriteTurn& operator=(const WriteTurn&) = delete;
    ~WriteTurn() { ::close(folder_); }

private:
    int folder_;
};

// Qt's own lock of the file, left by a copy killed while holding it before
// it could sign it, would hold Qt up for half a minute. With the turn no
// other copy is inside it, so a second's patience is enough.
void ClearAbandonedQtLock(const QString& fileName) {
    const QString lockName = fileName + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockName))
        return;
    QLockFile abandoned(lockName);
    abandoned.setStaleLockTime(kAbandonedLockMs);
    if (abandoned.tryLock(2 * kAbandonedLockMs))
        abandoned.unlock();
}

// The turn, or nothing when it cannot be had (a folder that cannot be made
// or locked, a copy that hangs holding it): the write then goes ahead as Qt
// alone makes it, and fails there, saying why, if the folder is blocked.
std::unique_ptr<WriteTurn> TakeWriteTurn(const QString& fileName) {
    const QString folderName = QFileInfo(fileName).path();
    if (!QDir().mkpath(folderName))
        return nullptr;
    const int folder =
        ::open(QFile::encodeName(folderName).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder == -1)
        return nullptr;
    auto turn = std::make_unique<WriteTurn>(folder);
    const QDeadlineTimer deadline(kTurnWaitMs);
    while (::flock(folder, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
            return nullptr;
        QThread::msleep(kTurnPollMs);
    }
    ClearAbandonedQtLock(fileName);
    return turn;
}

// Milliseconds since the epoch, as Qt compares them; nothing for no file.
std::optional<qint64> ModificationTime(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists())
        return std::nullopt;
    return info.lastModified().toMSecsSinceEpoch();
}

void MoveTimeOn(const QString& fileName, std::optional<qint64> found) {
    if (!found)
        return;
    const std::optional<qint64> now = ModificationTime(fileName);
    if (!now || *now > *found)
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // File systems that keep whole seconds, or even two, need bigger steps.
    for (const qint64 stepMs : {1, 1000, 2000}) {
        const QDateTime later = QDateTime::fromMSecsSinceEpoch(*found + stepMs);
        if (file.setFileTime(later, QFileDevice::FileModificationTime) &&
            ModificationTime(fileName).value_or(0) > *found)
            return;
    }
}
#endif

QString TextToStore(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("");
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        throw AppError(ErrorNumber::TypeMismatch, QString::fromUtf8(kWriteSource),
                       QStringLiteral("A value of type %1 cannot be stored as text.")
                           .arg(QString::fromLatin1(value.typeName())));
    return value.toString();
}

} // namespace

QVariant RegistryStore::ReadValue(qint32 root, const QString& keyPath, const QString& name) const {
    const Location location = Locate(root, keyPath, name, kReadSource);
    // A value never written is an empty variant: its text is empty too, and
    // a caller that cares can tell it from a stored empty text.
    if (!location.settings->contains(location.key))
        return QVariant();
    return QVariant(StoredText(*location.settings, location.key));
}

void RegistryStore::WriteValue(qint32 root, const QString& keyPath, const QString& name,
                               const QVariant& value, int kind) {
    if (kind != Text)
        throw InvalidArgument(kWriteSource, QStringLiteral("Values are stored as text (kind 1), "
                                                           "not kind %1.")
                                                .arg(kind));
    const QString text = TextToStore(value);
    const Location location = Locate(root, keyPath, name, kWriteSource);
    QSettings& settings = *location.settings;
#ifndef Q_OS_WIN
    const std::unique_ptr<WriteTurn> turn = TakeWriteTurn(settings.fileName());
    const std::optional<qint64> found = ModificationTime(settings.fileName());
#endif
    // A value that is already stored is not written again: writing costs a
    // whole-file rewrite and a flush to disk. The store is brought up to
    // date first, so a value another copy of the program changed is seen.
    settings.sync();
    const QVariant before = settings.value(location.key);
    if (settings.status() == QSettings::NoError && before.typeId() == QMetaType::QString &&
        before.toString() == text)
        return;
    settings.setValue(location.key, text);
    settings.sync();
    if (settings.status() == QSettings::NoError) {
#ifndef Q_OS_WIN
        MoveTimeOn(settings.fileName(), found);
#endif
        return;
    }
    const QString reason = WriteFailureReason(settings);
    ForgetFailedWrite(settings, location.key, before);
    const QString description =
        MessageCatalogue::CurrentLanguage() == MessageCatalogue::Language::English
            ? QStringLiteral("The setting \"%1\" could not be saved in \"%2\": %3.")
            : QStringLiteral("No se pudo guardar el valor \"%1\" en \"%2\": %3.");
    throw AppError(ErrorNumber::PathFileAccess, QString::fromUtf8(kWriteSource),
                   description.arg(name, QDir::toNativeSeparators(settings.fileName()), reason));
}
