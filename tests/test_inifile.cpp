#include "outside/AppError.h"
#include "outside/IniFileReader.h"
#include "outside/MessageCatalogue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    int files_ = 0;

    // Each call writes a new file, so no case sees another's cached parse.
    QString WriteNewFile(const QByteArray& bytes) {
        return Write(folder_.filePath(QStringLiteral("f%1.ini").arg(++files_)), bytes);
    }

    static QString Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    static void MoveModificationTime(const QString& path, int seconds) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime later = QFileInfo(path).lastModified().addSecs(seconds);
        QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
    }

    // One reader for the whole test, as the board keeps one: its kept parse
    // must never hide a change on disk.
    IniFileReader reader_;

    QString Read(const QString& section, const QString& key, const QString& file,
                 int size = 0) const {
        return reader_.GetValue(section, key, file, size);
    }

    static QByteArray Utf16(const QString& text, QSysInfo::Endian order) {
        QByteArray bytes = order == QSysInfo::LittleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const QChar c : text) {
            const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
            bytes.append(order == QSysInfo::LittleEndian ? low : high);
            bytes.append(order == QSysInfo::LittleEndian ? high : low);
        }
        return bytes;
    }

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }

    void readsWithTheProfileRules_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        // Names without regard to case, values exactly as stored.
        QTest::newRow("section and key in other case")
            << QByteArray("[Animales]\nTitulo=GaTo\n") << "ANIMALES"
            << "tITULO"
            << "GaTo";
        QTest::newRow("accented names in other case") << QByteArray("[Año]\nÑandú=Sí\n") << "AÑO"
                                                      << "ñANDÚ"
                                                      << "Sí";

        // Blanks and tabs.
        QTest::newRow("blanks around key and value")
            << QByteArray("[1]\n   Titulo   =   Gato montés   \n") << "1"
            << "Titulo"
            << "Gato montés";
        QTest::newRow("tabs around key and value")
            << QByteArray("[1]\n\tTitulo\t=\t\tGato\t\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("blanks and tabs inside brackets")
            << QByteArray("[ \t 7 \t ]\nTitulo=Gato\n") << "7"
            << "Titulo"
            << "Gato";
        QTest::newRow("indented section line") << QByteArray("  \t[7]\nTitulo=Gato\n") << "7"
                                               << "Titulo"
                                               << "Gato";
        QTest::newRow("indented key after another key")
            << QByteArray("[1]\nTitulo=Gato\n    Letras=ABC\n") << "1"
            << "Letras"
            << "ABC";
        QTest::newRow("blank value") << QByteArray("[1]\nTitulo=   \n") << "1"
                                     << "Titulo"
                                     << "";
        QTest::newRow("vertical tab and form feed are blanks")
            << QByteArray("\f[\v7\f]\v\n\vTitulo\f=\v Gato\f\n") << "7"
            << "Titulo"
            << "Gato";
        QTest::newRow("Ctrl-Z ending the file") << QByteArray("[1]\r\nTitulo=Gato\x1A") << "1"
                                                << "Titulo"
                                                << "Gato";
        QTest::newRow("Ctrl-Z after a quoted value")
            << QByteArray("[1]\nTitulo=\" Gato \"\x1A\x1A") << "1"
            << "Titulo"
            << " Gato ";
        QTest::newRow("Ctrl-Z before the zeros of a crash")
            << QByteArray("[1]\nTitulo=Gato\x1A") + QByteArray(64, '\0') << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("Ctrl-Z, vertical tab and form feed inside a value stay")
            << QByteArray("[1]\nT=a\x1A"
                          "b\vc\fd\n")
            << "1"
            << "T"
            << "a\x1A"
               "b\vc\fd";

        // Quotes.
        QTest::newRow("double quotes") << QByteArray("[1]\nT=\"Gato\"\n") << "1"
                                       << "T"
                                       << "Gato";
        QTest::newRow("single quotes") << QByteArray("[1]\nT='Gato'\n") << "1"
                                       << "T"
                                       << "Gato";
        QTest::newRow("blanks inside quotes stay") << QByteArray("[1]\nT = \" Gato \" \n") << "1"
                                                   << "T"
                                                   << " Gato ";
        QTest::newRow("only the outer pair goes") << QByteArray("[1]\nT=\"\"Gato\"\"\n") << "1"
                                                  << "T"
                                                  << "\"Gato\"";
        QTest::newRow("mismatched quotes stay") << QByteArray("[1]\nT=\"Gato'\n") << "1"
                                                << "T"
                                                << "\"Gato'";
        QTest::newRow("opening quote only") << QByteArray("[1]\nT=\"Gato\n") << "1"
                                            << "T"
                                            << "\"Gato";
        QTest::newRow("lone quote stays") << QByteArray("[1]\nT=\"\n") << "1"
                                          << "T"
                                          << "\"";
        QTest::newRow("empty quoted value") << QByteArray("[1]\nT=''\n") << "1"
                                            << "T"
                                            << "";
        QTest::newRow("quotes inside the value") << QByteArray("[1]\nT=Di \"hola\" ya\n") << "1"
                                                 << "T"
                                                 << "Di \"hola\" ya";

        // Comments.
        QTest::newRow("semicolon line is a comment")
            << QByteArray("[1]\n;Titulo=Otro\nTitulo=Gato\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("indented semicolon line is a comment")
            << QByteArray("[1]\n   ;Titulo=Otro\n") << "1"
            << "Titulo"
            << "";
        QTest::newRow("semicolon later in the line is value")
            << QByteArray("[1]\nTitulo=Ani;males ; c\n") << "1"
            << "Titulo"
            << "Ani;males ; c";
        QTest::newRow("hash line is a key") << QByteArray("[1]\n#Titulo=Gato\n") << "1"
                                            << "#Titulo"
                                            << "Gato";
        QTest::newRow("hash line hides nothing") << QByteArray("[1]\n#Titulo=Gato\n") << "1"
                                                 << "Titulo"
                                                 << "";
        QTest::newRow("hash inside the value") << QByteArray("[1]\nTitulo=Gato # negro\n") << "1"
                                               << "Titulo"
                                               << "Gato # negro";
        QTest::newRow("commented-out section") << QByteArray(";[1]\nTitulo=Gato\n") << "1"
                                               << "Titulo"
                                               << "";

        // Section lines.
        QTest::newRow("text after the bracket")
            << QByteArray("[1] ; los gatos\nTitulo=Gato\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("blanks of every kind inside brackets")
            << QByteArray("[\x1A 1\v\t]\nTitulo=Gato\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("a line of blanks only")
            << QByteArray("[1]\n\v\f\x1A\t \nTitulo=Gato\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("form feed before a comment")
            << QByteArray("[1]\n\f; Titulo=Gato\nTitulo=Perro\n") << "1"
            << "Titulo"
            << "Perro";
        QTest::newRow("second closing bracket") << QByteArray("[1]]\nTitulo=Gato\n") << "1"
                                                << "Titulo"
                                                << "Gato";
        QTest::newRow("key lines before the first section")
            << QByteArray("Suelta=Nada\n[1]\nTitulo=Gato\n") << "1"
            << "Suelta"
            << "";
        QTest::newRow("line without equals sign is skipped")
            << QByteArray("[1]\nsuelta\nTitulo=Gato\n") << "1"
            << "Titulo"
            << "Gato";
        QTest::newRow("equals sign inside the value") << QByteArray("[1]\nFormula=a=b\n") << "1"
                                                      << "Formula"
                                                      << "a=b";

        // Duplicates.
        QTest::newRow("first duplicate key wins")
            << QByteArray("[1]\nTitulo=Primero\ntitulo=Segundo\n") << "1"
            << "Titulo"
            << "Primero";
        QTest::newRow("first duplicate section wins")
            << QByteArray("[1]\nTitulo=Primero\n[2]\nTitulo=Otro\n[1]\nTitulo=Segundo\n") << "1"
            << "Titulo"
            << "Primero";
        QTest::newRow("later duplicate section is not searched")
            << QByteArray("[1]\nTitulo=Gato\n[ 1 ]\nLetras=ABC\n") << "1"
            << "Letras"
            << "";
        QTest::newRow("a far number repeated")
            << QByteArray("[5000]\nTitulo=A\n[5000]\nTitulo=B\n") << "5000"
            << "Titulo"
            << "A";
        QTest::newRow("a number reached later repeated")
            << QByteArray("[2000]\nTitulo=A\n") +
                   [] {
                       QByteArray more;
                       for (int n = 1; n <= 1500; ++n)
                           more += "[" + QByteArray::number(n) + "]\nT=x\n";
                       return more;
                   }() +
                   "[2000]\nTitulo=B\n"
            << "2000"
            << "Titulo"
            << "A";
        QTest::newRow("leading zero is another section")
            << QByteArray("[1]\nTitulo=Uno\n[01]\nTitulo=Cero uno\n") << "01"
            << "Titulo"
            << "Cero uno";
        QTest::newRow("a number is not its leading-zero twin")
            << QByteArray("[01]\nTitulo=Cero uno\n") << "1"
            << "Titulo"
            << "";
        QTest::newRow("sections differing in case are duplicates")
            << QByteArray("[Uno]\nTitulo=Gato\n[UNO]\nLetras=ABC\n") << "uno"
            << "Letras"
            << "";

        // Line ends.
        QTest::newRow("CRLF") << QByteArray("[1]\r\nTitulo=Gato\r\nLetras=ABC\r\n") << "1"
                              << "Titulo"
                              << "Gato";
        QTest::newRow("CRLF last line") << QByteArray("[1]\r\nTitulo=Gato\r\nLetras=ABC\r\n") << "1"
                                        << "Letras"
                                        << "ABC";
        QTest::newRow("no line end at the end") << QByteArray("[1]\nTitulo=Gato") << "1"
                                                << "Titulo"
                                                << "Gato";
        QTest::newRow("CR alone ends a line") << QByteArray("[1]\rTitulo=Gato\rLetras=ABC") << "1"
                                              << "Letras"
                                              << "ABC";
        QTest::newRow("mixed line ends")
            << QByteArray("[1]\nTitulo=Gato\r\n[2]\r\nTitulo=Perro\n") << "2"
            << "Titulo"
            << "Perro";
    }

    void readsWithTheProfileRules() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString value = Read(section, key, WriteNewFile(content));
        QCOMPARE(value, expected);
    }

    void readsUtf8AndWindows1252_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");

        const QString spanish = QStringLiteral("Ñandú ¿Qué? ¡Sí! áéíóúü ÁÉÍÓÚÜ ñ");
        const QByteArray spanish1252("\xD1"
                                     "and\xFA \xBFQu\xE9? \xA1S\xED! \xE1\xE9\xED\xF3\xFA\xFC "
                                     "\xC1\xC9\xCD\xD3\xDA\xDC \xF1");
        QTest::newRow("UTF-8") << "[1]\nTitulo=" + spanish.toUtf8() + "\n" << spanish;
        QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF[1]\nTitulo=" + spanish.toUtf8() + "\n"
                                        << spanish;
        QTest::newRow("UTF-8 with BOM and CRLF")
            << "\xEF\xBB\xBF[1]\r\nTitulo=" + spanish.toUtf8() + "\r\n"
            << spanish;
        QTest::newRow("Windows-1252 Spanish letters") << "[1]\nTitulo=" + spanish1252 + "\n"
                                                      << spanish;
        QTest::newRow("Windows-1252 0x80-0x9F")
            << QByteArray("[1]\nTitulo=\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                          "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F\n")
            << QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
        QTest::newRow("Windows-1252 euro and quotes") << QByteArray("[1]\nTitulo=\x93"
                                                                    "Caf\xE9\x94 a 2 \x80\n")
                                                      << QStringLiteral("“Café” a 2 €");
        QTest::newRow("Windows-1252 unassigned bytes")
            << QByteArray("[1]\nTitulo=\x81\x8D\x8F\x90\x9D\n")
            << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
        QTest::newRow("Windows-1252 no-break space and y diaeresis")
            << QByteArray("[1]\nTitulo=\xA0\xFF\n") << QStringLiteral("\u00A0ÿ");
        // A byte that is not UTF-8 makes its own line Windows-1252, no other.
        QTest::newRow("UTF-8 letters beside a stray 1252 byte")
            << "[1]\nTitulo=" + QStringLiteral("Ñandú").toUtf8() + "\nOtro=\xE9\n"
            << QStringLiteral("Ñandú");
        QTest::newRow("the stray byte's own line")
            << "[1]\nOtro=Ñ\nTitulo=Caf\xE9 " + QStringLiteral("ñ").toUtf8() + "\r\n"
            << QStringLiteral("Café Ã±");
        QTest::newRow("UTF-8 after a 1252 line with CR line ends")
            << "[1]\rOtro=\xE9\rTitulo=" + QStringLiteral("Ñandú").toUtf8() + "\r"
            << QStringLiteral("Ñandú");
        const QString utf16 = QStringLiteral("[1]\r\nTitulo=Ñandú 🐈\r\n");
        QTest::newRow("UTF-16 LE")
            << Utf16(utf16, QSysInfo::LittleEndian) << QStringLiteral("Ñandú 🐈");
        QTest::newRow("UTF-16 BE")
            << Utf16(utf16, QSysInfo::BigEndian) << QStringLiteral("Ñandú 🐈");
        QTest::newRow("BOM followed by 1252 bytes")
            << QByteArray("\xEF\xBB\xBF[1]\nTitulo=Caf\xE9\n") << QStringLiteral("Café");
        QTest::newRow("overlong UTF-8 form is not UTF-8")
            << QByteArray("[1]\nTitulo=\xC0\xAF\n") << QStringLiteral("À¯");
        QTest::newRow("UTF-8 surrogate is not UTF-8")
            << QByteArray("[1]\nTitulo=\xED\xA0\x80\n") << QStringLiteral("í\u00A0€");
        QTest::newRow("four-byte UTF-8")
            << "[1]\nTitulo=" + QStringLiteral("gato 🐈").toUtf8() + "\n"
            << QStringLiteral("gato 🐈");
    }

    void readsUtf8AndWindows1252() {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QCOMPARE(Read("1", "Titulo", WriteNewFile(content)), expected);
    }

    void matchesSectionNamesWrittenInWindows1252() {
        const QString file = WriteNewFile("[A\xF1o]\nD\xED"
                                          "a=Lunes\n");
        QCOMPARE(Read(QStringLiteral("AÑO"), QStringLiteral("DÍA"), file), QStringLiteral("Lunes"));
    }

    void returnsLongValuesWhole_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("size");
        QTest::newRow("1000 with size 1000") << 1000 << 1000;
        QTest::newRow("1001 with size 1000") << 1001 << 1000;
        QTest::newRow("5000 with size 0") << 5000 << 0;
        QTest::newRow("5000 with size 1000") << 5000 << 1000;
        QTest::newRow("200000 with size 1") << 200000 << 1;
    }

    void returnsLongValuesWhole() {
        QFETCH(int, length);
        QFETCH(int, size);
        QString letters;
        const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNÑOPQRSTUVWXYZ");
        for (int i = 0; i < length; ++i)
            letters += alphabet[(i * 7) % alphabet.size()];
        const QString file =
            WriteNewFile("[1]\r\nLetras=" + letters.toUtf8() + "\r\nTitulo=Largo\r\n");
        QCOMPARE(Read("1", "Letras", file, size), letters);
        QCOMPARE(Read("1", "Titulo", file, size), QStringLiteral("Largo"));
    }

    void missingThingsReadEmpty_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        const QString present = WriteNewFile("[1]\nTitulo=Gato\n");
        QTest::newRow("missing file") << folder_.filePath("no-such.ini") << "1"
                                      << "Titulo";
        QTest::newRow("missing folder") << folder_.filePath("none/f.ini") << "1"
                                        << "Titulo";
        QTest::newRow("folder instead of file") << folder_.path() << "1"
                                                << "Titulo";
        QTest::newRow("empty file name") << QString() << "1"
                                         << "Titulo";
        QTest::newRow("empty file") << WriteNewFile("") << "1"
                                    << "Titulo";
        QTest::newRow("missing section") << present << "2"
                                         << "Titulo";
        QTest::newRow("section with leading zero") << present << "01"
                                                   << "Titulo";
        QTest::newRow("missing key") << present << "1"
                                     << "Letras";
        QTest::newRow("empty section name") << present << ""
                                            << "Titulo";
    }

    void missingThingsReadEmpty() {
        QFETCH(QString, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QString value = Read(section, key, file);
        QVERIFY2(value.isEmpty(), qPrintable(value));
    }

    // The cache must never hide a change on disk.
    void readsARewrittenFileAgain_data() {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<QString>("expected");
        QTest::newRow("other size, same second")
            << QByteArray("[1]\nTitulo=Perros\n") << 0 << "Perros";
        QTest::newRow("same size, later time") << QByteArray("[1]\nTitulo=Pato\n") << 2 << "Pato";
        QTest::newRow("same size, earlier time")
            << QByteArray("[1]\nTitulo=Pato\n") << -60 << "Pato";
    }

    void readsARewrittenFileAgain() {
        QFETCH(QByteArray, second);
        QFETCH(int, secondsLater);
        QFETCH(QString, expected);
        const QString file = WriteNewFile("[1]\nTitulo=Gato\n");
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Gato"));
        Write(file, second);
        if (secondsLater != 0)
            MoveModificationTime(file, secondsLater);
        QCOMPARE(Read("1", "Titulo", file), expected);
    }

    void forgetsADeletedOrReplacedFile() {
        const QString file = WriteNewFile("[1]\nTitulo=Gato\n");
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Gato"));
        QVERIFY(QFile::remove(file));
        QCOMPARE(Read("1", "Titulo", file), QString());
        Write(file, "[1]\nTitulo=Pez\n");
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Pez"));

        // Another file moved into its place, of the same size and time.
        const QString other = WriteNewFile("[1]\nTitulo=Paz\n");
        QFile moved(other);
        QVERIFY(moved.open(QIODevice::ReadWrite));
        QVERIFY(
            moved.setFileTime(QFileInfo(file).lastModified(), QFileDevice::FileModificationTime));
        moved.close();
        QVERIFY(QFile::remove(file) && QFile::rename(other, file));
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Paz"));
    }

    // The game chooser reads one key per puzzle through one reader.
    void oneReaderAnswersManyLookups() {
        constexpr int puzzles = 2000;
        QByteArray content;
        for (int n = 1; n <= puzzles; ++n)
            content += "[" + QByteArray::number(n) + "]\r\nTitulo=Juego " + QByteArray::number(n) +
                       "\r\nCantAncho=8\r\n";
        const QString file = WriteNewFile(content);
        const QString name = QFileInfo(file).fileName();

        for (int n = 1; n <= puzzles; ++n)
            QCOMPARE(Read(QString::number(n), "Titulo", file), QStringLiteral("Juego %1").arg(n));
        QCOMPARE(Read(QString::number(puzzles + 1), "Titulo", file), QString());

        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_.path()));
        QCOMPARE(Read("7", "CantAncho", name), QStringLiteral("8"));
        QVERIFY(QDir::setCurrent(oldCurrent));
    }

    // A file that gives no values at all says why, naming itself.
    void unreadableFilesSayWhy_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("reason");
        QTest::newRow("missing") << folder_.filePath("no-such.ini") << 53 << 11501;
        QTest::newRow("folder") << folder_.path() << 75 << 11502;
        QTest::newRow("picture") << WriteNewFile(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16))
                                 << 75 << 11504;
        QTest::newRow("NUL in UTF-16")
            << WriteNewFile(QByteArray("\xFF\xFE[\0\0\0", 6)) << 75 << 11504;
        QTest::newRow("only zeros") << WriteNewFile(QByteArray(512, '\0')) << 75 << 11504;
        QTest::newRow("zeros after the puzzles")
            << WriteNewFile(QByteArray("[1]\nTitulo=Gato\n") + QByteArray(512, '\0')) << 0 << 0;
        QTest::newRow("readable") << WriteNewFile("[1]\nTitulo=Gato\n") << 0 << 0;
        QTest::newRow("empty") << WriteNewFile("") << 0 << 0;
    }

    void unreadableFilesSayWhy() {
        QFETCH(QString, file);
        QFETCH(int, number);
        QFETCH(int, reason);
        try {
            reader_.CheckReadable(file);
            QCOMPARE(0, number);
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), number);
            QCOMPARE(error.Description(),
                     MessageCatalogue::Text(11500).arg(QDir::toNativeSeparators(file),
                                                       MessageCatalogue::Text(reason)));
        }
        if (number != 0)
            QCOMPARE(Read("1", "Titulo", file), QString());
    }

    void aFileWithoutPermissionSaysSo() {
        const QString file = WriteNewFile("[1]\nTitulo=Gato\n");
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Gato"));
        QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
        if (QFile(file).open(QIODevice::ReadOnly))
            QSKIP("this user reads files without permission (root)");
        try {
            reader_.CheckReadable(file);
            QFAIL("a file without permission cannot be read");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 75);
            QVERIFY(error.Description().contains(MessageCatalogue::Text(11503)));
        }
        QCOMPARE(Read("1", "Titulo", file), QString());
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(Read("1", "Titulo", file), QStringLiteral("Gato"));
    }

    // A name the system cannot follow gives the system's reason, not none.
    void aLoopOfLinksSaysWhy() {
        const QString first = folder_.filePath("loop1.ini"), second = folder_.filePath("loop2.ini");
        if (!QFile::link(second, first) || !QFile::link(first, second))
            QSKIP("no symbolic links here");
        try {
            reader_.CheckReadable(first);
            QFAIL("a loop of links cannot be read");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 75);
            QVERIFY(error.Description() !=
                    MessageCatalogue::Text(11500).arg(QDir::toNativeSeparators(first), QString()));
        }
    }

    void keepsSeveralFilesApart() {
        const QString first = WriteNewFile("[1]\nTitulo=Uno\n");
        const QString second = WriteNewFile("[1]\nTitulo=Dos\n");
        QCOMPARE(Read("1", "Titulo", first), QStringLiteral("Uno"));
        QCOMPARE(Read("1", "Titulo", second), QStringLiteral("Dos"));
        QCOMPARE(Read("1", "Titulo", first), QStringLiteral("Uno"));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
