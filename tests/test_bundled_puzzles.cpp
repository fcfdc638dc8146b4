// The bundled puzzles, read as the game reads them, and the maker that
// makes them. The puzzle checks take a puzzle's fields, so any loader's
// output can be put through them.

#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/IniFileReader.h"
#include "outside/ctlGrid.h"

#include "MakerRefusal.h"
#include "PuzzleMaker.h"
#include "WordListFile.h"

#include <QFile>
#include <QProcess>
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
constexpr int MaxWords = 99;
constexpr int MaxCells = 999;

struct Step {
    int dColumn;
    int dRow;
};
constexpr Step Directions[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                               {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

// One puzzle as the data file holds it, numbers already converted.
struct PuzzleFields {
    int columns = 0;
    int rows = 0;
    QString letras;
    QString palabras;
    QString solucion;
};

QString CheckSize(const PuzzleFields& puzzle) {
    if (puzzle.columns < 1 || puzzle.rows < 1)
        return QStringLiteral("size %1x%2 has no cells").arg(puzzle.columns).arg(puzzle.rows);
    if (qint64(puzzle.columns) * puzzle.rows > MaxCells)
        return QStringLiteral("size %1x%2 has more than %3 cells")
            .arg(puzzle.columns)
            .arg(puzzle.rows)
            .arg(MaxCells);
    return {};
}

QString CheckLetters(const PuzzleFields& puzzle) {
    const int cells = puzzle.columns * puzzle.rows;
    if (puzzle.letras.size() != cells)
        return QStringLiteral("Letras has %1 characters for %2 cells")
            .arg(puzzle.letras.size())
            .arg(cells);
    for (int i = 0; i < cells; ++i) {
        if (!puzzle.letras[i].isLetter())
            return QStringLiteral("cell %1 holds \"%2\", not a letter")
                .arg(i + 1)
                .arg(puzzle.letras[i]);
    }
    return {};
}

// The words, or the reason they cannot be used.
QStringList SplitWords(const QString& palabras, QString* problem) {
    const QStringList words = palabras.split(u' ');
    if (words.size() > MaxWords)
        *problem = QStringLiteral("%1 words, more than %2").arg(words.size()).arg(MaxWords);
    else if (words.contains(QString()))
        *problem = QStringLiteral("Palabras \"%1\" has an empty word").arg(palabras);
    return problem->isEmpty() ? words : QStringList();
}

// The cells of a cell list, or the reason it is malformed.
std::set<int> ParseCellList(const QString& list, int cellCount, QString* problem) {
    std::set<int> cells;
    if (list.size() % 3 != 0) {
        *problem = QStringLiteral("Solucion's length %1 is not a multiple of 3").arg(list.size());
        return {};
    }
    int previous = 0;
    for (int at = 0; at < list.size(); at += 3) {
        const QString entry = list.mid(at, 3);
        const bool digits =
            std::all_of(entry.begin(), entry.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        const int cell = entry.toInt();
        if (!digits || cell < 1 || cell > cellCount) {
            *problem = QStringLiteral("Solucion entry \"%1\" is not a cell").arg(entry);
            return {};
        }
        if (cell <= previous) {
            *problem = QStringLiteral("Solucion entry %1 follows %2").arg(entry).arg(previous);
            return {};
        }
        cells.insert(cell);
        previous = cell;
    }
    return cells;
}

using Cells = std::vector<int>; // 1-based cell indices

// Every straight run of cells that spells word, in any of the eight directions.
std::vector<Cells> Occurrences(const PuzzleFields& puzzle, const QString& word) {
    std::vector<Cells> found;
    const int length = int(word.size());
    for (int row = 1; row <= puzzle.rows; ++row) {
        for (int column = 1; column <= puzzle.columns; ++column) {
            for (const Step step : Directions) {
                Cells cells;
                for (int i = 0; i < length; ++i) {
                    const int c = column + step.dColumn * i;
                    const int r = row + step.dRow * i;
                    const int cell = (r - 1) * puzzle.columns + c;
                    if (c < 1 || c > puzzle.columns || r < 1 || r > puzzle.rows ||
                        puzzle.letras[cell - 1] != word[i])
                        break;
                    cells.push_back(cell);
                }
                if (int(cells.size()) == length)
                    found.push_back(cells);
            }
        }
    }
    return found;
}

// Picks one occurrence per word so that together they cover every cell of
// the solution; a choice is needed only where a word is found twice.
bool CoverExactly(const std::vector<std::vector<Cells>>& choices, size_t word,
                  std::map<int, int>& covered, const std::set<int>& solution, int& budget) {
    if (--budget < 0)
        return false;
    if (word == choices.size())
        return covered.size() == solution.size();
    for (const Cells& occurrence : choices[word]) {
        for (int cell : occurrence)
            ++covered[cell];
        if (CoverExactly(choices, word + 1, covered, solution, budget))
            return true;
        for (int cell : occurrence) {
            if (--covered[cell] == 0)
                covered.erase(cell);
        }
    }
    return false;
}

QString CheckWordsAndSolution(const PuzzleFields& puzzle) {
    QString problem;
    const QStringList words = SplitWords(puzzle.palabras, &problem);
    if (!problem.isEmpty())
        return problem;
    const std::set<int> solution =
        ParseCellList(puzzle.solucion, puzzle.columns * puzzle.rows, &problem);
    if (!problem.isEmpty())
        return problem;

    std::vector<std::vector<Cells>> choices;
    for (const QString& word : words) {
        const std::vector<Cells> anywhere = Occurrences(puzzle, word);
        if (anywhere.empty())
            return QStringLiteral("%1 is not in the grid").arg(word);
        std::vector<Cells> inSolution;
        std::copy_if(anywhere.begin(), anywhere.end(), std::back_inserter(inSolution),
                     [&](const Cells& cells) {
                         return std::all_of(cells.begin(), cells.end(),
                                            [&](int cell) { return solution.count(cell) > 0; });
                     });
        if (inSolution.empty())
            return QStringLiteral("%1 is in the grid only outside Solucion").arg(word);
        choices.push_back(inSolution);
    }
    std::map<int, int> covered;
    int budget = 100000;
    if (!CoverExactly(choices, 0, covered, solution, budget))
        return QStringLiteral("the words' cells are not exactly Solucion");
    return {};
}

// What is wrong with a puzzle; empty when it is sound. Each check relies
// on the ones before it.
QString PuzzleProblem(const PuzzleFields& puzzle) {
    for (const auto check : {CheckSize, CheckLetters, CheckWordsAndSolution}) {
        const QString problem = check(puzzle);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

PuzzleFields FieldsOf(const MadePuzzle& made) {
    return {made.columns, made.rows, made.letters, made.words.join(u' '), made.solution};
}

// Reads a section the way the game loads a puzzle.
PuzzleFields ReadPuzzle(const QString& file, int number, bool* numbersOk = nullptr) {
    IniFileReader reader;
    const QString section = QString::number(number);
    PuzzleFields puzzle;
    bool columnsOk = false;
    bool rowsOk = false;
    puzzle.columns =
        reader.GetValue(section, QStringLiteral("CantAncho"), file, 0).toInt(&columnsOk);
    puzzle.rows = reader.GetValue(section, QStringLiteral("CantAlto"), file, 0).toInt(&rowsOk);
    puzzle.letras = reader.GetValue(section, QStringLiteral("Letras"), file, 1000);
    puzzle.palabras = reader.GetValue(section, QStringLiteral("Palabras"), file, 1000);
    puzzle.solucion = reader.GetValue(section, QStringLiteral("Solucion"), file, 1000);
    if (numbersOk)
        *numbersOk = columnsOk && rowsOk;
    return puzzle;
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
        const PuzzleFields puzzle{board.Columns(), board.Rows(), board.Letras(), board.Palabras(),
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
            smallest = std::min(smallest, puzzle.columns * puzzle.rows);
            largest = std::max(largest, puzzle.columns * puzzle.rows);
            mostWords = std::max(mostWords, int(puzzle.palabras.split(u' ').size()));
            allWords += puzzle.palabras;
        }
        QVERIFY(smallest <= 64);
        QVERIFY(largest >= 900);
        QVERIFY(mostWords >= 60);
        for (QChar letter : QStringLiteral("ÑÁÉÍÓÚ"))
            QVERIFY2(allWords.contains(letter), qPrintable(QString(letter)));
    }

    // The checks themselves must notice a broken puzzle, or a loader that
    // garbles one would pass them.
    void checksNoticeBrokenPuzzles_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("letter missing") << "drop last letter";
        QTest::newRow("letter too many") << "add A";
        QTest::newRow("blank letter") << "blank first";
        QTest::newRow("solution cell missing") << "drop last cell";
        QTest::newRow("solution cell extra") << "add filler";
        QTest::newRow("solution out of order") << "swap first two";
        QTest::newRow("solution cell twice") << "repeat first";
        QTest::newRow("solution not digits") << "letters";
        QTest::newRow("solution length") << "drop one digit";
        QTest::newRow("solution cell 000") << "zero first";
        QTest::newRow("word not in grid") << "add QQQ";
        QTest::newRow("double blank") << "double blank";
        QTest::newRow("too many words") << "100 words";
        QTest::newRow("no cells") << "0x5";
        QTest::newRow("over 999 cells") << "40x25";
    }

    void checksNoticeBrokenPuzzles() {
        QFETCH(QString, change);
        PuzzleFields puzzle =
            FieldsOf(PuzzleMaker(7).Make(QStringLiteral("Prueba"),
                                         {QStringLiteral("SOL"), QStringLiteral("LUNA"),
                                          QStringLiteral("MAR"), QStringLiteral("CIELO")},
                                         QSize(6, 5)));
        QVERIFY2(PuzzleProblem(puzzle).isEmpty(), "the sound puzzle must pass");

        const QStringList words = puzzle.palabras.split(u' ');
        if (change == "drop last letter")
            puzzle.letras.chop(1);
        else if (change == "add A")
            puzzle.letras += u'A';
        else if (change == "blank first")
            puzzle.letras[0] = u' ';
        else if (change == "drop last cell")
            puzzle.solucion.chop(3);
        else if (change == "add filler") {
            QString problem;
            const std::set<int> cells = ParseCellList(puzzle.solucion, 30, &problem);
            int filler = 1;
            while (cells.count(filler))
                ++filler;
            puzzle.solucion = QString();
            std::set<int> more = cells;
            more.insert(filler);
            for (int cell : more)
                puzzle.solucion += QStringLiteral("%1").arg(cell, 3, 10, QLatin1Char('0'));
        } else if (change == "swap first two")
            puzzle.solucion =
                puzzle.solucion.mid(3, 3) + puzzle.solucion.left(3) + puzzle.solucion.mid(6);
        else if (change == "repeat first")
            puzzle.solucion = puzzle.solucion.left(3) + puzzle.solucion;
        else if (change == "letters")
            puzzle.solucion.replace(0, 3, QStringLiteral("0a1"));
        else if (change == "drop one digit")
            puzzle.solucion.chop(1);
        else if (change == "zero first")
            puzzle.solucion.prepend(QStringLiteral("000"));
        else if (change == "add QQQ")
            puzzle.palabras += QStringLiteral(" QQQ");
        else if (change == "double blank")
            puzzle.palabras = words.join(QStringLiteral("  "));
        else if (change == "100 words")
            puzzle.palabras +=
                QString(QStringLiteral(" SOL")).repeated(MaxWords + 1 - words.size());
        else if (change == "0x5")
            puzzle.columns = 0;
        else if (change == "40x25") {
            puzzle.columns = 40;
            puzzle.rows = 25;
        }
        QVERIFY(!PuzzleProblem(puzzle).isEmpty());
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
        for (const QString& word : puzzle.words) {
            std::set<std::set<int>> distinct;
            for (const Cells& cells : Occurrences(FieldsOf(puzzle), word))
                distinct.insert(std::set<int>(cells.begin(), cells.end()));
            QVERIFY2(distinct.size() == 1, qPrintable(word));
        }
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
        QCOMPARE(int(Occurrences(FieldsOf(puzzle), inGrid).size()), 1);
    }

    void makerFillsWithSpanishLetters() {
        const QString alphabet = PuzzleMaker::FillerAlphabet();
        std::map<QChar, int> drawn;
        for (std::uint32_t seed = 1; seed <= 6; ++seed) {
            const MadePuzzle puzzle =
                PuzzleMaker(seed).Make(QStringLiteral("T"), {QStringLiteral("UNO")}, QSize(33, 30));
            QString problem;
            const std::set<int> solution = ParseCellList(puzzle.solution, 990, &problem);
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
        QCOMPARE(read.palabras, QStringLiteral("ARAÑA PERÚ"));
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
            QProcess maker;
            maker.start(QStringLiteral(ZELVORA_MAKER_PATH), arguments);
            maker.closeWriteChannel();
            maker.waitForFinished(60000);
            if (out)
                *out = maker.readAllStandardOutput();
            return maker.exitCode();
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
        QCOMPARE(ReadPuzzle(data, 1).palabras, QStringLiteral("CIGÜEÑA BÚHO ÑANDÚ"));
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
