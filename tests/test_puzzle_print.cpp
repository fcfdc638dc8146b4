// zelvora-maker print, read back with poppler's pdftotext and pdfinfo: the
// titles and every word are in the PDF, one page per puzzle and one per
// solution, on the paper asked for.

#include "PuzzleChecker.h"

#include "outside/IniFileReader.h"

#include "support/ProgramRun.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString DataFile = QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini");

struct Run {
    int exitCode = -1;
    QString out;
};

Run Start(const QString& program, const QStringList& arguments) {
    const ProgramRun run = ProgramRun::Of(program, arguments);
    return {run.exitCode, QString::fromUtf8(run.out)};
}

Run Maker(const QStringList& arguments) {
    return Start(QStringLiteral(ZELVORA_MAKER_PATH),
                 QStringList{QStringLiteral("print")} + arguments);
}

// A field of pdfinfo's report, such as "Pages" or "Page size".
QString PdfInfo(const QString& pdf, const QString& field) {
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    return line.match(Start(QStringLiteral("pdfinfo"), {pdf}).out).captured(1).trimmed();
}

int ListedPuzzles() {
    const IniFileReader reader;
    int count = 0;
    while (
        !reader.GetValue(QString::number(count + 1), QStringLiteral("Titulo"), DataFile).isEmpty())
        ++count;
    return count;
}

} // namespace

// Poppler's pdfinfo and pdftotext read the PDF back; on Windows they are not
// at hand, and only the start of the file is checked.
#ifdef Q_OS_WIN
#define READ_BACK_WITH_POPPLER(pdf)                                                                \
    do {                                                                                           \
        QFile file(pdf);                                                                           \
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");                        \
        QSKIP("poppler, which reads the PDF back, is a Linux program");                            \
    } while (false)
#else
#define READ_BACK_WITH_POPPLER(pdf)
#endif

class TestPuzzlePrint : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

private slots:
    // Every bundled puzzle, from 8 x 8 to 33 x 30: the text of the PDF holds
    // each title and each word whole, with its Spanish letters.
    void everyPuzzleWithItsSolution() {
        const QString pdf = folder_.filePath(QStringLiteral("all.pdf"));
        QCOMPARE(Maker({DataFile, QStringLiteral("all"), QStringLiteral("--solution"),
                        QStringLiteral("--paper"), QStringLiteral("a4"), QStringLiteral("--output"),
                        pdf})
                     .exitCode,
                 0);
        const int puzzles = ListedPuzzles();
        READ_BACK_WITH_POPPLER(pdf);
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QString::number(2 * puzzles));
        QVERIFY(PdfInfo(pdf, QStringLiteral("Page size")).contains(QStringLiteral("A4")));

        const Run text = Start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QCOMPARE(text.exitCode, 0);
        const QStringList tokens = text.out.split(QRegularExpression(QStringLiteral("\\s+")));
        for (int number = 1; number <= puzzles; ++number) {
            const PuzzleFields puzzle =
                PuzzleChecker::ReadPuzzle(DataFile, QString::number(number));
            QVERIFY2(text.out.contains(puzzle.title), qPrintable(puzzle.title));
            for (const QString& word : puzzle.words.split(u' '))
                QVERIFY2(tokens.contains(word), qPrintable(puzzle.title + u' ' + word));
        }
    }

    void onePuzzleOnLetter() {
        const QString pdf = folder_.filePath(QStringLiteral("one.pdf"));
        QCOMPARE(Maker({DataFile, QStringLiteral("4"), QStringLiteral("--paper"),
                        QStringLiteral("letter"), QStringLiteral("--output"), pdf})
                     .exitCode,
                 0);
        READ_BACK_WITH_POPPLER(pdf);
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
        QVERIFY(PdfInfo(pdf, QStringLiteral("Page size")).contains(QStringLiteral("letter")));
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Animales"));
        const QString text = Start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out;
        QVERIFY(text.contains(QStringLiteral("ÑANDÚ")));
        QVERIFY(!text.contains(QStringLiteral("Colores")));
    }

    // Shapes the board accepts but no page suits still give a page each:
    // one long row, and a small grid under a long word list.
    void awkwardShapes() {
        const QString data = folder_.filePath(QStringLiteral("awkward.ini"));
        QStringList words;
        for (int i = 0; i < PuzzleChecker::MaxWords; ++i)
            words += QStringLiteral("PALABRA%1LARGUÍSIMA").arg(i, 2, 10, QLatin1Char('0'));
        QFile file(data);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[1]\nTitulo=Fila\nCantAncho=999\nCantAlto=1\nLetras=%1\n"
                                  "Palabras=AB\n[2]\nTitulo=Lista\nCantAncho=3\nCantAlto=3\n"
                                  "Letras=ABCDEFGHI\nPalabras=%2\n")
                       .arg(QString(999, u'A'), words.join(u' '))
                       .toUtf8());
        file.close();
        const QString pdf = folder_.filePath(QStringLiteral("awkward.pdf"));
        QCOMPARE(Maker({data, QStringLiteral("--output"), pdf}).exitCode, 0);
        READ_BACK_WITH_POPPLER(pdf);
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("2"));
        const QString text = Start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out;
        for (const QString& word : words)
            QVERIFY2(text.contains(word), qPrintable(word));
    }

    // Nothing is written for a puzzle that is not there or cannot be drawn.
    void refusals() {
        const QString pdf = folder_.filePath(QStringLiteral("none.pdf"));
        QCOMPARE(Maker({DataFile, QStringLiteral("999"), QStringLiteral("--output"), pdf}).exitCode,
                 1);
        const QString bad = folder_.filePath(QStringLiteral("bad.ini"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[1]\nTitulo=Grande\nCantAncho=40\nCantAlto=30\n");
        file.close();
        QCOMPARE(Maker({bad, QStringLiteral("--output"), pdf}).exitCode, 1);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(Maker({DataFile, QStringLiteral("--paper"), QStringLiteral("a3")}).exitCode, 2);
        QCOMPARE(Maker({DataFile, QStringLiteral("uno")}).exitCode, 2);
    }
};

QTEST_MAIN(TestPuzzlePrint)
#include "test_puzzle_print.moc"
