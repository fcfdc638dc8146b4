// The store under a hard stop and under two running copies: a writer killed
// at any moment leaves every puzzle's progress either as it was or as it was
// being saved, and two copies saving different puzzles lose neither.

#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "support/TestRegistry.h"
#include "tools/StoreWriterValues.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

QTemporaryDir* configFolder = nullptr;
const TestRegistry* registry = nullptr;

const int kFirstPuzzle = 1;
const int kPuzzles = 30;
const int kKills = 30;
const int kKillBudgetMs = 20000;

QString SettingsFile() {
    return configFolder->filePath(QStringLiteral("Pinarejo/Zelvora.conf"));
}

// What lies in the settings folder, for a failure's message.
QByteArray FolderListing() {
    QStringList entries;
    const QDir folder(QFileInfo(SettingsFile()).path());
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden))
        entries << QStringLiteral("%1 (%2 bytes)").arg(entry.fileName()).arg(entry.size());
    return entries.join(QStringLiteral(", ")).toLocal8Bit();
}

QString StoredSave(int puzzle) {
    return RegistryStore()
        .ReadValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, puzzle),
                   QStringLiteral("Save"))
        .toString();
}

// A writer process with the test's config folder.
class Writer {
public:
    explicit Writer(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder->path());
        environment.insert(QStringLiteral("ZELVORA_TEST_REGISTRY"), registry->KeyPath());
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(ZELVORA_STORE_WRITER), arguments);
    }
    ~Writer() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // The next line the writer prints that starts with `prefix`, or an empty
    // text when none comes within the deadline.
    QByteArray WaitForLine(const QByteArray& prefix, int deadlineMs = 10000) {
        const QDeadlineTimer deadline(deadlineMs);
        while (!deadline.hasExpired()) {
            while (process_.canReadLine()) {
                const QByteArray line = process_.readLine().trimmed();
                if (line.startsWith(prefix))
                    return line;
            }
            if (!process_.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                break;
        }
        return QByteArray();
    }

    QProcess& Process() { return process_; }

private:
    QProcess process_;
};

} // namespace

class StoreDurabilityTest : public QObject {
    Q_OBJECT

    // Every puzzle's "Save" must be one of its two values, whole.
    void CheckOldOrNew(int& seenFirst, int& seenSecond) {
        QSettings file(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(file.status(), QSettings::NoError);
        for (int puzzle = kFirstPuzzle; puzzle < kFirstPuzzle + kPuzzles; ++puzzle) {
            const QString stored = StoredSave(puzzle);
            const QString first = StoreWriterValues::Progress(puzzle, 0);
            const QString second = StoreWriterValues::Progress(puzzle, 1);
            QVERIFY2(stored == first || stored == second,
                     qPrintable(QStringLiteral("puzzle %1 holds \"%2\"").arg(puzzle).arg(stored)));
            (stored == first ? seenFirst : seenSecond) += 1;
        }
    }

private slots:
    void aKilledWriterLeavesOldOrNewValues() {
        {
            Writer setup({"once", QString::number(kFirstPuzzle), QString::number(kPuzzles), "0"});
            QVERIFY(setup.Process().waitForFinished(60000));
            QCOMPARE(setup.Process().exitCode(), 0);
        }
        QRandomGenerator random(20260207);
        const QDeadlineTimer budget(kKillBudgetMs);
        int kills = 0, roundsSeen = 0, seenFirst = 0, seenSecond = 0;
        while (kills < kKills && !budget.hasExpired()) {
            Writer writer({"alternate", QString::number(kFirstPuzzle), QString::number(kPuzzles)});
            QVERIFY2(!writer.WaitForLine("ready").isEmpty(), FolderListing());
            // Half the kills come after whole rounds, so the file has moved
            // on; all come at a random moment inside a round.
            if (kills % 2 == 0) {
                const int rounds = random.bounded(1, 3);
                for (int round = 0; round < rounds; ++round)
                    QVERIFY2(!writer.WaitForLine("round").isEmpty(), FolderListing());
                roundsSeen += rounds;
            }
            QThread::usleep(random.bounded(0, 40000));
            writer.Process().kill();
            QVERIFY(writer.Process().waitForFinished(30000));
            QCOMPARE(writer.Process().exitStatus(), QProcess::CrashExit);
            ++kills;
            CheckOldOrNew(seenFirst, seenSecond);
            if (QTest::currentTestFailed())
                return;
        }
        qInfo("%d writers killed, %d whole rounds seen; values checked: %d old, %d new", kills,
              roundsSeen, seenFirst, seenSecond);
        QVERIFY(kills > 0);
        QVERIFY2(seenSecond > 0, "no kill came after a value had changed");

        // The store is still usable: no lock or half-written file is left
        // in the way of the next copy.
        Writer last({"once", QString::number(kFirstPuzzle), QString::number(kPuzzles), "2"});
        QVERIFY2(last.Process().waitForFinished(60000), FolderListing());
        QCOMPARE(last.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(last.Process().exitCode(), 0);
        for (int puzzle = kFirstPuzzle; puzzle < kFirstPuzzle + kPuzzles; ++puzzle)
            QCOMPARE(StoredSave(puzzle), StoreWriterValues::Progress(puzzle, 2));
        // A killed write may leave Qt's stale lock or temporary file behind;
        // harmless, as the write just made shows, but worth seeing.
        qInfo("left in the settings folder: %s", FolderListing().constData());
    }

    // A copy killed just after making Qt's lock file, before writing its
    // name in it, leaves it empty: nobody can tell whose it is but by its
    // age, and Qt waits for it to be half a minute old. The same goes for
    // the guard taken while a stale lock is removed.
    void anAbandonedLockDoesNotHoldUpTheNextSave_data() {
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("puzzle"); // a value not saved yet, so a save is due
        QTest::newRow("the lock") << QStringList{".lock"} << 401;
        QTest::newRow("the lock and its removal guard")
            << QStringList{".lock", ".lock.rmlock"} << 402;
    }

    void anAbandonedLockDoesNotHoldUpTheNextSave() {
        FILE_STORE_ONLY();
        QFETCH(QStringList, left);
        QFETCH(int, puzzle);
        QVERIFY(QDir().mkpath(QFileInfo(SettingsFile()).path()));
        for (const QString& suffix : left) {
            QFile abandoned(SettingsFile() + suffix);
            QVERIFY(abandoned.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(abandoned.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                          QFileDevice::FileModificationTime));
        }
        QElapsedTimer saving;
        saving.start();
        Writer writer({"once", QString::number(puzzle), "1", "0"});
        QVERIFY2(writer.Process().waitForFinished(60000), FolderListing());
        QCOMPARE(writer.Process().exitCode(), 0);
        QCOMPARE(StoredSave(puzzle), StoreWriterValues::Progress(puzzle, 0));
        for (const QString& suffix : left)
            QVERIFY2(!QFile::exists(SettingsFile() + suffix), FolderListing());
        QVERIFY2(saving.elapsed() < 10000, qPrintable(QString::number(saving.elapsed())));
    }

    // Another copy's write is seen by its time: one that got the same time
    // as the write before it, to the millisecond, would go unseen. A file
    // stamped ahead of this machine's clock (a shared folder whose server
    // runs ahead, a clock set back) is where that happens; every write
    // still leaves a later time than it found, and is seen.
    void everyWriteLeavesALaterTime() {
        FILE_STORE_ONLY();
        const int puzzle = 301;
        {
            Writer first({"once", QString::number(puzzle), "1", "0"});
            QVERIFY(first.Process().waitForFinished(60000));
            QCOMPARE(first.Process().exitCode(), 0);
        }
        const QDateTime ahead = QDateTime::currentDateTime().addSecs(60);
        {
            QFile file(SettingsFile());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.setFileTime(ahead, QFileDevice::FileModificationTime));
        }
        QCOMPARE(StoredSave(puzzle), StoreWriterValues::Progress(puzzle, 0));

        Writer second({"once", QString::number(puzzle), "1", "1"});
        QVERIFY(second.Process().waitForFinished(60000));
        QCOMPARE(second.Process().exitCode(), 0);
        const QDateTime after = QFileInfo(SettingsFile()).lastModified();
        QVERIFY2(after > ahead, qPrintable(after.toString(Qt::ISODateWithMs)));
        QCOMPARE(StoredSave(puzzle), StoreWriterValues::Progress(puzzle, 1));
    }

    // Two copies of the program, each saving its own puzzle: the file keeps
    // the same size throughout, the case where a copy cannot tell from the
    // file's size that the other one wrote.
    void twoCopiesKeepEachOthersProgress() {
        const int rounds = 250;
        Writer first({"race", "201", QString::number(rounds)});
        Writer second({"race", "202", QString::number(rounds)});
        const QByteArray firstMissing = first.WaitForLine("missing", 60000);
        const QByteArray secondMissing = second.WaitForLine("missing", 60000);
        QVERIFY(first.Process().waitForFinished(60000));
        QVERIFY(second.Process().waitForFinished(60000));
        QCOMPARE(first.Process().exitCode(), 0);
        QCOMPARE(second.Process().exitCode(), 0);
        QCOMPARE(firstMissing, QByteArray("missing 0"));
        QCOMPARE(secondMissing, QByteArray("missing 0"));
        QCOMPARE(StoredSave(201), StoreWriterValues::RaceValue(rounds - 1));
        QCOMPARE(StoredSave(202), StoreWriterValues::RaceValue(rounds - 1));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    configFolder = &folder;
    const TestRegistry testRegistry;
    registry = &testRegistry;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    QCoreApplication app(argc, argv);
    StoreDurabilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_store_durability.moc"
