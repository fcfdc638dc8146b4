// Saves puzzles' progress through the program's own store, over and over,
// for the tests that kill it mid-write or run two copies of it at once. The
// store lives under $XDG_CONFIG_HOME, as for the program.
//
//   store_writer alternate FIRST COUNT   flips each puzzle between its two
//                                        values, round after round, forever
//   store_writer once FIRST COUNT PHASE  writes one round of PHASE and ends
//   store_writer race PUZZLE ROUNDS      writes a new value each round and
//                                        checks the file still holds it
//
// Prints "ready" before the first write and "round N" after each round.

#include "StoreWriterValues.h"
#include "outside/AppError.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "support/TestRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

namespace {

void Say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SaveProgress(int puzzle, const QString& value) {
    RegistryStore().WriteValue(RegistryStore::CurrentUser, ProductInfo().GetRegistryKey(2, puzzle),
                               QStringLiteral("Save"), value, RegistryStore::Text);
}

void WriteRound(int first, int count, int phase) {
    for (int puzzle = first; puzzle < first + count; ++puzzle)
        SaveProgress(puzzle, StoreWriterValues::Progress(puzzle, phase));
}

// Whether the puzzle's progress is stored as `value` where another reader
// finds it (the settings file on disk, or on Windows the registry), not as
// this process remembers it.
bool StoredOutside(int puzzle, const QString& value) {
#ifdef Q_OS_WIN
    const QSettings registry(QStringLiteral("HKEY_CURRENT_USER\\") +
                                 ProductInfo().GetRegistryKey(2, puzzle),
                             QSettings::NativeFormat);
    return registry.value(QStringLiteral("Save")).toString() == value;
#else
    QFile file(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/Pinarejo/Zelvora.conf"));
    const QByteArray line = QByteArray::number(puzzle) + "\\Save=" + value.toLatin1() + "\n";
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(line);
#endif
}

int Alternate(int first, int count) {
    Say("ready");
    for (int round = 0;; ++round) {
        WriteRound(first, count, round % 2);
        Say("round " + QByteArray::number(round));
    }
}

int Once(int first, int count, int phase) {
    Say("ready");
    WriteRound(first, count, phase);
    Say("round 0");
    return 0;
}

// Each round's value is new, so a write of the other copy that brought back
// an older state of the file shows as this copy's last value missing, right
// after it was saved or by the time the next round starts.
int Race(int puzzle, int rounds) {
    Say("ready");
    const auto onDisk = [puzzle](int round) {
        return StoredOutside(puzzle, StoreWriterValues::RaceValue(round));
    };
    int missing = 0;
    for (int round = 0; round < rounds; ++round) {
        if (round > 0 && !onDisk(round - 1))
            ++missing;
        SaveProgress(puzzle, StoreWriterValues::RaceValue(round));
        if (!onDisk(round))
            ++missing;
        Say("round " + QByteArray::number(round));
    }
    Say("missing " + QByteArray::number(missing));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const TestRegistry registry(qEnvironmentVariable("ZELVORA_TEST_REGISTRY"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    const auto number = [&](int at) { return at < args.size() ? args[at].toInt() : 0; };
    try {
        if (args.value(0) == QLatin1String("alternate") && args.size() == 3)
            return Alternate(number(1), number(2));
        if (args.value(0) == QLatin1String("once") && args.size() == 4)
            return Once(number(1), number(2), number(3));
        if (args.value(0) == QLatin1String("race") && args.size() == 3)
            return Race(number(1), number(2));
    } catch (const AppError& error) {
        std::fprintf(stderr, "store_writer: %s\n", error.what());
        return 3;
    }
    std::fputs("usage: store_writer alternate FIRST COUNT | once FIRST COUNT PHASE | "
               "race PUZZLE ROUNDS\n",
               stderr);
    return 2;
}
