// How long the game chooser's reading takes: a data file of 10,000 puzzles,
// one "Titulo" read for each through one IniFileReader, as the chooser does.
#include "outside/IniFileReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kPuzzles = 10000;

QByteArray PuzzleSection(int number) {
    const int columns = 12, rows = 12;
    QByteArray letters, solution;
    for (int i = 0; i < columns * rows; ++i)
        letters += char('A' + (i * 7 + number) % 26);
    for (int i = 1; i <= 40; ++i)
        solution += QByteArray::number(i * 3).rightJustified(3, '0');
    return "[" + QByteArray::number(number) + "]\r\n" + "Titulo=Juego número " +
           QByteArray::number(number) + "\r\nCantAncho=" + QByteArray::number(columns) +
           "\r\nCantAlto=" + QByteArray::number(rows) + "\r\nLetras=" + letters +
           "\r\nPalabras=GATO PERRO ÑANDÚ CABALLO VACA OVEJA\r\nSolucion=" + solution + "\r\n\r\n";
}

// Reads every title the way the chooser does; returns milliseconds.
double ReadAllTitles(const IniFileReader& reader, const QString& file, int& found) {
    QElapsedTimer timer;
    timer.start();
    found = 0;
    for (int n = 1;; ++n) {
        const QString title =
            reader.GetValue(QString::number(n), QStringLiteral("Titulo"), file, 0);
        if (title.isEmpty())
            break;
        ++found;
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zelvora.ini"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        for (int n = 1; n <= kPuzzles; ++n)
            out.write(PuzzleSection(n));
    }
    const qint64 bytes = QFileInfo(file).size();

    int found = 0;
    const IniFileReader reader;
    const double cold = ReadAllTitles(reader, file, found);
    double warmBest = 1e9;
    for (int run = 0; run < 5; ++run)
        warmBest = std::min(warmBest, ReadAllTitles(reader, file, found));

    std::printf("data file: %d puzzles, %.1f MB\n", kPuzzles, bytes / 1e6);
    std::printf("first pass (parse + %d lookups): %.1f ms\n", found + 1, cold);
    std::printf("later passes (parse kept, best of 5): %.1f ms, %.2f us per lookup\n", warmBest,
                warmBest * 1000.0 / (found + 1));
    return found == kPuzzles ? 0 : 2;
}
