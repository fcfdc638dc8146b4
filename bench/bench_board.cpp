// How long the board and the main window take for what a player feels:
// showing a puzzle, a mark, opening the chooser, choosing a puzzle.
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_board
#include "app/frmMain.h"
#include "board/ctlCuadricula.h"
#include "outside/ctlGrid.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

QString only; // run just the figures whose name holds this text

// Runs `once` `runs` times and prints the median in milliseconds.
double Report(const char* what, int runs, const std::function<double()>& once, double goal) {
    if (!QString::fromUtf8(what).contains(only))
        return 0;
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i)
        samples.push_back(once());
    const double median = Median(samples);
    std::printf("%-58s %9.3f ms  (goal < %g ms, %s)\n", what, median, goal,
                median < goal ? "met" : "NOT met");
    return median;
}

QString AllCells(int count) {
    QString list;
    for (int i = 1; i <= count; ++i)
        list += QString::number(i).rightJustified(3, QLatin1Char('0'));
    return list;
}

QString LargestPuzzle() {
    return PuzzleSection(1, "Grande", 33, 30, QString(990, QChar(0x00D1)), "UNO DOS",
                         AllCells(990));
}

QString ManyPuzzles(int count) {
    QString file;
    file.reserve(count * 120);
    for (int i = 1; i <= count; ++i)
        file += PuzzleSection(i, QStringLiteral("Sopa número %1").arg(i), 8, 8, QString(64, 'A'),
                              "AAA", "001002003");
    return file;
}

double Since(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1)
        only = QString::fromLocal8Bit(argv[1]);
    StandInPerson person;
    TestHome home;

    home.WriteDataFile(LargestPuzzle());
    home.Store(1, "Save", AllCells(990));
    ctlCuadricula board;
    board.resize(900, 900);
    board.show();
    QApplication::processEvents();

    Report(
        "LoadPuzzle + Refresh(true) + paint, 33x30, all marked", 41,
        [&] {
            QElapsedTimer timer;
            timer.start();
            board.SetNumeroJuego(1);
            board.LoadPuzzle();
            board.Refresh(true);
            board.Grid()->viewport()->repaint();
            return Since(timer);
        },
        5.0);

    int toggles = 0;
    Report(
        "one mark toggled and repainted", 201,
        [&] {
            QElapsedTimer timer;
            timer.start();
            emit board.Grid()->CellClick(1 + toggles % 33, 1 + toggles / 33 % 30);
            ++toggles;
            QApplication::processEvents(); // paints what the toggle made dirty
            return Since(timer);
        },
        1.0);

    home.WriteDataFile(ManyPuzzles(10000));
    Report(
        "opening the chooser over 10,000 puzzles (file unchanged)", 11,
        [&] {
            QElapsedTimer timer;
            double shown = 0;
            QTimer::singleShot(0, [&] {
                shown = Since(timer);
                static_cast<QDialog*>(QApplication::activeModalWidget())->reject();
            });
            timer.start();
            board.ShowGames();
            return shown;
        },
        100.0);
    Report(
        "opening the chooser over 10,000 puzzles (file just written)", 5,
        [&] {
            home.WriteDataFile(ManyPuzzles(10000));
            QElapsedTimer timer;
            double shown = 0;
            QTimer::singleShot(0, [&] {
                shown = Since(timer);
                static_cast<QDialog*>(QApplication::activeModalWidget())->reject();
            });
            timer.start();
            board.ShowGames();
            return shown;
        },
        100.0);

    QFile bundled(QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini"));
    if (!bundled.open(QIODevice::ReadOnly))
        return 1;
    home.WriteDataFileBytes(bundled.readAll());
    frmMain window;
    window.show();
    QApplication::processEvents();
    auto* choose = window.findChild<QAction*>(QStringLiteral("mnuOpcSeleccionarJuego"));
    Report(
        "choosing the largest bundled puzzle, pick to painted window", 21,
        [&] {
            QElapsedTimer timer;
            QTimer::singleShot(0, [&] {
                auto* chooser = QApplication::activeModalWidget();
                auto* list = chooser->findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
                list->ChangeCellSelected(1, list->GetRowCount());
                timer.start();
                emit list->CellClick(1, list->GetRowCount());
            });
            choose->trigger();
            window.repaint();
            return Since(timer);
        },
        16.0);
    return 0;
}
