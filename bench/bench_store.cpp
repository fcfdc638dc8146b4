// How long the settings store takes for what the game asks of it: reading a
// value back, saving one, and the two closing saves of a puzzle, in a file
// holding the progress of 200 puzzles.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_store
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void Report(const char* what, int runs, const std::function<void(int)>& once) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        once(i);
        samples.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%-58s %9.3f ms\n", what, Median(samples));
}

QString Key(int puzzle) {
    return ProductInfo().GetRegistryKey(2, puzzle);
}

QString Marks(int round) {
    return QStringLiteral("%1").arg(round % 999 + 1, 3, 10, QLatin1Char('0')).repeated(30);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestHome home;
    for (int puzzle = 1; puzzle <= 200; ++puzzle) {
        home.Store(puzzle, QStringLiteral("Save"), Marks(puzzle));
        home.Store(puzzle, QStringLiteral("Palabras"), QStringLiteral("0102"));
    }
    RegistryStore store;
    Report("store: read one saved value", 201, [&](int round) {
        store.ReadValue(RegistryStore::CurrentUser, Key(1 + round % 200), QStringLiteral("Save"));
    });
    Report("store: save one changed value", 51, [&](int round) {
        store.WriteValue(RegistryStore::CurrentUser, Key(7), QStringLiteral("Save"),
                         Marks(round + 1), RegistryStore::Text);
    });
    Report("store: closing saves of a puzzle (marks, then words)", 51, [&](int round) {
        RegistryStore::Batch saves; // as the main window saves them
        store.WriteValue(RegistryStore::CurrentUser, Key(9), QStringLiteral("Save"),
                         Marks(round + 1), RegistryStore::Text);
        store.WriteValue(RegistryStore::CurrentUser, Key(9), QStringLiteral("Palabras"),
                         QString::number(round % 2 ? 102 : 304), RegistryStore::Text);
        saves.Commit();
    });
    return 0;
}
