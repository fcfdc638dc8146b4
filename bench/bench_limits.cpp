// What a stored value or a data file at the edge of the limits costs: time
// and peak memory, one figure per process so that the peak is its own.
// Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_limits font
//   QT_QPA_PLATFORM=offscreen build/bench/bench_limits million
#include "ProcessMemory.h"
#include "app/frmMain.h"
#include "board/ctlCuadricula.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <cstdio>

namespace {
using ProcessMemory::PeakKb;
using ProcessMemory::ResidentKb;

void Print(const char* what, double ms, long peakKb, long heldKb) {
    std::printf("| %s | %.0f ms | %.1f MB | %.1f MB |\n", what, ms, peakKb / 1024.0,
                heldKb / 1024.0);
}

// A picture of the size a player would pick for a background.
QString WritePicture(const TestHome& home) {
    QImage picture(1024, 768, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), Qt::darkCyan);
    painter.fillRect(QRect(100, 100, 600, 400), Qt::yellow);
    painter.end();
    const QString path = home.ProgramFolder() + QStringLiteral("/fondo.png");
    picture.save(path);
    return path;
}

// A stored FontSize of 2048 with a background picture: switching from a
// 3 x 3 puzzle to a 10 x 10 one, through the chooser, to the painted window.
int FontFigure() {
    StandInPerson person;
    TestHome home;
    home.WriteDataFile(PuzzleSection(1, "Chica", 3, 3, "ABCDEFGHI", "ABC", "001002003") +
                       PuzzleSection(2, "Grande", 10, 10, QString(100, 'M'), "MMM", "001002003") +
                       PuzzleSection(3, "Mayor", 33, 30, QString(990, 'M'), "MMM", "001002003"));
    home.Store(0, "ImageFile", WritePicture(home));
    home.Store(0, "FontSize", "2048");
    frmMain window;
    window.show();
    QApplication::processEvents();
    if (!ChooserDriver::ChooseFromMenu(&window, 1))
        return 1;
    window.repaint();
    QElapsedTimer timer;
    timer.start();
    if (!ChooserDriver::ChooseFromMenu(&window, 2))
        return 1;
    window.repaint();
    window.Board()->Grid()->viewport()->repaint();
    const double ms = timer.nsecsElapsed() / 1e6;
    Print("FontSize 2048 with a picture: switching to a 10 x 10 puzzle", ms, PeakKb(),
          ResidentKb());
    std::printf("(font size shown: %g points; the player was told %d time(s))\n",
                window.Board()->BoardFont()->Size(), person.Count(QStringLiteral("error")));

    // The largest size offered that a stored value may still hold, on the
    // largest board: a grid far larger than the screen.
    home.Store(0, "FontSize", "72");
    timer.restart();
    if (!ChooserDriver::ChooseFromMenu(&window, 3))
        return 1;
    window.repaint();
    window.Board()->Grid()->viewport()->repaint();
    Print("FontSize 72 with a picture: switching to a 33 x 30 puzzle", timer.nsecsElapsed() / 1e6,
          PeakKb(), ResidentKb());
    std::printf("(board %d x %d pixels)\n", window.Board()->GetGridWidth(),
                window.Board()->GetGridHeight());
    return 0;
}

// A data file of a million puzzles, written piece by piece so that writing
// it costs this process no memory.
bool WriteMillion(const TestHome& home) {
    QFile file(home.DataFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk;
    for (int number = 1; number <= 1000000; ++number) {
        chunk += PuzzleSection(number, QStringLiteral("Sopa número %1").arg(number), 8, 8,
                               QString(64, 'A'), "AAA", "001002003")
                     .toUtf8();
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    return true;
}

// Opening the chooser over that file, then choosing its last puzzle.
int MillionFigure() {
    StandInPerson person;
    TestHome home;
    if (!WriteMillion(home))
        return 1;
    ctlCuadricula board;
    board.resize(400, 400);
    board.show();
    const long before = ResidentKb();
    QElapsedTimer timer;
    double shown = 0;
    int rows = 0;
    QTimer::singleShot(0, [&] {
        shown = timer.nsecsElapsed() / 1e6;
        auto* chooser = QApplication::activeModalWidget();
        if (!chooser)
            return;
        auto* list = chooser->findChild<ctlGrid*>(QStringLiteral("ctlGridJuegos"));
        rows = list->GetRowCount();
        list->ChangeCellSelected(1, rows);
        emit list->CellClick(1, rows);
    });
    timer.start();
    try {
        board.ShowGames();
    } catch (const AppError& error) {
        std::printf("(the chooser failed: %s)\n", qPrintable(error.Description()));
    }
    const double chosen = timer.nsecsElapsed() / 1e6;
    Print("a million puzzles: opening the chooser", shown, PeakKb(), ResidentKb() - before);
    Print("a million puzzles: opening it and choosing the last", chosen, PeakKb(),
          ResidentKb() - before);
    std::printf("(rows listed: %d; puzzle loaded: %d \"%s\"; errors told: %d)\n", rows,
                board.NumeroJuego(), qPrintable(board.Titulo()),
                person.Count(QStringLiteral("error")));
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    std::printf("| figure | time | peak memory | held after |\n|---|---|---|---|\n");
    if (which == QLatin1String("font"))
        return FontFigure();
    if (which == QLatin1String("million"))
        return MillionFigure();
    std::fprintf(stderr, "usage: bench_limits font|million\n");
    return 2;
}
