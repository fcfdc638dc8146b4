// The store between copies of the program and users of the machine, through
// the real program with a scripted player: a copy stopped while it holds the
// settings file's lock, a lock another user left, a settings file the player
// cannot read, a config folder the player cannot make, a full disk. Some run
// the program as an ordinary user, which only root can arrange.

#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "support/TestHome.h"
#include "tools/StoreWriterValues.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <optional>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const uid_t kOrdinaryUser = 65534; // nobody
// Far below the 10 s a save once waited for a lock; a frame is all the
// window may wait, this only tells a freeze from none.
const qint64 kNoFreezeMs = 5000;

QString Text(int number) {
    return MessageCatalogue::Text(number, MessageCatalogue::Language::English);
}

// The part of a message before its first placeholder.
QString Opening(int number) {
    return Text(number).section(QStringLiteral("%1"), 0, 0);
}

// A program folder, a config folder and a home that an ordinary user can
// be given, with the program's binaries copied where that user reaches them.
class Machine {
public:
    Machine() {
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadOther | QFile::ExeOther);
        for (const char* folder : {"program", "config", "runtime", "home", "bin"})
            QDir(dir_.path()).mkpath(folder);
        QFile::setPermissions(Path("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile data(Path("program/" + ProductInfo().GetDataFileName(2)));
        if (data.open(QIODevice::WriteOnly))
            data.write((PuzzleSection(1, "Uno", 3, 2, "SOLAXE", "SOL AXE", "001002003") +
                        PuzzleSection(2, "Dos", 4, 4, "GATOXXXXPEZXXXXX", "GATO PEZ", "001002"))
                           .toUtf8());
        for (const QString& binary :
             {QStringLiteral(ZELVORA_CLOSING_PLAYER), QStringLiteral(ZELVORA_STORE_WRITER)})
            QFile::copy(binary, Path("bin/" + QFileInfo(binary).fileName()));
    }

    QString Path(const QString& relative) const { return dir_.filePath(relative); }
    QString Settings() const { return Path("config/Pinarejo/Zelvora.conf"); }

    // The config folder, runtime folder and home become the ordinary user's.
    bool GiveToOrdinaryUser() const {
        QDir(Path("config")).mkpath("Pinarejo");
        bool given = true;
        for (const char* folder : {"config", "config/Pinarejo", "runtime", "home"})
            given = ::chown(QFile::encodeName(Path(folder)).constData(), kOrdinaryUser,
                            kOrdinaryUser) == 0 &&
                    given;
        return given;
    }

    // A program of bin/, as this user or as the ordinary one.
    void Start(QProcess& process, const QString& program, const QStringList& arguments,
               bool ordinaryUser = false, mode_t umask = 022) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("LANG", "en_US.UTF-8");
        environment.insert("XDG_CONFIG_HOME", Path("config"));
        environment.insert("XDG_RUNTIME_DIR", Path("runtime"));
        environment.insert("HOME", Path("home"));
        environment.insert("XDG_CACHE_HOME", Path("home"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.setChildProcessModifier([umask] { ::umask(umask); });
        QStringList command{Path("bin/" + program)};
        command << arguments;
        if (ordinaryUser)
            command = QStringList{"setpriv", QStringLiteral("--reuid=%1").arg(kOrdinaryUser),
                                  QStringLiteral("--regid=%1").arg(kOrdinaryUser), "--clear-groups",
                                  "--"} +
                      command;
        process.start(command.takeFirst(), command);
    }

    QString Stored(int puzzle, const char* name) const {
        return QSettings(Settings(), QSettings::IniFormat)
            .value(QStringLiteral("Juegos/%1/%2").arg(puzzle).arg(name))
            .toString();
    }

    QStringList Unsaved() const {
        return QDir(Path("config/Pinarejo")).entryList({"Zelvora-unsaved-*"}, QDir::Files);
    }

private:
    QTemporaryDir dir_;
};

// The next line a process prints that starts with `prefix`, or nothing.
QByteArray WaitForLine(QProcess& process, const QByteArray& prefix, int deadlineMs = 30000) {
    const QDeadlineTimer deadline(deadlineMs);
    while (!deadline.hasExpired()) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith(prefix))
                return line;
        }
        if (!process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
    }
    return QByteArray();
}

// Ends the player as the session would, and gives back what it was told,
// "KIND TEXT" a line, with how long ending took.
struct Ending {
    bool clean = false;
    qint64 ms = 0;
    QStringList told;
};

Ending EndPlayer(QProcess& player) {
    Ending ending;
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(player.processId()), SIGTERM);
    ending.clean = player.waitForFinished(30000) && player.exitStatus() == QProcess::NormalExit &&
                   player.exitCode() == 0;
    ending.ms = clock.elapsed();
    for (const QByteArray& line : player.readAllStandardOutput().split('\n'))
        if (line.startsWith("told "))
            ending.told << QString::fromUtf8(line.mid(5));
    return ending;
}

// SIGSTOP takes effect only once the kernel next stops the process: on
// another core it may run on a moment, long enough to let go of the lock.
bool HasStopped(qint64 pid) {
    for (int wait = 0; wait < 1000; ++wait) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const qsizetype end = line.lastIndexOf(')');
        if (end >= 0 && line.mid(end + 2, 1) == "T")
            return true;
        QThread::usleep(1000);
    }
    return false;
}

// Stops the writer at a moment it holds the settings file's lock.
bool StopWhileHoldingLock(QProcess& writer, const QString& settings) {
    const QByteArray pid = QByteArray::number(writer.processId());
    for (int attempt = 0; attempt < 2000; ++attempt) {
        ::kill(pid_t(writer.processId()), SIGSTOP);
        if (!HasStopped(writer.processId()))
            return false;
        QFile lock(settings + ".lock");
        if (lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed() == pid)
            return true;
        ::kill(pid_t(writer.processId()), SIGCONT);
        QThread::usleep(QRandomGenerator::global()->bounded(200, 3000));
    }
    return false;
}

void StopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(5000);
}

// Root with setpriv, where the ordinary user exists for the kernel.
bool CanSwitchUser() {
    if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty())
        return false;
    QProcess probe;
    probe.start("setpriv",
                {QStringLiteral("--reuid=%1").arg(kOrdinaryUser),
                 QStringLiteral("--regid=%1").arg(kOrdinaryUser), "--clear-groups", "--", "true"});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

} // namespace

class StoreOtherCopiesTest : public QObject {
    Q_OBJECT

    // The player's progress of puzzle 1: cells 2 and 3, the second word.
    static void CheckPlayerProgress(const Machine& machine) {
        QCOMPARE(machine.Stored(1, "Save"), QStringLiteral("002003"));
        QCOMPARE(machine.Stored(1, "Palabras"), QStringLiteral("02"));
    }

private slots:
    // Another copy stopped (a closed lid, a debugger) while holding the lock:
    // the player's switch and close do not wait for it, the player hears
    // once, and the progress reaches the file when that copy goes on, or
    // once it is gone: later in the player's session, or at the next start.
    // The other copy's progress is kept too.
    void aStoppedCopyHoldingTheLockFreezesNothing_data() {
        QTest::addColumn<QString>("then");
        QTest::newRow("the stopped copy goes on") << "resumes";
        QTest::newRow("it is killed while the player plays on") << "dies while playing";
        QTest::newRow("it is killed, then a copy starts") << "dies";
    }

    void aStoppedCopyHoldingTheLockFreezesNothing() {
        QFETCH(QString, then);
        Machine machine;
        QProcess other, player;
        const auto stop = qScopeGuard([&] {
            StopProcess(other);
            StopProcess(player);
        });
        machine.Start(other, "store_writer", {"alternate", "101", "20"});
        QVERIFY(!WaitForLine(other, "round 0").isEmpty());
        QVERIFY2(StopWhileHoldingLock(other, machine.Settings()), "never caught holding the lock");

        machine.Start(player, "closing_player", {machine.Path("program"), "switch"});
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        QElapsedTimer switching;
        switching.start();
        QVERIFY(!WaitForLine(player, "switched").isEmpty());
        const qint64 switchMs = switching.elapsed();
        QVERIFY(machine.Stored(1, "Save") != QStringLiteral("002003"));
        if (then == "dies while playing") {
            StopProcess(other);
            QVERIFY(QTest::qWaitFor([&] { return machine.Stored(1, "Save") == "002003"; }, 10000));
        }
        const Ending ending = EndPlayer(player);
        qInfo("switch %lld ms, close %lld ms; told: %s", switchMs, ending.ms,
              qPrintable(ending.told.join(" | ")));
        QVERIFY(ending.clean);
        QVERIFY2(switchMs < kNoFreezeMs && ending.ms < kNoFreezeMs, "the window waited");
        QCOMPARE(ending.told.size(), 1);
        QVERIFY2(ending.told[0].startsWith("information " + Opening(11411)),
                 qPrintable(ending.told[0]));
        if (then != "dies while playing") {
            QVERIFY(machine.Stored(1, "Save") != QStringLiteral("002003"));
            QCOMPARE(machine.Unsaved().size(), 1);
        }

        if (then == "resumes") {
            ::kill(pid_t(other.processId()), SIGCONT);
            QVERIFY(!WaitForLine(other, "round").isEmpty());
            QVERIFY(!WaitForLine(other, "round").isEmpty());
        } else if (then == "dies") {
            StopProcess(other);
            QProcess next;
            machine.Start(next, "store_writer", {"once", "150", "1", "0"});
            QVERIFY(next.waitForFinished(30000));
            QCOMPARE(next.exitCode(), 0);
        }
        StopProcess(other);
        CheckPlayerProgress(machine);
        QCOMPARE(machine.Stored(2, "Save"), QString());
        for (int puzzle = 101; puzzle < 121; ++puzzle) {
            const QString value = machine.Stored(puzzle, "Save");
            QVERIFY2(value == StoreWriterValues::Progress(puzzle, 0) ||
                         value == StoreWriterValues::Progress(puzzle, 1),
                     qPrintable(QStringLiteral("puzzle %1: %2").arg(puzzle).arg(value)));
        }
        QVERIFY(machine.Unsaved().isEmpty());
    }

    // A copy killed between making the lock file and signing it left it
    // empty: within a second its age shows it abandoned, and the close saves
    // without a word rather than keeping the progress for later.
    void anUnsignedLockIsClearedWithinASecond() {
        Machine machine;
        QProcess player;
        const auto stop = qScopeGuard([&] { StopProcess(player); });
        machine.Start(player, "closing_player", {machine.Path("program"), "close"});
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        QFile lock(machine.Settings() + ".lock");
        QVERIFY(QDir().mkpath(QFileInfo(lock).path()) && lock.open(QIODevice::WriteOnly));
        lock.close();
        const Ending ending = EndPlayer(player);
        QVERIFY(ending.clean);
        QVERIFY2(ending.told.isEmpty(), qPrintable(ending.told.join(" | ")));
        CheckPlayerProgress(machine);
        QVERIFY(machine.Unsaved().isEmpty());
    }

    // A copy run by another user (root, started with sudo -E) was killed
    // holding the lock: the player cannot open its lock file, yet no copy
    // holds it, and it must not stand in the way.
    void aLockAnotherUserLeftBlocksNothing_data() {
        QTest::addColumn<int>("umask");
        QTest::newRow("lock readable by all") << 022;
        QTest::newRow("lock readable by its owner only") << 077;
    }

    void aLockAnotherUserLeftBlocksNothing() {
        QFETCH(int, umask);
        if (!CanSwitchUser())
            QSKIP("running the program as another user needs root and setpriv");
        Machine machine;
        if (!machine.GiveToOrdinaryUser())
            QSKIP("the ordinary user cannot be given files here");
        QProcess other, player;
        const auto stop = qScopeGuard([&] {
            StopProcess(other);
            StopProcess(player);
        });
        machine.Start(other, "store_writer", {"alternate", "101", "5"}, false, mode_t(umask));
        QVERIFY(!WaitForLine(other, "round 0").isEmpty());
        QVERIFY(StopWhileHoldingLock(other, machine.Settings()));
        StopProcess(other);
        QVERIFY(::chown(QFile::encodeName(machine.Settings()).constData(), kOrdinaryUser,
                        kOrdinaryUser) == 0);
        QThread::msleep(1100); // as old as a lock must be to count as left

        machine.Start(player, "closing_player", {machine.Path("program"), "close"}, true);
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        const Ending ending = EndPlayer(player);
        qInfo("close %lld ms; told: %s", ending.ms, qPrintable(ending.told.join(" | ")));
        QVERIFY(ending.clean);
        QVERIFY(ending.ms < kNoFreezeMs);
        QVERIFY2(ending.told.isEmpty(), qPrintable(ending.told.join(" | ")));
        CheckPlayerProgress(machine);
        QVERIFY(!QFile::exists(machine.Settings() + ".lock"));
    }

    // The player cannot read the settings file (another user's, 0600): they
    // hear so and why at once, the save that follows says why it failed, and
    // the file is left byte for byte.
    void anUnreadableSettingsFileIsToldAndLeftAlone() {
        if (!CanSwitchUser())
            QSKIP("a file the player cannot read needs another user, so root and setpriv");
        Machine machine;
        if (!machine.GiveToOrdinaryUser())
            QSKIP("the ordinary user cannot be given files here");
        const QByteArray before = "[Configuracion]\nColorFondo=255\n\n[Juegos]\n1\\Save=001\n";
        QFile file(machine.Settings());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));

        QProcess player;
        const auto stop = qScopeGuard([&] { StopProcess(player); });
        machine.Start(player, "closing_player", {machine.Path("program"), "close"}, true);
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        const Ending ending = EndPlayer(player);
        qInfo("told: %s", qPrintable(ending.told.join(" | ")));
        QVERIFY(ending.clean);
        QCOMPARE(ending.told.size(), 2);
        const QString path = QDir::toNativeSeparators(machine.Settings());
        QVERIFY2(ending.told[0].startsWith("information " + Opening(11412) + path) &&
                     ending.told[0].contains("Permission denied"),
                 qPrintable(ending.told[0]));
        QVERIFY2(ending.told[1].startsWith("error ") &&
                     ending.told[1].contains(Text(11413).section("%1", 0, 0)),
                 qPrintable(ending.told[1]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(machine.Path("config/Pinarejo")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Zelvora.conf"});
    }

    // The folder the store goes in cannot be made: the reason is permission.
    void aFolderThatCannotBeMadeIsAMatterOfPermission() {
        if (!CanSwitchUser())
            QSKIP("a folder the player may not write needs another user, so root and setpriv");
        Machine machine;
        QProcess writer;
        machine.Start(writer, "store_writer", {"once", "1", "1", "0"}, true);
        QVERIFY(writer.waitForFinished(30000));
        const QByteArray said = writer.readAllStandardError();
        QCOMPARE(writer.exitCode(), 3);
        QVERIFY2(said.contains(Text(11415).arg(machine.Path("config/Pinarejo")).toUtf8()),
                 said.constData());
    }

    // A full disk is called a full disk; the file stays as it was, and the
    // next close after space comes back saves.
    void aFullDiskIsCalledFull() {
        Machine machine;
        const QString config = machine.Path("config");
        if (::mount("tmpfs", QFile::encodeName(config).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("mounting a small disk needs root");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(config), MNT_DETACH); });
        QProcess player;
        const auto stop = qScopeGuard([&] { StopProcess(player); });
        QProcess writer;
        machine.Start(writer, "store_writer", {"once", "5", "1", "0"});
        QVERIFY(writer.waitForFinished(30000));
        QFile file(machine.Settings());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        QFile filler(config + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();

        machine.Start(player, "closing_player", {machine.Path("program"), "close"});
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        Ending ending = EndPlayer(player);
        qInfo("told: %s", qPrintable(ending.told.join(" | ")));
        QCOMPARE(ending.told.size(), 1);
        QVERIFY2(ending.told[0].contains(Text(11414)), qPrintable(ending.told[0]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();

        QVERIFY(filler.remove());
        machine.Start(player, "closing_player", {machine.Path("program"), "close"});
        QVERIFY(!WaitForLine(player, "ready").isEmpty());
        ending = EndPlayer(player);
        QVERIFY2(ending.told.isEmpty(), qPrintable(ending.told.join(" | ")));
        CheckPlayerProgress(machine);
    }
};

#else
// Stopped copies, other users and small disks are arranged the Linux way.
class StoreOtherCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void linuxOnly() { QSKIP("these cases are arranged the Linux way"); }
};
#endif

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StoreOtherCopiesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_store_other_copies.moc"
