// The data-file checker on files written by hand with every kind of fault,
// through its library and through zelvora-maker check.

#include "PuzzleChecker.h"

#include "core/PuzzleFile.h"
#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include "support/ProgramRun.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One puzzle section; sizes and keys as given.
QByteArray Section(const QByteArray& name, const QByteArray& title, const QByteArray& columns,
                   const QByteArray& rows, const QByteArray& letters, const QByteArray& words,
                   const QByteArray& solution) {
    return "[" + name + "]\nTitulo=" + title + "\nCantAncho=" + columns + "\nCantAlto=" + rows +
           "\nLetras=" + letters + "\nPalabras=" + words + "\nSolucion=" + solution + "\n\n";
}

// A file with one fault of each kind a person writing puzzles makes, and
// the sound puzzles around them. SOL fills row 1 of a 3 x 2 grid.
QByteArray FaultyFile() {
    return "; written by hand\n" + Section("1", "Bueno", "3", "2", "SOLAXE", "SOL", "001002003") +
           Section("2", "Grande", "40", "30", "SOL", "SOL", "001002003") +
           Section("3", "Cero", "0", "5", "SOL", "SOL", "") +
           Section("4", "Ancho", "tres", "2", "SOLAXE", "SOL", "001002003") +
           Section("5", "Cuenta", "3", "2", "SOLAX", "SOL", "001002003") +
           Section("6", "Falta", "3", "2", "SOLAXE", "SOL MAR", "001002003") +
           Section("7", "Sobra", "3", "2", "SOLAXE", "SOL", "001002003006") +
           Section("8", "Corta", "3", "2", "SOLAXE", "SOL", "001002") +
           Section("9", "Dos veces", "4", "2", "SOLXSOLX", "SOL", "001002003") +
           Section("10", "Blancos", "3", "2", "SOLAXE", "SOL  SOL", "001002003") +
           Section("11", "Cifras", "3", "2", "SOLAXE", "SOL", "0010023") +
           Section("12", "Casilla", "3", "2", "SOLAXE", "SOL", "001002009") +
           Section("13", "Marca", "3", "2", "SOLQ\xCC\x83X", "SOL", "001002003") +
           Section("14", "Astral", "3", "2", "SOL\xF0\x9D\x94\xB8X", "SOL", "001002003") +
           Section("15", "Hueco", "3", "2", "SOL XE", "SOL", "001002003") +
           Section("16", "Mal guardado", "3", "1", "\xC3\x83\xC2\xB1O", "ÑO", "") +
           Section("17", "", "3", "2", "SOLAXE", "SOL", "001002003") +
           Section("18", "Oculto", "3", "2", "SOLAXE", "SOL", "001002003") + "Letras\f=OTRA\n" +
           Section("20", "Tras el hueco", "3", "2", "SOLAXE", "SOL", "001002003") +
           Section("018", "Ceros", "3", "2", "SOLAXE", "SOL", "001002003") +
           Section("1", "Repetido", "3", "2", "SOLAXE", "SOL", "001002003");
}

// Sound puzzles that look odd: decomposed accents that compose to single
// letters, a palindrome read both ways over the same cells, a one-letter
// word, solution cells out of order; the file ends in the Ctrl-Z an old
// editor leaves right after the last value.
QByteArray SoundFile() {
    return Section("1", "Ñandú", "5", "1",
                   "N\xCC\x83"
                   "ANDU\xCC\x81",
                   "\xC3\x91"
                   "AND\xC3\x9A",
                   "001002003004005") +
           Section("2", "Ana", "3", "2", "ANAXYZ", "ANA Z", "003002001006").chopped(2) + "\x1A";
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The catalogue text of a fault as a pattern, its arguments left open.
QRegularExpression Pattern(int message) {
    QStringList pieces =
        MessageCatalogue::Text(message).split(QRegularExpression(QStringLiteral("%\\d")));
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    return QRegularExpression(QStringLiteral("^") + pieces.join(QStringLiteral(".*")) +
                              QStringLiteral("$"));
}

QStringList Lines(const std::vector<PuzzleFault>& faults) {
    QStringList lines;
    for (const PuzzleFault& fault : faults)
        lines += fault.Text();
    return lines;
}

} // namespace

class TestPuzzleChecker : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString faulty_;
    QString sound_;
    std::vector<PuzzleFault> faults_;

private slots:
    void initTestCase() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        faulty_ = folder_.filePath(QStringLiteral("faulty.ini"));
        sound_ = folder_.filePath(QStringLiteral("sound.ini"));
        Write(faulty_, FaultyFile());
        Write(sound_, SoundFile());
        faults_ = PuzzleChecker::CheckFile(faulty_);
    }

    void findsEachKindOfFault_data() {
        QTest::addColumn<QString>("puzzle");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("message");
        QTest::newRow("over 999 cells") << "2"
                                        << "CantAncho" << 11321;
        QTest::newRow("no columns") << "3"
                                    << "CantAncho" << 11321;
        QTest::newRow("size not a number") << "4"
                                           << "CantAncho" << 11320;
        QTest::newRow("letter count") << "5"
                                      << "Letras" << 11322;
        QTest::newRow("word not in grid") << "6"
                                          << "Palabras" << 11333;
        QTest::newRow("solution marks other cells") << "7"
                                                    << "Solucion" << 11342;
        QTest::newRow("solution leaves cells out") << "8"
                                                   << "Solucion" << 11343;
        QTest::newRow("word found twice") << "9"
                                          << "Palabras" << 11334;
        QTest::newRow("double blank") << "10"
                                      << "Palabras" << 11331;
        QTest::newRow("word listed twice") << "10"
                                           << "Palabras" << 11335;
        QTest::newRow("solution length") << "11"
                                         << "Solucion" << 11340;
        QTest::newRow("solution past the grid") << "12"
                                                << "Solucion" << 11341;
        QTest::newRow("mark that does not compose") << "13"
                                                    << "Letras" << 11324;
        QTest::newRow("letter outside the BMP") << "14"
                                                << "Letras" << 11324;
        QTest::newRow("blank cell") << "15"
                                    << "Letras" << 11323;
        QTest::newRow("UTF-8 saved twice") << "16"
                                           << "Letras" << 11351;
        QTest::newRow("empty title hides the rest") << "17"
                                                    << "Titulo" << 11311;
        QTest::newRow("key written twice") << "18"
                                           << "Letras" << 11314;
        QTest::newRow("number missing") << "19"
                                        << "Titulo" << 11310;
        QTest::newRow("leading zeros") << "018"
                                       << "[018]" << 11312;
        QTest::newRow("section written twice") << "1"
                                               << "[1]" << 11313;
    }

    void findsEachKindOfFault() {
        QFETCH(QString, puzzle);
        QFETCH(QString, key);
        QFETCH(int, message);
        const QRegularExpression pattern = Pattern(message);
        const bool found = std::any_of(faults_.begin(), faults_.end(), [&](const PuzzleFault& f) {
            return f.puzzle == puzzle && f.key == key && pattern.match(f.what).hasMatch();
        });
        QVERIFY2(found, qPrintable(Lines(faults_).join(u'\n')));
    }

    // Each fault once, and none in the sound puzzles among them. Puzzle 16
    // adds two faults that follow from its misread letter.
    void reportsNothingElse() {
        const QStringList lines = Lines(faults_);
        QVERIFY2(lines.size() == 23, qPrintable(lines.join(u'\n')));
        for (const PuzzleFault& fault : faults_)
            QVERIFY2(fault.puzzle != QStringLiteral("20"), qPrintable(fault.Text()));
        QVERIFY(lines.contains(
            QStringLiteral("Juego 5, Letras: tiene 5 letras para 3 × 2 = 6 casillas")));
        QVERIFY(lines.contains(QStringLiteral(
            "Juego 19, Titulo: falta la sección; la lista de juegos se detiene aquí y no muestra "
            "estos juegos: 20")));
    }

    // What the board refuses to load, the checker finds, from the same rules.
    void findsWhatTheBoardRefuses() {
        const IniFileReader reader;
        const PuzzleFile file(reader, faulty_);
        QList<int> refused;
        for (int number = 1; number <= 20; ++number) {
            try {
                file.Read(number, QStringLiteral("test"));
            } catch (const AppError&) {
                refused << number;
                const QString section = QString::number(number);
                QVERIFY2(!PuzzleChecker::CheckPuzzle(PuzzleChecker::ReadPuzzle(faulty_, section))
                              .empty(),
                         qPrintable(section));
            }
        }
        QCOMPARE(refused, (QList<int>{2, 3, 4, 13, 14, 19}));
    }

    void passesOddButSoundPuzzles() {
        QVERIFY2(PuzzleChecker::CheckFile(sound_).empty(),
                 qPrintable(Lines(PuzzleChecker::CheckFile(sound_)).join(u'\n')));
    }

    // A line in another encoding in a UTF-8 file is damaged; a file wholly
    // in Windows-1252, as old files were written, is not.
    void findsADamagedEncoding() {
        const QString mixed = folder_.filePath(QStringLiteral("mixed.ini"));
        Write(mixed, Section("1", "Niño", "3", "2", "SOLAXE", "SOL", "001002003") +
                         Section("2",
                                 "Ni\xF1"
                                 "a",
                                 "3", "2", "SOLAXE", "SOL", "001002003"));
        const std::vector<PuzzleFault> faults = PuzzleChecker::CheckFile(mixed);
        QVERIFY2(std::any_of(faults.begin(), faults.end(),
                             [](const PuzzleFault& f) {
                                 return f.puzzle == QStringLiteral("2") &&
                                        f.key == QStringLiteral("Titulo") && f.line == 10 &&
                                        Pattern(11350).match(f.what).hasMatch();
                             }),
                 qPrintable(Lines(faults).join(u'\n')));

        const QString legacy = folder_.filePath(QStringLiteral("legacy.ini"));
        Write(legacy, Section("1",
                              "Ni\xF1"
                              "o",
                              "3", "1", "A\xD1O", "A\xD1O", "001002003"));
        QVERIFY2(PuzzleChecker::CheckFile(legacy).empty(),
                 qPrintable(Lines(PuzzleChecker::CheckFile(legacy)).join(u'\n')));

        // The stray byte reads as the game reads it: 0x80 is the euro sign,
        // so the key of the line before is repeated, and the second unread.
        const QString euro = folder_.filePath(QStringLiteral("euro.ini"));
        Write(euro, Section("1", "Niño", "3", "2", "SOLAXE", "SOL", "001002003") +
                        "Precio€=1\nPrecio\x80=2\n");
        const std::vector<PuzzleFault> euroFaults = PuzzleChecker::CheckFile(euro);
        QVERIFY2(std::any_of(euroFaults.begin(), euroFaults.end(),
                             [](const PuzzleFault& f) {
                                 return f.key == QStringLiteral("Precio€") &&
                                        Pattern(11314).match(f.what).hasMatch();
                             }),
                 qPrintable(Lines(euroFaults).join(u'\n')));
    }

    // The game refuses a puzzle of more than 99 words; the checker says why.
    void saysWhyAPuzzleOfManyWordsIsRefused() {
        QStringList words;
        for (int i = 1; i <= 120; ++i)
            words << QStringLiteral("P%1").arg(i);
        const std::vector<PuzzleFault> faults =
            PuzzleChecker::CheckPuzzle({"4", "3", "2", "Larga", "SOLAXE", words.join(u' '), "001"});
        QVERIFY2(std::any_of(faults.begin(), faults.end(),
                             [](const PuzzleFault& f) {
                                 return f.key == QStringLiteral("Palabras") &&
                                        f.what == MessageCatalogue::Text(11332).arg(120);
                             }),
                 qPrintable(Lines(faults).join(u'\n')));
    }

    // A NUL damages its line: the checker names the line and the cause, not
    // an earlier conversion, and the zeros a crash leaves at the end too.
    void findsNulBytes() {
        const QString damaged = folder_.filePath(QStringLiteral("zeros.ini"));
        Write(damaged,
              Section("1", "Bueno", "3", "2", "SOLAXE", "SOL", "001002003") +
                  Section("2", QByteArray("Ro\0pa", 5), "3", "2", "SOLAXE", "SOL", "001002003") +
                  QByteArray(64, '\0'));
        const QStringList lines = Lines(PuzzleChecker::CheckFile(damaged));
        QVERIFY2(lines.size() == 2, qPrintable(lines.join(u'\n')));
        QVERIFY2(lines[0].contains(QStringLiteral("Titulo")) &&
                     lines[0].endsWith(MessageCatalogue::Text(11353).arg(10)),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].endsWith(MessageCatalogue::Text(11353).arg(17)), qPrintable(lines[1]));
    }

    void commandLine() {
        auto run = [](const QStringList& arguments, QByteArray* out = nullptr) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
            environment.remove(QStringLiteral("LC_ALL"));
            const ProgramRun maker =
                ProgramRun::Of(QStringLiteral(ZELVORA_MAKER_PATH),
                               QStringList{QStringLiteral("check")} + arguments, environment);
            if (out)
                *out = maker.out;
            return maker.exitCode;
        };
        QByteArray out;
        QCOMPARE(run({faulty_}, &out), 1);
        // The maker writes its messages as text in the system's encoding
        // (UTF-8 on Linux; the ANSI code page and CR LF on Windows).
        const QStringList lines = QString::fromLocal8Bit(out).split(
            QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 23);
        QVERIFY2(lines.contains(faulty_ + QStringLiteral(": Puzzle 5, Letras: has 5 letters for "
                                                         "3 × 2 = 6 cells")),
                 out.constData());
        QCOMPARE(run({QStringLiteral(ZELVORA_SOURCE_DIR "/data/zelvora.ini")}), 0);
        QCOMPARE(run({folder_.filePath(QStringLiteral("none.ini"))}), 1);
        QCOMPARE(run({}), 2);
    }
};

QTEST_MAIN(TestPuzzleChecker)
#include "test_puzzle_checker.moc"
