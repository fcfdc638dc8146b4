#include "outside/RegistryStore.h"

#include "outside/AppError.h"
#include "outside/AppServices.h"
#include "outside/MessageCatalogue.h"
#include "outside/PersonStandIn.h"
#include "outside/ProductInfo.h"
#include "outside/StoreFileFormat.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <map>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const char* const kReadSource = "RegistryStore.ReadValue";
const char* const kWriteSource = "RegistryStore.WriteValue";

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

// Where one value lives: its file and its key inside it.
struct Location {
    QString file;
    QString key;
};

QStringList KeyParts(const QString& keyPath, const char* source) {
    const QStringList parts = keyPath.split(u'\\');
    if (parts.size() < 3 || parts[0].compare(u"Software", Qt::CaseInsensitive) != 0 ||
        parts.contains(QString()) || keyPath.contains(u'/'))
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
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
        throw InvalidArgument(source, Message(11406).arg(name));
    const QStringList parts = KeyParts(keyPath, source);
#ifdef Q_OS_WIN
    // There the store is the registry itself, as the key path says.
    return {QStringLiteral("HKEY_CURRENT_USER\\") + keyPath, name};
#else
    return {FileOf(parts), (parts.mid(3) << name).join(u'/')};
#endif
}

QSettings::Format StoreFormat() {
#ifdef Q_OS_WIN
    return QSettings::NativeFormat;
#else
    return StoreFileFormat::Format();
#endif
}

// Values held by open batches, by file and key, and how deep they nest.
struct PendingWrites {
    int depth = 0;
    std::map<QString, std::map<QString, QString>> values;
};

PendingWrites& Pending() {
    static PendingWrites pending;
    return pending;
}

std::optional<QString> PendingValue(const Location& location) {
    const auto file = Pending().values.find(location.file);
    if (file == Pending().values.end() || !file->second.contains(location.key))
        return std::nullopt;
    return file->second.at(location.key);
}

// What stands in the way of writing the file, in the player's language
// (the system's own reason in Qt's words, translated as Qt is); nothing
// when a write looks possible. Makes the file's folder, as a write would.
std::optional<QString> WriteObstacle(const QString& fileName) {
#ifdef Q_OS_WIN
    return std::nullopt; // a registry key, not a file
#endif
    const QFileInfo target(fileName);
    if (target.isDir())
        return Message(11402).arg(QDir::toNativeSeparators(target.filePath()));
    QFileInfo ancestor(target.path());
    while (!ancestor.exists() && !ancestor.isRoot() && ancestor.filePath() != ancestor.path())
        ancestor = QFileInfo(ancestor.path());
    if (ancestor.exists() && !ancestor.isDir())
        return Message(11403).arg(QDir::toNativeSeparators(ancestor.filePath()));
    QDir().mkpath(target.path());
    QSaveFile probe(target.filePath());
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return std::nullopt;
}

// Names the values by the last part of their keys.
AppError WriteFailure(const std::map<QString, QString>& values, const QString& fileName,
                      const QString& reason) {
    QStringList names;
    for (const auto& value : values)
        names << value.first.section(u'/', -1);
    return AppError(ErrorNumber::PathFileAccess, QString::fromUtf8(kWriteSource),
                    Message(11401).arg(names.join(QStringLiteral(", ")),
                                       QDir::toNativeSeparators(fileName), reason));
}

// Qt's lock of the file (or its guard for removing stale locks), left by a
// copy killed holding it, empty when the kill came before it was signed,
// would hold every later write up for half a minute. Qt's owner keeps the
// file flock()ed while it lives, so a lock that can be flock()ed is
// nobody's; a young one may be a lock being taken, so it is given 100 ms.
void ClearAbandonedLocks(const QString& fileName) {
#ifdef Q_OS_UNIX
    for (const QString& name :
         {fileName + QStringLiteral(".lock.rmlock"), fileName + QStringLiteral(".lock")}) {
        const QByteArray path = QFile::encodeName(name);
        for (int tries = 0; tries < 15; ++tries) {
            const int lock = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
            if (lock < 0)
                break;
            const bool held = ::flock(lock, LOCK_EX | LOCK_NB) != 0;
            const bool young =
                QFileInfo(name).lastModified().msecsTo(QDateTime::currentDateTime()) < 100;
            if (!held && !young)
                ::unlink(path.constData());
            ::close(lock);
            if (held || !young)
                break;
            QThread::msleep(10);
        }
    }
#else
    Q_UNUSED(fileName);
#endif
}

// Tells the player once, when the program is next idle: the store may be
// read in the middle of drawing the board.
void TellPlayer(const QString& text) {
    if (!QCoreApplication::instance())
        return;
    QTimer::singleShot(0, QCoreApplication::instance(), [text] {
        // A tool without windows has nobody to tell.
        if (PersonStandIn::Current() || qobject_cast<QApplication*>(QCoreApplication::instance()))
            AppServices().ShowInformation(text, ProductInfo().GetProductName(2));
    });
}

// A name beside the damaged file that says what it is and since when.
QString AsideName(const QString& fileName) {
    const QFileInfo file(fileName);
    const QString stem = file.path() + u'/' + file.completeBaseName() +
                         QStringLiteral("-damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString name = stem + QStringLiteral(".conf");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1.conf").arg(n);
    return name;
}

// A file that was read with damaged lines is kept aside as it was read, and
// written again, whole, with what could be read. When either cannot be done
// the damage stays known, and the next use tries again.
void RepairIfDamaged(QSettings& settings) {
    const QString fileName = settings.fileName();
    const std::optional<QByteArray> damaged = StoreFileFormat::DamagedBytes(fileName);
    if (!damaged)
        return;
    const QString aside = AsideName(fileName);
    QFile copy(aside);
    const bool kept = copy.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                      copy.write(*damaged) == damaged->size() && copy.flush();
    copy.close();
    if (kept) {
        // Any change makes Qt write the whole file from what was read.
        settings.setValue(QStringLiteral("Zelvora-repair"), QString());
        settings.remove(QStringLiteral("Zelvora-repair"));
        settings.sync();
    }
    if (!kept || settings.status() != QSettings::NoError) {
        QFile::remove(aside);
        return;
    }
    StoreFileFormat::ForgetDamage(fileName);
    TellPlayer(
        Message(11400).arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(aside)));
}

// Writes the values in one write of the file; values already stored as they
// are cost no write.
void WriteValues(const QString& fileName, const std::map<QString, QString>& values) {
    QSettings settings(fileName, StoreFormat());
    RepairIfDamaged(settings);
    std::map<QString, QVariant> before;
    bool changed = false;
    for (const auto& [key, text] : values) {
        before[key] = settings.value(key);
        changed = changed || !before[key].isValid() || before[key].toString() != text;
    }
    if (!changed)
        return;
    ClearAbandonedLocks(fileName);
    for (const auto& [key, text] : values)
        settings.setValue(key, text);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return;
    const QString reason = WriteObstacle(fileName).value_or(Message(11404));
    // A failed write stays pending in Qt's shared cache of the file, where
    // later reads would find it: put back what the file still has.
    for (const auto& [key, old] : before)
        old.isValid() ? settings.setValue(key, old) : settings.remove(key);
    throw WriteFailure(values, fileName, reason);
}

QString TextToStore(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("");
    if (!value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        throw AppError(ErrorNumber::TypeMismatch, QString::fromUtf8(kWriteSource),
                       Message(11409).arg(QString::fromLatin1(value.typeName())));
    return value.toString();
}

} // namespace

QVariant RegistryStore::ReadValue(qint32 root, const QString& keyPath, const QString& name) const {
    const Location location = Locate(root, keyPath, name, kReadSource);
    if (const std::optional<QString> pending = PendingValue(location))
        return QVariant(*pending);
    QSettings settings(location.file, StoreFormat());
    RepairIfDamaged(settings);
    // A value never written is an empty variant: its text is empty too, and
    // a caller that cares can tell it from a stored empty text.
    const QVariant value = settings.value(location.key);
    return value.isValid() ? QVariant(value.toString()) : QVariant();
}

void RegistryStore::WriteValue(qint32 root, const QString& keyPath, const QString& name,
                               const QVariant& value, int kind) {
    if (kind != Text)
        throw InvalidArgument(kWriteSource, Message(11408).arg(kind));
    const QString text = TextToStore(value);
    const Location location = Locate(root, keyPath, name, kWriteSource);
    if (Pending().depth == 0)
        return WriteValues(location.file, {{location.key, text}});
    if (const std::optional<QString> obstacle = WriteObstacle(location.file))
        throw WriteFailure({{location.key, text}}, location.file, *obstacle);
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
