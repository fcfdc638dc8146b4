// The bundled puzzles, read as the game reads them and put through the
// data-file checker, and the maker that makes them.

#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/IniFileReader.h"
#include "outside/ctlGrid.h"

#include "GridWords.h"
#include "MakerRefusal.h"
#include "PuzzleChecker.h"
#include "PuzzleMaker.h"
#include "WordListFile.h"

#include "support/ProgramRun.h"
#include <QFile>

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <map>
#include <set>

namespace {

const QString DataFile = QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini");
const QString BigWordList = QStringLiteral(ZELVORA_SOURCE_DIR "/data/puzzles/29-gran-sopa.txt");
constexpr int MaxWords = PuzzleChecker::MaxWords;
constexpr int MaxCells = PuzzleChecker::MaxCells;

// What the checker finds wrong with a puzzle, one fault a line; empty when
// it is sound.
QString PuzzleProblem(const PuzzleFields& puzzle) {
    QStringList lines;
    for (const PuzzleFault& fault : PuzzleChecker::CheckPuzzle(puzzle))
        lines += fault.Text();
    return lines.join(u'\n');
}

PuzzleFields FieldsOf(const MadePuzzle& made) {
    return {QStringLiteral("1"),
            QString::number(made.columns),
            QString::number(made.rows),
            made.title,
            made.letters,
            made.words.join(u' '),
            made.solution};
}

// The distinct places a word can be read in a made puzzle.
std::vector<GridWords::Cells> Occurrences(const MadePuzzle& made, const QString& word) {
    return GridWords(made.letters, made.columns, made.rows).Occurrences(word);
}

std::set<int> CellsOf(const QString& cellList) {
    std::set<int> cells;
    for (int at = 0; at + 3 <= cellList.size(); at += 3)
        cells.insert(cellList.mid(at, 3).toInt());
    return cells;
}

PuzzleFields ReadPuzzle(const QString& file, int number) {
    return PuzzleChecker::ReadPuzzle(file, QString::number(number));
}

QString ReadTitle(const QString& file, int number) {
    return IniFileReader().GetValue(QString::number(number), QStringLiteral("Titulo"), file, 0);
}

// The puzzles the game chooser lists: sections 1, 2, … up to the first
// without a title.
int ListedPuzzleCount(const QString& file) {
    const IniFileReader reader;
    int count = 0;
    while (
        !reader.GetValue(QString::number(count + 1), QStringLiteral("Titulo"), file, 0).isEmpty())
        ++count;
    return count;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList NumberedWords(int count) {
    QStringList words;
    for (int i = 0; i < count; ++i)
        words += QStringLiteral("W") + QString(QChar(u'A' + i / 26)) + QChar(u'A' + i % 26);
    return words;
}

MadePuzzle BigPuzzle(std::uint32_t seed) {
    const WordListFile list = WordListFile::Read(BigWordList);
    return PuzzleMaker(seed).Make(list.title, list.words, list.size);
}

} // namespace

class TestBundledPuzzles : public QObject {
    Q_OBJECT

private slots:
    void fileIsUtf8WithoutByteOrderMark() {
        const QByteArray bytes = ReadBytes(DataFile);
        QVERIFY2(!bytes.isEmpty(), qPrintable(DataFile));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder(bytes);
        QVERIFY(!decoder.hasError());
    }

    void everySectionIsListed() {
        const int listed = ListedPuzzleCount(DataFile);
        QVERIFY2(listed >= 24, qPrintable(QString::number(listed)));
        // A puzzle after a gap in the numbering would never be offered.
        const QString text = QString::fromUtf8(ReadBytes(DataFile));
        static const QRegularExpression section(QStringLiteral("^[ \\t]*\\["),
                                                QRegularExpression::MultilineOption);
        QCOMPARE(int(text.count(section)), listed);
    }

    // The checker a person runs on a hand-written file finds nothing here.
    void checkerPassesTheBundledFile() {
        QStringList lines;
        for (const PuzzleFault& fault : PuzzleChecker::CheckFile(DataFile))
            lines += fault.Text();
        QVERIFY2(lines.isEmpty(), qPrintable(lines.join(u'\n')));
    }

    void bundledPuzzle_data() {
        QTest::addColumn<int>("number");
        const int listed = ListedPuzzleCount(DataFile);
        for (int number = 1; number <= listed; ++number)
            QTest::addRow("%d %s", number, qPrintable(ReadTitle(DataFile, number))) << number;
    }

    // Each bundled puzzle is read by the board itself, and its solution view
    // shows exactly the letters of its words.
    void bundledPuzzle() {
        QFETCH(int, number);
        AppServices::SetProgramFolder(QFileInfo(DataFile).absolutePath());
        ctlCuadricula board;
        board.SetNumeroJuego(number);
        board.LoadPuzzle();
        const PuzzleFields puzzle{QString::number(number),
                                  QString::number(board.Columns()),
                                  QString::number(board.Rows()),
                                  board.Titulo(),
                                  board.Letras(),
                                  board.Palabras(),
                                  board.Solucion()};
        const QString problem = PuzzleProblem(puzzle);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        board.SetReadOnly(true);
        board.Refresh(false);
        QString shown;
        for (int row = 1; row <= board.Rows(); ++row)
            for (int column = 1; column <= board.Columns(); ++column) {
                const bool marked = board.Grid()->CellBackColor(column, row) != -1;
                const QString text = board.Grid()->CellText(column, row);
                QCOMPARE(text.isEmpty(), !marked);
                if (marked) {
                    const int index = (row - 1) * board.Columns() + column;
                    QCOMPARE(text, board.Letras().mid(index - 1, 1));
                    shown += QString::number(index).rightJustified(3, u'0');
                }
            }
        QCOMPARE(shown, board.Solucion());
        AppServices::SetProgramFolder(QString());
    }

    // The set runs from small to the largest grid, with a long word list,
    // and uses the letters that make Spanish hard to type.
    void bundledSetSpansSizesAndSpanishLetters() {
        int smallest = MaxCells;
        int largest = 0;
        int mostWords = 0;
        QString allWords;
        for (int number = 1; number <= ListedPuzzleCount(DataFile); ++number) {
            const PuzzleFields puzzle = ReadPuzzle(DataFile, number);
            const int cells = puzzle.columns.toInt() * puzzle.rows.toInt();
            smallest = std::min(smallest, cells);
            largest = std::max(largest, cells);
            mostWords = std::max(mostWords, int(puzzle.words.split(u' ').size()));
            allWords += puzzle.words;
        }
        QVERIFY(smallest <= 64);
        QVERIFY(largest >= 900);
        QVERIFY(mostWords >= 60);
        for (QChar letter : QStringLiteral("ÑÁÉÍÓÚ"))
            QVERIFY2(allWords.contains(letter), qPrintable(QString(letter)));
    }

    // The checks themselves must notice a broken puzzle, or a loader that
    // garbles one would pass them. The board marks the solution's cells as
    // a set, so their order and repeats do not matter to a player.
    void checksNoticeBrokenPuzzles_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("key"); // of the first fault; empty for a sound puzzle
        QTest::newRow("letter missing") << "drop last letter"
                                        << "Letras";
        QTest::newRow("letter too many") << "add A"
                                         << "Letras";
        QTest::newRow("blank letter") << "blank first"
                                      << "Letras";
        QTest::newRow("solution cell missing") << "drop last cell"
                                               << "Solucion";
        QTest::newRow("solution cell extra") << "add filler"
                                             << "Solucion";
        QTest::newRow("solution out of order") << "swap first two"
                                               << "";
        QTest::newRow("solution cell twice") << "repeat first"
                                             << "";
        QTest::newRow("solution not digits") << "letters"
                                             << "Solucion";
        QTest::newRow("solution length") << "drop one digit"
                                         << "Solucion";
        QTest::newRow("solution cell 000") << "zero first"
                                           << "Solucion";
        QTest::newRow("word not in grid") << "add QQQ"
                                          << "Palabras";
        QTest::newRow("double blank") << "double blank"
                                      << "Palabras";
        QTest::newRow("too many words") << "100 words"
                                        << "Palabras";
        QTest::newRow("no cells") << "0x5"
                                  << "CantAncho";
        QTest::newRow("over 999 cells") << "40x25"
                                        << "CantAncho";
    }

    void checksNoticeBrokenPuzzles() {
        QFETCH(QString, change);
        QFETCH(QString, key);
        PuzzleFields puzzle =
            FieldsOf(PuzzleMaker(7).Make(QStringLiteral("Prueba"),
                                         {QStringLiteral("SOL"), QStringLiteral("LUNA"),
                                          QStringLiteral("MAR"), QStringLiteral("CIELO")},
                                         QSize(6, 5)));
        QVERIFY2(PuzzleProblem(puzzle).isEmpty(), "the sound puzzle must pass");

        const QStringList words = puzzle.words.split(u' ');
        if (change == "drop last letter")
            puzzle.letters.chop(1);
        else if (change == "add A")
            puzzle.letters += u'A';
        else if (change == "blank first")
            puzzle.letters[0] = u' ';
        else if (change == "drop last cell")
            puzzle.solution.chop(3);
        else if (change == "add filler") {
            const std::set<int> cells = CellsOf(puzzle.solution);
            int filler = 1;
            while (cells.count(filler))
                ++filler;
            puzzle.solution = QString();
            std::set<int> more = cells;
            more.insert(filler);
            for (int cell : more)
                puzzle.solution += QStringLiteral("%1").arg(cell, 3, 10, QLatin1Char('0'));
        } else if (change == "swap first two")
            puzzle.solution =
                puzzle.solution.mid(3, 3) + puzzle.solution.left(3) + puzzle.solution.mid(6);
        else if (change == "repeat first")
            puzzle.solution = puzzle.solution.left(3) + puzzle.solution;
        else if (change == "letters")
            puzzle.solution.replace(0, 3, QStringLiteral("0a1"));
        else if (change == "drop one digit")
            puzzle.solution.chop(1);
        else if (change == "zero first")
            puzzle.solution.prepend(QStringLiteral("000"));
        else if (change == "add QQQ")
            puzzle.words += QStringLiteral(" QQQ");
        else if (change == "double blank")
            puzzle.words = words.join(QStringLiteral("  "));
        else if (change == "100 words")
            puzzle.words += QString(QStringLiteral(" SOL")).repeated(MaxWords + 1 - words.size());
        else if (change == "0x5")
            puzzle.columns = QStringLiteral("0");
        else if (change == "40x25") {
            puzzle.columns = QStringLiteral("40");
            puzzle.rows = QStringLiteral("25");
        }
        const std::vector<PuzzleFault> faults = PuzzleChecker::CheckPuzzle(puzzle);
        QCOMPARE(faults.empty() ? QString() : faults.front().key, key);
    }

    void makerHidesWordsInAllEightDirections_data() {
        QTest::addColumn<int>("seed");
        for (int seed : {1, 2, 3, 4})
            QTest::addRow("seed %d", seed) << seed;
    }

    void makerHidesWordsInAllEightDirections() {
        QFETCH(int, seed);
        const MadePuzzle puzzle = BigPuzzle(std::uint32_t(seed));
        const QString problem = PuzzleProblem(FieldsOf(puzzle));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        std::set<std::pair<int, int>> directions;
        std::map<int, int> wordsPerCell;
        QCOMPARE(puzzle.placements.size(), puzzle.words.size());
        for (const PlacedWord& placed : puzzle.placements) {
            directions.insert({placed.dColumn, placed.dRow});
            for (int i = 0; i < placed.word.size(); ++i) {
                const int cell = (placed.row + placed.dRow * i - 1) * puzzle.columns +
                                 placed.column + placed.dColumn * i;
                QCOMPARE(puzzle.letters[cell - 1], placed.word[i]);
                ++wordsPerCell[cell];
            }
        }
        QCOMPARE(int(directions.size()), 8);
        const auto crossings = std::count_if(wordsPerCell.begin(), wordsPerCell.end(),
                                             [](const auto& entry) { return entry.second > 1; });
        QVERIFY2(crossings >= puzzle.words.size() / 4, qPrintable(QString::number(crossings)));
        // Each word can be read only where it was put.
        for (const QString& word : puzzle.words)
            QVERIFY2(Occurrences(puzzle, word).size() == 1, qPrintable(word));
    }

    void makerRepeatsItselfForASeed() {
        const QString first = BigPuzzle(11).IniSection(1);
        QCOMPARE(BigPuzzle(11).IniSection(1), first);
        QVERIFY(BigPuzzle(12).IniSection(1) != first);
    }

    void makerRefuses_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QSize>("size");
        const QStringList few{QStringLiteral("SOL"), QStringLiteral("MAR")};
        QTest::newRow("word longer than both sides")
            << "T" << QStringList{QStringLiteral("MARIPOSA")} << QSize(7, 6);
        QTest::newRow("100 words") << "T" << NumberedWords(100) << QSize(33, 30);
        QTest::newRow("1000 cells") << "T" << few << QSize(40, 25);
        QTest::newRow("no cells") << "T" << few << QSize(0, 9);
        QTest::newRow("no room") << "T"
                                 << QStringList{QStringLiteral("ABC"), QStringLiteral("DEF"),
                                                QStringLiteral("GHI"), QStringLiteral("JKL")}
                                 << QSize(3, 3);
        QTest::newRow("empty title") << "  " << few << QSize(5, 5);
        QTest::newRow("no words") << "T" << QStringList() << QSize(5, 5);
        QTest::newRow("blank in word")
            << "T" << QStringList{QStringLiteral("LA PAZ")} << QSize(9, 9);
        QTest::newRow("digit in word") << "T" << QStringList{QStringLiteral("R2D2")} << QSize(9, 9);
        QTest::newRow("one letter") << "T" << QStringList{QStringLiteral("A")} << QSize(9, 9);
        QTest::newRow("same word twice")
            << "T" << QStringList{QStringLiteral("sol"), QStringLiteral("SOL")} << QSize(9, 9);
        QTest::newRow("word inside another")
            << "T" << QStringList{QStringLiteral("MAR"), QStringLiteral("MARTE")} << QSize(9, 9);
        QTest::newRow("reversed word inside another")
            << "T" << QStringList{QStringLiteral("SOL"), QStringLiteral("NEBULOSA")} << QSize(9, 9);
    }

    void makerRefuses() {
        QFETCH(QString, title);
        QFETCH(QStringList, words);
        QFETCH(QSize, size);
        try {
            PuzzleMaker(1).Make(title, words, size);
            QFAIL("made a puzzle it should have refused");
        } catch (const MakerRefusal& refusal) {
            QVERIFY(!refusal.Message().isEmpty());
        }
    }

    void makerTakes99WordsIn990Cells() {
        const MadePuzzle puzzle =
            PuzzleMaker(5).Make(QStringLiteral("T"), NumberedWords(99), QSize(33, 30));
        QCOMPARE(puzzle.words.size(), 99);
        QVERIFY(PuzzleProblem(FieldsOf(puzzle)).isEmpty());
    }

    void makerChoosesASizeWhenNoneIsGiven() {
        const QStringList words{QStringLiteral("MURCIÉLAGO"), QStringLiteral("OSO"),
                                QStringLiteral("LINCE")};
        const MadePuzzle puzzle = PuzzleMaker(3).Make(QStringLiteral("T"), words);
        QVERIFY(std::max(puzzle.columns, puzzle.rows) >= 10);
        QVERIFY(puzzle.columns * puzzle.rows <= 144);
        QVERIFY(PuzzleProblem(FieldsOf(puzzle)).isEmpty());
    }

    void makerWritesSpanishCapitals_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("inGrid");
        QTest::newRow("ñ and ú") << "ñandú"
                                 << "ÑANDÚ";
        QTest::newRow("ó") << "camión"
                           << "CAMIÓN";
        QTest::newRow("ü") << "pingüino"
                           << "PINGÜINO";
        QTest::newRow("mixed case") << "MéXiCo"
                                    << "MÉXICO";
        QTest::newRow("decomposed accents") << QString::fromUtf8("n\xCC\x83"
                                                                 "andu\xCC\x81")
                                            << "ÑANDÚ";
    }

    void makerWritesSpanishCapitals() {
        QFETCH(QString, given);
        QFETCH(QString, inGrid);
        const MadePuzzle puzzle = PuzzleMaker(1).Make(QStringLiteral("T"), {given}, QSize(8, 8));
        QCOMPARE(puzzle.words, QStringList{inGrid});
        QCOMPARE(int(Occurrences(puzzle, inGrid).size()), 1);
    }

    void makerFillsWithSpanishLetters() {
        const QString alphabet = PuzzleMaker::FillerAlphabet();
        std::map<QChar, int> drawn;
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            const MadePuzzle puzzle =
                PuzzleMaker(seed).Make(QStringLiteral("T"), {QStringLiteral("UNO")}, QSize(33, 30));
            const std::set<int> solution = CellsOf(puzzle.solution);
            for (int cell = 1; cell <= 990; ++cell) {
                if (!solution.count(cell))
                    ++drawn[puzzle.letters[cell - 1]];
            }
        }
        for (const auto& [letter, count] : drawn)
            QVERIFY2(alphabet.contains(letter), qPrintable(QString(letter)));
        const auto mostDrawn =
            std::max_element(drawn.begin(), drawn.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        QVERIFY(mostDrawn->first == u'E' || mostDrawn->first == u'A');
        for (QChar occasional : QStringLiteral("ÑÁÉÍÓÚ"))
            QVERIFY2(drawn[occasional] > 0, qPrintable(QString(occasional)));
        QVERIFY(drawn[u'Ñ'] < drawn[u'N']);
    }

    void sectionReadsBackThroughTheReader_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "Animales";
        QTest::newRow("accents") << "Países y ríos";
        QTest::newRow("semicolon") << "Mar; tierra";
        QTest::newRow("quoted") << "\"Cielo\"";
        QTest::newRow("single-quoted") << "'Cielo'";
    }

    void sectionReadsBackThroughTheReader() {
        QFETCH(QString, title);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("zelvora.ini"));
        const MadePuzzle made = PuzzleMaker(2).Make(
            title, {QStringLiteral("araña"), QStringLiteral("perú")}, QSize(6, 6));
        WriteBytes(file, made.IniSection(1).toUtf8());
        QCOMPARE(ReadTitle(file, 1), title);
        const PuzzleFields read = ReadPuzzle(file, 1);
        QCOMPARE(read.words, QStringLiteral("ARAÑA PERÚ"));
        QVERIFY(PuzzleProblem(read).isEmpty());
    }

    void wordListFileIsRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("seed");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << QByteArray("Frutas\npiña\nmelón\n") << "Frutas" << QSize() << -1
                               << QStringList{"piña", "melón"};
        QTest::newRow("size, seed, remarks, blank lines, CRLF, BOM")
            << QByteArray("\xEF\xBB\xBF# remark\r\n\r\n  El mar  \r\nsize 12x10\r\nseed 42\r\n"
                          "ola\r\n\r\n# otra\r\n  faro\r\n")
            << "El mar" << QSize(12, 10) << 42 << QStringList{"ola", "faro"};
    }

    void wordListFileIsRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(QSize, size);
        QFETCH(int, seed);
        QFETCH(QStringList, words);
        const WordListFile list = WordListFile::Parse(bytes, QStringLiteral("list"));
        QCOMPARE(list.title, title);
        QCOMPARE(list.size.value_or(QSize()), size);
        QCOMPARE(list.seed ? qint64(*list.seed) : -1, qint64(seed));
        QCOMPARE(list.words, words);
    }

    void wordListFileRefuses_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray("\n# nada\n");
        QTest::newRow("two words on a line") << QByteArray("T\nla paz\n");
        QTest::newRow("bad size") << QByteArray("T\nsize 12 por 10\n");
        QTest::newRow("size without rows") << QByteArray("T\nsize 12x\n");
        QTest::newRow("negative seed") << QByteArray("T\nseed -1\n");
        QTest::newRow("seed past 32 bits") << QByteArray("T\nseed 4294967296\n");
        QTest::newRow("Windows-1252") << QByteArray("T\npi\xF1"
                                                    "a\n");
    }

    void wordListFileRefuses() {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(MakerRefusal, WordListFile::Parse(bytes, QStringLiteral("list")));
    }

    void commandLine() {
#ifndef ZELVORA_MAKER_PATH
        QSKIP("zelvora-maker is not built with this tree");
#else
        QTemporaryDir folder;
        const QString list = folder.filePath(QStringLiteral("aves.txt"));
        const QString more = folder.filePath(QStringLiteral("frutas.txt"));
        const QString tooMany = folder.filePath(QStringLiteral("muchas.txt"));
        const QString data = folder.filePath(QStringLiteral("zelvora.ini"));
        WriteBytes(list, "Aves\nsize 9x9\ncigüeña\nbúho\nñandú\n");
        WriteBytes(more, "Frutas\npiña\nmelón\n");
        WriteBytes(tooMany, ("T\n" + NumberedWords(100).join(u'\n')).toUtf8());

        auto run = [](const QStringList& arguments, QByteArray* out = nullptr) {
            const ProgramRun maker = ProgramRun::Of(QStringLiteral(ZELVORA_MAKER_PATH), arguments);
            if (out)
                *out = maker.out;
            if (!maker.err.isEmpty())
                qInfo("zelvora-maker %s: %s", qPrintable(arguments.join(u' ')),
                      maker.err.constData());
            return maker.exitCode;
        };

        QByteArray out;
        QCOMPARE(run({QStringLiteral("--seed"), QStringLiteral("4"), list}, &out), 0);
        QCOMPARE(run({QStringLiteral("--output"), data, QStringLiteral("--seed"),
                      QStringLiteral("4"), list}),
                 0);
        QCOMPARE(ReadBytes(data), out);

        QCOMPARE(run({QStringLiteral("--append"), data, QStringLiteral("--number"),
                      QStringLiteral("2"), more}),
                 0);
        QCOMPARE(ListedPuzzleCount(data), 2);
        QCOMPARE(ReadPuzzle(data, 1).words, QStringLiteral("CIGÜEÑA BÚHO ÑANDÚ"));
        for (int number : {1, 2})
            QVERIFY(PuzzleProblem(ReadPuzzle(data, number)).isEmpty());

        // Refusals leave the file as it was.
        const QByteArray before = ReadBytes(data);
        QCOMPARE(run({QStringLiteral("--append"), data, QStringLiteral("--number"),
                      QStringLiteral("2"), more}),
                 1);
        QCOMPARE(run({QStringLiteral("--append"), data, QStringLiteral("--number"),
                      QStringLiteral("3"), more, tooMany}),
                 1);
        QCOMPARE(run({QStringLiteral("--size"), QStringLiteral("4x4"), QStringLiteral("--output"),
                      data, list}),
                 1);
        QCOMPARE(ReadBytes(data), before);
        QCOMPARE(run({QStringLiteral("--size"), QStringLiteral("big"), list}), 2);
        QCOMPARE(run({}), 2);
#endif
    }
};

QTEST_MAIN(TestBundledPuzzles)
#include "test_bundled_puzzles.moc"
