// The bytes are the puzzle data file. The titles are listed and puzzles are
// read through the core, as the chooser and the board read them, with no
// window: what a puzzle read whole holds is held against the rules it must
// keep and against a plain second reading of the file's rules.
#include "FuzzFolder.h"
#include "PlainProfileReader.h"

#include "core/DataFileKeys.h"
#include "core/DigitList.h"
#include "core/PuzzleFile.h"
#include "core/PuzzleRules.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Reading every puzzle of a long file would make each input slow; the
// first few, the last listed and the one after it cover the cases.
constexpr qint32 FirstRead = 4;

QString DataFile() {
    return QDir(FuzzFolder::Path()).filePath(QStringLiteral("zelvora.ini"));
}

void WriteDataFile(QByteArrayView bytes) {
    QFile file(DataFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        qFatal("cannot write %s", qPrintable(DataFile()));
}

[[noreturn]] void Broken(const char* what, qint32 number, const QString& detail = QString()) {
    std::fprintf(stderr, "Puzzle %d: %s %s\n", number, what, qPrintable(detail));
    std::abort();
}

void Compare(const QString& key, const QString& read, const PlainProfileReader& plain,
             qint32 number) {
    std::optional<QString> expected = plain.Value(QString::number(number), key);
    // The board composes letters (a base and its accent make one cell).
    if (expected && key == DataFileKeys::Letters)
        expected = PuzzleRules::Composed(*expected);
    if (expected && *expected != read)
        Broken("read another value than the file holds for", number,
               QStringLiteral("%1: \"%2\" instead of \"%3\"")
                   .arg(key, read.left(200), expected->left(200)));
}

// A puzzle read whole keeps every rule the board holds it to.
void CheckRules(const Puzzle& puzzle, qint32 number) {
    if (!PuzzleRules::SizeFits(puzzle.columns, puzzle.rows))
        Broken("read with a size a cell list cannot name", number);
    if (!PuzzleRules::WordsFit(puzzle.words))
        Broken("read with more words than the list can save", number);
    for (qsizetype at = 0; at < puzzle.letters.size(); ++at)
        if (PuzzleRules::WideLetterAt(puzzle.letters, at))
            Broken("read with a letter wider than a cell at", number, QString::number(at + 1));
    const DigitList::Reading solution =
        DigitList::Cells.Read(puzzle.solution, puzzle.columns * puzzle.rows);
    for (const qint32 cell : solution.named)
        if (cell < 1 || cell > puzzle.columns * puzzle.rows)
            Broken("named a cell past the grid in its solution:", number, QString::number(cell));
}

void Read(const PuzzleFile& file, qint32 number, const QString& listedTitle,
          const PlainProfileReader& plain) {
    Puzzle puzzle;
    try {
        puzzle = file.Read(number, QStringLiteral("fuzz_datafile"));
    } catch (const AppError&) {
        return; // the chooser reports it and the board keeps its puzzle
    }
    CheckRules(puzzle, number);
    if (!listedTitle.isNull() && puzzle.title != listedTitle)
        Broken("read with another title than the list shows", number);
    Compare(DataFileKeys::Title, puzzle.title, plain, number);
    Compare(DataFileKeys::Letters, puzzle.letters, plain, number);
    Compare(DataFileKeys::Words, puzzle.words, plain, number);
    Compare(DataFileKeys::Solution, puzzle.solution, plain, number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteDataFile(QByteArrayView(data, qsizetype(size)));
    const IniFileReader reader; // one per input: nothing of the last file is kept
    const PuzzleFile file(reader, DataFile());
    const QStringList titles = file.Titles();
    const auto listed = qint32(titles.size());
    const PlainProfileReader plain(QByteArrayView(data, qsizetype(size)));
    for (qint32 number = 1; number <= listed + 1; ++number)
        Compare(DataFileKeys::Title, number <= listed ? titles[number - 1] : QString(), plain,
                number);

    for (qint32 number = 1; number <= listed + 1; ++number) {
        if (number > FirstRead && number < listed)
            number = listed;
        Read(file, number, number <= listed ? titles[number - 1] : QString(), plain);
    }
    return 0;
}
