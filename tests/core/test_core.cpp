// The puzzle's rules without a window: the cell and row lists, reading one
// puzzle from a real data file, and the list of puzzles a file offers.
#include "core/DigitList.h"
#include "core/PuzzleFile.h"
#include "core/PuzzleLimits.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Numbers = QList<qint32>;

namespace {

// Whether a description is message `number` with its blanks filled in.
bool IsMessage(const QString& description, int number) {
    QStringList pieces =
        MessageCatalogue::Text(number).split(QRegularExpression(QStringLiteral("%\\d")));
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    return QRegularExpression(QStringLiteral("^%1$").arg(pieces.join(QStringLiteral(".*"))))
        .match(description)
        .hasMatch();
}

QString Section(const QString& columns, const QString& rows, const QString& letters,
                const QString& words) {
    return QStringLiteral("[1]\nTitulo=Uno\nCantAncho=%1\nCantAlto=%2\nLetras=%3\nPalabras=%4\n"
                          "Solucion=001\n")
        .arg(columns, rows, letters, words);
}

QString Words(int count) {
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("SOL");
    return words.join(u' ');
}

} // namespace

class CoreTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    QString Write(const QByteArray& bytes) {
        const QString path = folder_.filePath(QStringLiteral("zelvora.ini"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        QVERIFY(folder_.isValid());
    }

    void readLists_data() {
        QTest::addColumn<bool>("cells");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("last");
        QTest::addColumn<Numbers>("named");
        QTest::addColumn<bool>("pastTheEnd");
        QTest::addColumn<bool>("shortEntry");
        QTest::addColumn<bool>("unread");
        QTest::newRow("cells: empty") << true << "" << 30 << Numbers{} << false << false << false;
        QTest::newRow("cells: in any order, twice")
            << true << "014001002001" << 30 << Numbers{14, 1, 2, 1} << false << false << false;
        QTest::newRow("cells: 000 and past the grid name nothing")
            << true << "000031999030" << 30 << Numbers{30} << true << false << false;
        QTest::newRow("cells: a shorter last entry is read")
            << true << "00102" << 30 << Numbers{1, 2} << false << true << false;
        QTest::newRow("cells: one entry no number, the others read")
            << true << "0010a2003" << 30 << Numbers{1, 3} << false << false << true;
        QTest::newRow("cells: blanks and a sign convert, negatives name nothing")
            << true << " 05-01" << 30 << Numbers{5} << false << false << false;
        QTest::newRow("cells: no grid")
            << true << "001" << 0 << Numbers{} << true << false << false;
        QTest::newRow("rows: 0207")
            << false << "0207" << 12 << Numbers{2, 7} << false << false << false;
        QTest::newRow("rows: odd length reads nothing")
            << false << "021" << 12 << Numbers{} << false << true << false;
        QTest::newRow("rows: 00 is the heading")
            << false << "00" << 12 << Numbers{} << false << false << false;
        QTest::newRow("rows: past the last word")
            << false << "0313" << 12 << Numbers{3} << true << false << false;
        QTest::newRow("rows: a pair no number")
            << false << "x10212" << 12 << Numbers{2, 12} << false << false << true;
    }
    void readLists() {
        QFETCH(bool, cells);
        QFETCH(QString, text);
        QFETCH(int, last);
        const DigitList::Reading reading =
            (cells ? DigitList::Cells : DigitList::Rows).Read(text, last);
        QTEST(reading.named, "named");
        QTEST(reading.pastTheEnd, "pastTheEnd");
        QTEST(reading.shortEntry, "shortEntry");
        QTEST(reading.unread.has_value(), "unread");
        if (reading.unread)
            QCOMPARE(reading.unread->Number(), ErrorNumber::TypeMismatch);
    }

    void writeLists_data() {
        QTest::addColumn<bool>("cells");
        QTest::addColumn<Numbers>("numbers");
        QTest::addColumn<QString>("text");
        QTest::newRow("cells: none") << true << Numbers{} << "";
        QTest::newRow("cells: 1, 10, 11") << true << Numbers{1, 10, 11} << "001010011";
        QTest::newRow("cells: the last") << true << Numbers{PuzzleLimits::MaxCells} << "999";
        QTest::newRow("rows: 3 and 12") << false << Numbers{3, 12} << "0312";
        QTest::newRow("rows: the last") << false << Numbers{PuzzleLimits::MaxWords} << "99";
    }
    void writeLists() {
        QFETCH(bool, cells);
        QFETCH(Numbers, numbers);
        const DigitList& list = cells ? DigitList::Cells : DigitList::Rows;
        const QString written = list.Write(numbers);
        QTEST(written, "text");
        QCOMPARE(list.Read(written, cells ? PuzzleLimits::MaxCells : PuzzleLimits::MaxWords).named,
                 numbers);
    }

    void readPuzzle_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("error"); // 0: read whole
        QTest::addColumn<int>("message");
        QTest::addColumn<QString>("letters");
        const QString sol = QStringLiteral("SOL");
        QTest::newRow("sound") << Section("3", "2", "SOLAXE", sol) << 0 << 0 << "SOLAXE";
        QTest::newRow("blanks around the size")
            << Section(" 3 ", "2", "SOLAXE", sol) << 0 << 0 << "SOLAXE";
        QTest::newRow("letters composed")
            << Section("1", "1", "E\u0301", sol) << 0 << 0 << QStringLiteral("\u00C9");
        QTest::newRow("999 cells") << Section("37", "27", "", sol) << 0 << 0 << "";
        QTest::newRow("99 words") << Section("3", "1", "SOL", Words(99)) << 0 << 0 << "SOL";
        QTest::newRow("columns no number") << Section("tres", "2", "", sol) << 13 << 11614 << "";
        QTest::newRow("rows missing")
            << QStringLiteral("[1]\nTitulo=Uno\nCantAncho=3\n") << 13 << 11614 << "";
        QTest::newRow("columns past 32 bits")
            << Section("99999999999", "1", "", sol) << 6 << 11614 << "";
        QTest::newRow("no column") << Section("0", "2", "", sol) << 5 << 11615 << "";
        QTest::newRow("negative both") << Section("-3", "-2", "", sol) << 5 << 11615 << "";
        QTest::newRow("1000 cells") << Section("40", "25", "", sol) << 5 << 11615 << "";
        QTest::newRow("an emoji") << Section("3", "1", "S\U0001F600L", sol) << 5 << 11530 << "";
        QTest::newRow("an accent with no composed form")
            << Section("3", "1", "SQ\u0301", sol) << 5 << 11530 << "";
        QTest::newRow("100 words") << Section("3", "1", "SOL", Words(100)) << 5 << 11616 << "";
    }
    void readPuzzle() {
        QFETCH(QString, file);
        QFETCH(int, error);
        QFETCH(int, message);
        const QString path = Write(file.toUtf8());
        const IniFileReader reader;
        try {
            const Puzzle puzzle = PuzzleFile(reader, path).Read(1, QStringLiteral("here"));
            QCOMPARE(error, 0);
            QCOMPARE(puzzle.title, QStringLiteral("Uno"));
            QVERIFY(puzzle.columns * puzzle.rows >= 1);
            QTEST(puzzle.letters, "letters");
            QCOMPARE(puzzle.solution, QStringLiteral("001"));
        } catch (const AppError& refused) {
            QCOMPARE(refused.Number(), error);
            QCOMPARE(refused.Source(), QStringLiteral("here"));
            QVERIFY2(IsMessage(refused.Description(), message), qPrintable(refused.Description()));
            const QString said = refused.Description();
            QVERIFY2(said.contains(path) || said.contains(QDir::toNativeSeparators(path)),
                     qPrintable(said));
        }
    }

    void titles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("none") << "" << QStringList{};
        QTest::newRow("up to a gap") << "[1]\nTitulo=A\n[2]\nTitulo=B\n[4]\nTitulo=D\n"
                                     << QStringList{"A", "B"};
        QTest::newRow("up to an empty title") << "[1]\nTitulo=A\n[2]\nTitulo=\n[3]\nTitulo=C\n"
                                              << QStringList{"A"};
        QTest::newRow("not from 007") << "[007]\nTitulo=Siete\n" << QStringList{};
        QTest::newRow("sections in any order") << "[2]\nTitulo=B\n[1]\nTitulo=A\n"
                                               << QStringList{"A", "B"};
    }
    void titles() {
        QFETCH(QString, file);
        const IniFileReader reader;
        QTEST(PuzzleFile(reader, Write(file.toUtf8())).Titles(), "titles");
    }

    // Every puzzle the program comes with is listed and read whole.
    void bundledPuzzles() {
        const QString path = QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini");
        const IniFileReader reader;
        const PuzzleFile file(reader, path);
        const QStringList titles = file.Titles();
        QVERIFY(titles.size() >= 20);
        for (qint32 number = 1; number <= titles.size(); ++number) {
            const Puzzle puzzle = file.Read(number, QStringLiteral("bundled"));
            QCOMPARE(puzzle.title, titles[number - 1]);
            const qint32 cells = puzzle.columns * puzzle.rows;
            QCOMPARE(puzzle.letters.size(), cells);
            const DigitList::Reading solution = DigitList::Cells.Read(puzzle.solution, cells);
            QVERIFY(!solution.named.isEmpty() && !solution.pastTheEnd && !solution.unread);
        }
    }
};

QTEST_GUILESS_MAIN(CoreTest)
#include "test_core.moc"
