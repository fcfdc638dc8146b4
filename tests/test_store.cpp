#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"
#include "support/StandInPerson.h"
#include "support/TestRegistry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const qint32 kUser = RegistryStore::CurrentUser;

// The settings store keeps its folders from its first use on, so the test
// points it at a fresh config folder before anything touches it.
QTemporaryDir* configFolder = nullptr;

QString ConfigPath(const QString& relative) {
    return configFolder->filePath(relative);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

// The error WriteValue raised, or nothing when it succeeded.
std::optional<AppError> WriteError(const QString& keyPath, const QString& name,
                                   const QVariant& value, int kind = RegistryStore::Text) {
    try {
        RegistryStore().WriteValue(kUser, keyPath, name, value, kind);
    } catch (const AppError& error) {
        return error;
    }
    return std::nullopt;
}

// What another reader finds where the store keeps a value: the settings
// file, or on Windows the registry, not what this process remembers.
QVariant StoredElsewhere(const QString& keyPath, const QString& name) {
#ifdef Q_OS_WIN
    // Not through QSettings, which reads "@..." and NULs its own way.
    DWORD size = 0;
    const auto key = reinterpret_cast<const wchar_t*>(keyPath.utf16());
    const auto value = reinterpret_cast<const wchar_t*>(name.utf16());
    if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return QVariant();
    std::wstring text(size / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text.data(), &size);
    return QString::fromWCharArray(text.data(), qsizetype(size / sizeof(wchar_t)) - 1);
#else
    const QStringList parts = keyPath.split(u'\\');
    QSettings onDisk(ConfigPath(parts[1] + "/" + parts[2] + ".conf"), QSettings::IniFormat);
    return onDisk.value((parts.mid(3) << name).join(u'/'));
#endif
}

std::optional<AppError> ReadError(qint32 root, const QString& keyPath, const QString& name) {
    try {
        RegistryStore().ReadValue(root, keyPath, name);
    } catch (const AppError& error) {
        return error;
    }
    return std::nullopt;
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT

    ProductInfo product_;

    QString Settings() const { return product_.GetRegistryKey(2, 0); }

    static QVariant Read(const QString& keyPath, const QString& name) {
        return RegistryStore().ReadValue(kUser, keyPath, name);
    }
    static void Write(const QString& keyPath, const QString& name, const QVariant& value) {
        RegistryStore().WriteValue(kUser, keyPath, name, value, RegistryStore::Text);
    }

private slots:
    // The texts of writtenValuesReadBackAsText, by tag.
    static QMap<QString, QString> WrittenValues() {
        return {{"comma", "Arial, Negrita"},
                {"commas without blanks", "a,b,,c"},
                {"blanks kept", "  dos  blancos  "},
                {"semicolon and hash", "x;y # z"},
                {"quotes", "\"entre comillas\""},
                {"Spanish letters", "Ñandú ¿€?"},
                {"Windows path", "C:\\Fotos\\gato.bmp"},
                {"Linux path", "/home/ana/Fotos/playa, verano.png"},
                {"looks like a Qt type", "@Rect(1 2 3 4)"},
                {"line break", "uno\r\ndos"},
                {"empty text", ""}};
    }

    void writtenValuesReadBackAsText_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cell list") << QVariant("001002014") << "001002014";
        QTest::newRow("empty text") << QVariant(QString("")) << "";
        QTest::newRow("comma") << QVariant("Arial, Negrita") << "Arial, Negrita";
        QTest::newRow("commas without blanks") << QVariant("a,b,,c") << "a,b,,c";
        QTest::newRow("blanks kept") << QVariant("  dos  blancos  ") << "  dos  blancos  ";
        QTest::newRow("semicolon and hash") << QVariant("x;y # z") << "x;y # z";
        QTest::newRow("quotes") << QVariant("\"entre comillas\"") << "\"entre comillas\"";
        QTest::newRow("Spanish letters") << QVariant("Ñandú ¿€?") << "Ñandú ¿€?";
        QTest::newRow("Windows path") << QVariant("C:\\Fotos\\gato.bmp") << "C:\\Fotos\\gato.bmp";
        QTest::newRow("Linux path")
            << QVariant("/home/ana/Fotos/playa, verano.png") << "/home/ana/Fotos/playa, verano.png";
        QTest::newRow("looks like a Qt type") << QVariant("@Rect(1 2 3 4)") << "@Rect(1 2 3 4)";
        QTest::newRow("line break") << QVariant("uno\r\ndos") << "uno\r\ndos";
        QTest::newRow("control character before a hex digit")
            << QVariant(QString("a\x01") + "b") << QString("a\x01") + "b";
        QTest::newRow("NUL before a digit")
            << QVariant(QString(QChar(0)) + "7") << QString(QChar(0)) + "7";
        QTest::newRow("tab first") << QVariant("\tx") << "\tx";
        QTest::newRow("no-break blank last") << QVariant("x\u00A0") << "x\u00A0";
        QTest::newRow("two at signs") << QVariant("@@x") << "@@x";
        QTest::newRow("lone semicolon") << QVariant(";") << ";";
        QTest::newRow("emoji") << QVariant("\U0001F600") << "\U0001F600";
        QTest::newRow("32-bit colour") << QVariant(qint32(0x00FF8040)) << "16744512";
        QTest::newRow("negative number") << QVariant(-1) << "-1";
        QTest::newRow("16-bit true") << QVariant::fromValue<qint16>(-1) << "-1";
        QTest::newRow("point size") << QVariant(10.5) << "10.5";
        QTest::newRow("whole point size") << QVariant(12.0) << "12";
        QTest::newRow("empty variant") << QVariant() << "";
    }

    void writtenValuesReadBackAsText() {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        const QString name = QStringLiteral("Valor%1")
                                 .arg(QTest::currentDataTag())
                                 .remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        Write(Settings(), name, value);
        const QVariant read = Read(Settings(), name);
        QCOMPARE(read.typeId(), QMetaType::QString);
        QCOMPARE(read.toString(), expected);
        QCOMPARE(StoredElsewhere(Settings(), name).toString(), expected);
    }

    // Files the earlier store wrote through Qt's own INI format read back
    // unchanged, and a value written beside them leaves the others whole.
    void filesOfTheEarlierStoreReadUnchanged() {
        FILE_STORE_ONLY();
        const QString file = ConfigPath("Pinarejo/Antiguo.conf");
        const QString key = "Software\\Pinarejo\\Antiguo\\Configuracion";
        QList<std::pair<QString, QString>> values;
        {
            QSettings earlier(file, QSettings::IniFormat);
            for (const char* tag :
                 {"comma", "commas without blanks", "blanks kept", "semicolon and hash", "quotes",
                  "Spanish letters", "Windows path", "Linux path", "looks like a Qt type",
                  "line break", "empty text"}) {
                const QString text = WrittenValues().value(tag);
                const QString name = QStringLiteral("V%1").arg(values.size());
                earlier.setValue("Configuracion/" + name, text);
                values.append({name, text});
            }
            earlier.setValue("Juegos/3/Save", "001002003");
        }
        for (const auto& [name, text] : values)
            QCOMPARE(Read(key, name).toString(), text);
        Write("Software\\Pinarejo\\Antiguo\\Juegos\\3", "Palabras", "01");
        QSettings again(file, QSettings::IniFormat);
        for (const auto& [name, text] : values)
            QCOMPARE(again.value("Configuracion/" + name).toString(), text);
        QCOMPARE(Read("Software\\Pinarejo\\Antiguo\\Juegos\\3", "Save").toString(),
                 QStringLiteral("001002003"));
    }

    // A damaged line never stops the store: every line that can be read is
    // kept, the file as it was is set aside under a name that says so, a
    // sound file takes its place, and the player hears of it once.
    void damagedLinesAreSetAsideAndSavingGoesOn_data() {
        QTest::addColumn<QByteArray>("damage");
        QTest::newRow("line without =") << QByteArray("ColorLineas 255");
        QTest::newRow("unclosed section") << QByteArray("[Configuracion");
        QTest::newRow("conflict markers")
            << QByteArray("<<<<<<< mine\nColorLineas=7\n=======\n>>>>>>> theirs");
        QTest::newRow("cut short by a full disk") << QByteArray("ColorLin");
        QTest::newRow("not UTF-8") << QByteArray("ImageFile=C:\\Fotos\\ni\xF1o.bmp");
    }

    void damagedLinesAreSetAsideAndSavingGoesOn() {
        FILE_STORE_ONLY();
        QFETCH(QByteArray, damage);
        StandInPerson person;
        const QString app = QStringLiteral("Roto%1")
                                .arg(QTest::currentDataTag())
                                .remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        const QString folder = ConfigPath("Pinarejo");
        const QString file = folder + "/" + app + ".conf";
        const QByteArray before = "[Configuracion]\nColorFondo=255\n" + damage +
                                  "\nFontName=\"Arial, Negrita\"\n\n[Juegos]\n2\\Save=001002\n";
        WriteBytes(file, before);
        const QString settings = "Software\\Pinarejo\\" + app + "\\Configuracion";
        const QString puzzle = "Software\\Pinarejo\\" + app + "\\Juegos\\2";

        QCOMPARE(Read(settings, "ColorFondo").toString(), QStringLiteral("255"));
        QCOMPARE(Read(settings, "FontName").toString(), QStringLiteral("Arial, Negrita"));
        QCOMPARE(Read(puzzle, "Save").toString(), QStringLiteral("001002"));
        Write(puzzle, "Save", "001002003");
        QCOMPARE(Read(puzzle, "Save").toString(), QStringLiteral("001002003"));

        const QStringList aside = QDir(folder).entryList({app + "-damaged-*.conf"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(FileBytes(folder + "/" + aside[0]), before);
        const QByteArray now = FileBytes(file);
        QVERIFY2(!now.split('\n').contains(damage.split('\n').first()), now.constData());
        QSettings sound(file, QSettings::IniFormat);
        QCOMPARE(sound.status(), QSettings::NoError);
        QCOMPARE(sound.value("Configuracion/ColorFondo").toString(), QStringLiteral("255"));
        QCOMPARE(sound.value("Juegos/2/Save").toString(), QStringLiteral("001002003"));

        QCoreApplication::processEvents();
        QCOMPARE(person.Count("information"), 1);
        const QString notice = person.asked.last().text;
        QVERIFY2(notice.contains(QDir::toNativeSeparators(file)), qPrintable(notice));
        QVERIFY2(notice.contains(QDir::toNativeSeparators(folder + "/" + aside[0])),
                 qPrintable(notice));
        QVERIFY2(notice.startsWith(MessageCatalogue::Text(11400).section("%1", 0, 0)),
                 qPrintable(notice));
    }

    // An editor saved the file as UTF-16 or UTF-32: it is read by its
    // byte-order mark, every value kept, nothing said; the next write leaves
    // it as UTF-8 with every value.
    void wideFilesReadByTheirByteOrderMark_data() {
        QTest::addColumn<QString>("encoding");
        QTest::newRow("UTF-16LE") << "UTF-16LE";
        QTest::newRow("UTF-16BE") << "UTF-16BE";
        QTest::newRow("UTF-32LE") << "UTF-32LE";
    }

    void wideFilesReadByTheirByteOrderMark() {
        FILE_STORE_ONLY();
        QFETCH(QString, encoding);
        StandInPerson person;
        const QString app = "Ancho" + QString(encoding).remove(u'-');
        const QString file = ConfigPath("Pinarejo/" + app + ".conf");
        const QString text = "[Configuracion]\r\nFontName=\"Ñandú, Negrita\"\r\n\r\n"
                             "[Juegos]\r\n7\\Save=001002\r\n";
        QStringEncoder encoder(*QStringConverter::encodingForName(encoding.toLatin1()),
                               QStringEncoder::Flag::WriteBom);
        WriteBytes(file, encoder.encode(text));
        const QString settings = "Software\\Pinarejo\\" + app + "\\Configuracion";
        const QString puzzle = "Software\\Pinarejo\\" + app + "\\Juegos\\7";
        QCOMPARE(Read(settings, "FontName").toString(), QStringLiteral("Ñandú, Negrita"));
        QCOMPARE(Read(puzzle, "Save").toString(), QStringLiteral("001002"));
        Write(puzzle, "Palabras", "01");
        QCOMPARE(FileBytes(file).left(1), QByteArray("["));
        QSettings again(file, QSettings::IniFormat);
        QCOMPARE(again.value("Configuracion/FontName").toString(),
                 QStringLiteral("Ñandú, Negrita"));
        QCOMPARE(again.value("Juegos/7/Save").toString(), QStringLiteral("001002"));
        QCOMPARE(again.value("Juegos/7/Palabras").toString(), QStringLiteral("01"));
        QCoreApplication::processEvents();
        QCOMPARE(person.asked.size(), 0);
        QCOMPARE(QDir(ConfigPath("Pinarejo")).entryList({app + "-*"}).size(), 0);
    }

    // The settings file is a link whose target is not there yet (a dotfile
    // manager on a new machine): the target is made, the link stays.
    void aDanglingLinkGetsItsTarget_data() {
        QTest::addColumn<bool>("targetFolderExists");
        QTest::newRow("target folder there") << true;
        QTest::newRow("target folder missing") << false;
    }

    void aDanglingLinkGetsItsTarget() {
        FILE_STORE_ONLY();
        QFETCH(bool, targetFolderExists);
        const QString app = targetFolderExists ? "Enlace1" : "Enlace2";
        const QString link = ConfigPath("Pinarejo/" + app + ".conf");
        const QString target = ConfigPath("dotfiles-" + app + "/" + app + ".conf");
        QVERIFY(QDir().mkpath(ConfigPath("Pinarejo")));
        if (targetFolderExists)
            QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        QVERIFY(QFile::link("../dotfiles-" + app + "/" + app + ".conf", link));
        const QString key = "Software\\Pinarejo\\" + app + "\\Juegos\\4";
        Write(key, "Save", "004005");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QSettings(target, QSettings::IniFormat).value("Juegos/4/Save").toString(),
                 QStringLiteral("004005"));
        Write(key, "Palabras", "03");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(Read(key, "Save").toString(), QStringLiteral("004005"));
        QVERIFY(FileBytes(target).contains("4\\Palabras=03"));
    }

    // A copy killed between writing its temporary file and putting it in
    // place left it beside the store; the next write clears it, but not a
    // file of another name or one too new to be abandoned.
    void temporaryFilesOfKilledCopiesAreCleared() {
        FILE_STORE_ONLY();
        const QString key = "Software\\Pinarejo\\Restos\\Juegos\\1";
        Write(key, "Save", "001");
        const QStringList left = {"Restos.conf.Ab12Cd", "Restos.conf.xY9zQ1", "Restos.conf.notes",
                                  "Restos.conf.bak123.old"};
        for (const QString& name : left) {
            WriteBytes(ConfigPath("Pinarejo/" + name), "[Juegos]\n1\\Save=999\n");
            QFile old(ConfigPath("Pinarejo/" + name));
            QVERIFY(old.open(QIODevice::ReadWrite));
            QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                    QFileDevice::FileModificationTime));
        }
        WriteBytes(ConfigPath("Pinarejo/Restos.conf.New123"), "new");
        Write(key, "Save", "002");
        const QStringList kept =
            QDir(ConfigPath("Pinarejo")).entryList({"Restos.conf.*"}, QDir::Files, QDir::Unsorted);
        QCOMPARE(
            QSet<QString>(kept.begin(), kept.end()),
            QSet<QString>({"Restos.conf.New123", "Restos.conf.bak123.old", "Restos.conf.notes"}));
        QCOMPARE(Read(key, "Save").toString(), QStringLiteral("002"));
    }

    // Values written in a batch reach the file together when it commits,
    // and read back as written before that; a batch ended early by an error
    // still writes what it holds.
    void aBatchWritesItsValuesTogether() {
        const QString key = product_.GetRegistryKey(2, 61);
        const QString file = ConfigPath("Pinarejo/Zelvora.conf");
        Write(key, "Save", "001");
        const QByteArray before = FileBytes(file);
        {
            RegistryStore::Batch outer;
            Write(key, "Save", "001002");
            {
                RegistryStore::Batch inner; // joins the outer one
                Write(key, "Palabras", "01");
                inner.Commit();
            }
            QCOMPARE(Read(key, "Save").toString(), QStringLiteral("001002"));
            QCOMPARE(Read(key, "Palabras").toString(), QStringLiteral("01"));
            QCOMPARE(FileBytes(file), before);
            QCOMPARE(StoredElsewhere(key, "Save").toString(), QStringLiteral("001"));
            outer.Commit();
        }
        QCOMPARE(StoredElsewhere(key, "Save").toString(), QStringLiteral("001002"));
        QCOMPARE(StoredElsewhere(key, "Palabras").toString(), QStringLiteral("01"));
        try {
            RegistryStore::Batch ended;
            Write(key, "Save", "003");
            throw AppError(ErrorNumber::Overflow, "test", "ended early");
        } catch (const AppError&) {
        }
        QCOMPARE(StoredElsewhere(key, "Save").toString(), QStringLiteral("003"));
    }

    // A write that cannot be made fails at once inside a batch too, and
    // leaves nothing for the commit.
    void aBlockedWriteInABatchFailsAtOnce() {
        FILE_STORE_ONLY();
        const QString key = "Software\\Bloqueo3\\Zelvora\\Juegos\\1";
        WriteBytes(ConfigPath("Bloqueo3"), "not a folder");
        RegistryStore::Batch batch;
        const std::optional<AppError> error = WriteError(key, "Save", "001");
        QVERIFY(error.has_value());
        QCOMPARE(error->Number(), ErrorNumber::PathFileAccess);
        QVERIFY(!Read(key, "Save").isValid());
        batch.Commit();
        QVERIFY(QFile::remove(ConfigPath("Bloqueo3")));
        QVERIFY(!Read(key, "Save").isValid());
    }

    void emptyTextDiffersFromNeverWritten() {
        const QString key = product_.GetRegistryKey(2, 41);
        const QVariant never = Read(key, "Save");
        QVERIFY(!never.isValid());
        QCOMPARE(never.toString(), QString());

        Write(key, "Save", "001002");
        Write(key, "Save", "");
        QVERIFY(Read(key, "Save").isValid());
        QCOMPARE(Read(key, "Save").toString(), QString());
        QVERIFY(StoredElsewhere(key, "Save").isValid());
        QCOMPARE(StoredElsewhere(key, "Save").toString(), QString());
    }

    void twoStoresSeeEachOthersWrites() {
        const QString key = product_.GetRegistryKey(2, 3);
        RegistryStore first;
        RegistryStore second;
        first.WriteValue(kUser, key, "Palabras", "0103", RegistryStore::Text);
        QCOMPARE(second.ReadValue(kUser, key, "Palabras").toString(), QStringLiteral("0103"));
        second.WriteValue(kUser, key, "Palabras", "0204", RegistryStore::Text);
        QCOMPARE(first.ReadValue(kUser, key, "Palabras").toString(), QStringLiteral("0204"));
    }

    void settingsAndProgressLandInTheProductsFile() {
        FILE_STORE_ONLY();
        Write(product_.GetRegistryKey(2, 0), "ColorFondo", 255);
        Write(product_.GetRegistryKey(2, 5), "Save", "001010011");
        Write(product_.GetRegistryKey(2, 5), "Palabras", "02");
        Write(product_.GetRegistryKey(2, 12), "Save", "007");

        const QString file = ConfigPath("Pinarejo/Zelvora.conf");
        QVERIFY(QFile::exists(file));
        const QByteArray text = FileBytes(file);
        QVERIFY(text.contains("[Configuracion]"));
        QVERIFY(text.contains("ColorFondo=255"));
        QVERIFY(text.contains("[Juegos]"));
        QVERIFY(text.contains("5\\Save=001010011"));
        QVERIFY(text.contains("5\\Palabras=02"));
        QVERIFY(text.contains("12\\Save=007"));
        // Progress of one puzzle stays apart from another's.
        QCOMPARE(Read(product_.GetRegistryKey(2, 12), "Palabras").toString(), QString());
    }

    // A person editing the file by hand writes commas without quotes; Qt
    // reads those as lists. They must come back as the text in the file.
    void handEditedValuesReadAsWritten_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("ImageFile=gato.bmp") << "gato.bmp";
        QTest::newRow("comma") << QByteArray("ImageFile=a,b") << "a,b";
        QTest::newRow("comma and blank")
            << QByteArray("ImageFile=Arial, Negrita") << "Arial, Negrita";
        QTest::newRow("uneven blanks") << QByteArray("ImageFile=a ,  b,c") << "a ,  b,c";
        QTest::newRow("path with comma") << QByteArray("ImageFile=/home/ana/Fotos/playa,verano.png")
                                         << "/home/ana/Fotos/playa,verano.png";
        QTest::newRow("blanks around the value") << QByteArray("ImageFile =   a, b   ") << "a, b";
        QTest::newRow("trailing comma") << QByteArray("ImageFile=a,") << "a,";
        QTest::newRow("comment after the list") << QByteArray("ImageFile=a,b ; nota") << "a,b";
        QTest::newRow("quoted list items") << QByteArray("ImageFile=\"a\",\"b\"") << "a,b";
        QTest::newRow("quoted comma") << QByteArray("ImageFile=\"a,b\"") << "a,b";
        QTest::newRow("Qt type syntax")
            << QByteArray("ImageFile=@Rect(1 2 3 4)") << "@Rect(1 2 3 4)";
        QTest::newRow("repeated key, last wins")
            << QByteArray("ImageFile=x,y\nImageFile=p,q") << "p,q";
        QTest::newRow("CRLF") << QByteArray("ImageFile=a,b\r\nOtro=1\r") << "a,b";
        // A line that is not UTF-8 reads as the data file's would: Windows-1252.
        QTest::newRow("Windows-1252") << QByteArray("ImageFile=\x80 ni\xF1o.bmp") << "€ niño.bmp";
    }

    void handEditedValuesReadAsWritten() {
        FILE_STORE_ONLY();
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        // A file of its own per case, written before the store first sees it.
        const QString app = QStringLiteral("Mano%1")
                                .arg(QTest::currentDataTag())
                                .remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        WriteBytes(ConfigPath("Pinarejo/" + app + ".conf"),
                   "[General]\nTop=1\n\n[Configuracion]\n" + line + "\n\n[Juegos]\n1\\Save=001\n");
        const QString key = "Software\\Pinarejo\\" + app + "\\Configuracion";
        QCOMPARE(Read(key, "ImageFile").toString(), expected);
        QCOMPARE(Read("Software\\Pinarejo\\" + app + "\\Juegos\\1", "Save").toString(),
                 QStringLiteral("001"));
    }

    void handEditedValueIsSeenByALaterRead() {
        FILE_STORE_ONLY();
        const QString key = "Software\\Pinarejo\\Editado\\Configuracion";
        Write(key, "FontName", "Arial");
        QCOMPARE(Read(key, "FontName").toString(), QStringLiteral("Arial"));
        const QString file = ConfigPath("Pinarejo/Editado.conf");
        WriteBytes(file, "[Configuracion]\nFontName=DejaVu Sans, Negrita\n");
        QFile edited(file);
        QVERIFY(edited.open(QIODevice::ReadWrite));
        QVERIFY(edited.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                   QFileDevice::FileModificationTime));
        edited.close();
        QCOMPARE(Read(key, "FontName").toString(), QStringLiteral("DejaVu Sans, Negrita"));
    }

    // The config folder cannot be made read-only against root, so each case
    // puts something in the way of the settings file instead.
    void failedWriteRaisesError75_data() {
        QTest::addColumn<QString>("org");
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<bool>("blockerIsFolder");
        QTest::addColumn<bool>("writtenBefore");
        QTest::newRow("file where the maker's folder goes") << "Bloqueo1"
                                                            << "Bloqueo1" << false << false;
        QTest::newRow("folder where the settings file goes")
            << "Bloqueo2"
            << "Bloqueo2/Zelvora.conf" << true << true;
    }

    void failedWriteRaisesError75() {
        FILE_STORE_ONLY();
        QFETCH(QString, org);
        QFETCH(QString, blocker);
        QFETCH(bool, blockerIsFolder);
        QFETCH(bool, writtenBefore);
        const QString key = "Software\\" + org + "\\Zelvora\\Configuracion";
        const QString blockerPath = ConfigPath(blocker);
        if (writtenBefore) {
            Write(key, "ColorSel", "111");
            QVERIFY(QFile::remove(blockerPath));
        }
        if (blockerIsFolder)
            QVERIFY(QDir().mkpath(blockerPath));
        else
            WriteBytes(blockerPath, "not a folder");

        const std::optional<AppError> error = WriteError(key, "ColorSel", "222");
        QVERIFY2(error.has_value(), "the write was reported as done");
        QCOMPARE(error->Number(), ErrorNumber::PathFileAccess);
        QCOMPARE(error->Source(), QStringLiteral("RegistryStore.WriteValue"));
        const QString description = error->Description();
        QVERIFY2(description.contains(QDir::toNativeSeparators(ConfigPath(org + "/Zelvora.conf"))),
                 qPrintable(description));
        QVERIFY2(description.contains(blockerPath), qPrintable(description));
        QVERIFY2(description.contains("ColorSel"), qPrintable(description));
        // The whole description in the player's language, the reason too.
        for (const auto language :
             {MessageCatalogue::Language::Spanish, MessageCatalogue::Language::English}) {
            MessageCatalogue::PinLanguage(language);
            const QString said = WriteError(key, "ColorSel", "222").value().Description();
            MessageCatalogue::PinLanguage(std::nullopt);
            const auto text = [&](int number) { return MessageCatalogue::Text(number, language); };
            QVERIFY2(said.startsWith(text(11401).section("%1", 0, 0)), qPrintable(said));
            QVERIFY2(said.contains(text(blockerIsFolder ? 11402 : 11403).section("%1", 1)),
                     qPrintable(said));
        }

        // The value that could not be stored must not show up as stored.
        QVERIFY(Read(key, "ColorSel").toString() != QStringLiteral("222"));

        // Once the way is clear, writing works again and reaches the file.
        QVERIFY(blockerIsFolder ? QDir(blockerPath).removeRecursively()
                                : QFile::remove(blockerPath));
        Write(key, "ColorSel", "333");
        QCOMPARE(Read(key, "ColorSel").toString(), QStringLiteral("333"));
        QSettings onDisk(ConfigPath(org + "/Zelvora.conf"), QSettings::IniFormat);
        QCOMPARE(onDisk.value("Configuracion/ColorSel").toString(), QStringLiteral("333"));
    }

    void badKeysAreInvalidArguments_data() {
        QTest::addColumn<qint32>("root");
        QTest::addColumn<QString>("keyPath");
        QTest::addColumn<QString>("name");
        QTest::newRow("no Software") << kUser << "Pinarejo\\Zelvora\\Configuracion"
                                     << "X";
        QTest::newRow("other top key") << kUser << "Hardware\\Pinarejo\\Zelvora"
                                       << "X";
        QTest::newRow("no product") << kUser << "Software\\Pinarejo"
                                    << "X";
        QTest::newRow("empty maker") << kUser << "Software\\\\Zelvora\\Configuracion"
                                     << "X";
        QTest::newRow("empty part") << kUser << "Software\\Pinarejo\\Zelvora\\\\Juegos"
                                    << "X";
        QTest::newRow("slash in a part") << kUser << "Software\\Pina/rejo\\Zelvora"
                                         << "X";
        QTest::newRow("empty key path") << kUser << ""
                                        << "X";
        QTest::newRow("empty name") << kUser << "Software\\Pinarejo\\Zelvora"
                                    << "";
        QTest::newRow("slash in the name") << kUser << "Software\\Pinarejo\\Zelvora\\Juegos"
                                           << "a/b";
        QTest::newRow("blank in the name") << kUser << "Software\\Pinarejo\\Zelvora\\Juegos"
                                           << "Mi valor";
        QTest::newRow("bracket in a part") << kUser << "Software\\Pinarejo\\Zelvora\\[Juegos]"
                                           << "Save";
        QTest::newRow("parent folder") << kUser << "Software\\..\\Zelvora\\Juegos"
                                       << "Save";
        QTest::newRow("local machine root") << qint32(0x80000002) << "Software\\Pinarejo\\Zelvora"
                                            << "X";
    }

    void badKeysAreInvalidArguments() {
        QFETCH(qint32, root);
        QFETCH(QString, keyPath);
        QFETCH(QString, name);
        const std::optional<AppError> readError = ReadError(root, keyPath, name);
        QVERIFY(readError.has_value());
        QCOMPARE(readError->Number(), ErrorNumber::InvalidArgument);
        QCOMPARE(readError->Source(), QStringLiteral("RegistryStore.ReadValue"));
        std::optional<AppError> writeError;
        try {
            RegistryStore().WriteValue(root, keyPath, name, "1", RegistryStore::Text);
        } catch (const AppError& error) {
            writeError = error;
        }
        QVERIFY(writeError.has_value());
        QCOMPARE(writeError->Number(), ErrorNumber::InvalidArgument);
    }

    // Windows: each value is a text value (REG_SZ) under the product's key.
    void settingsAndProgressLandUnderTheProductsKey() {
        REGISTRY_ONLY();
        Write(product_.GetRegistryKey(2, 0), "ColorFondo", 255);
        Write(product_.GetRegistryKey(2, 5), "Save", "001010011");
        QSettings product("HKEY_CURRENT_USER\\Software\\Pinarejo\\Zelvora",
                          QSettings::NativeFormat);
        QCOMPARE(product.childGroups(), (QStringList{"Configuracion", "Juegos"}));
        QCOMPARE(product.value("Configuracion/ColorFondo").toString(), QStringLiteral("255"));
        QCOMPARE(product.value("Juegos/5/Save").toString(), QStringLiteral("001010011"));
#ifdef Q_OS_WIN
        DWORD type = 0;
        QCOMPARE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Pinarejo\\Zelvora\\Juegos\\5", L"Save",
                              RRF_RT_ANY, &type, nullptr, nullptr),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(type, DWORD(REG_SZ));
#endif
    }

    // Windows: a number or bytes where text belongs (a hand edit, another
    // program) read as never written, the player hears of it once, and the
    // next save puts text there.
    void valuesOfAnotherRegistryTypeAreReportedAndDefaulted() {
        REGISTRY_ONLY();
#ifdef Q_OS_WIN
        StandInPerson person;
        const QString key = product_.GetRegistryKey(2, 0);
        const DWORD number = 255;
        const char bytes[] = "\x01\x02";
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pinarejo\\Zelvora\\Configuracion",
                                 L"ColorFondo", REG_DWORD, &number, sizeof number),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pinarejo\\Zelvora\\Configuracion",
                                 L"ImageFile", REG_BINARY, bytes, 2),
                 LSTATUS(ERROR_SUCCESS));
        QVERIFY(!Read(key, "ColorFondo").isValid());
        QVERIFY(!Read(key, "ImageFile").isValid());
        QVERIFY(!Read(key, "ColorFondo").isValid());
        QCoreApplication::processEvents();
        QCOMPARE(person.Count("information"), 2);
        QVERIFY2(person.asked[0].text.contains("ColorFondo") &&
                     person.asked[0].text.contains("REG_DWORD"),
                 qPrintable(person.asked[0].text));
        QVERIFY2(person.asked[1].text.contains("REG_BINARY"), qPrintable(person.asked[1].text));
        Write(key, "ColorFondo", "16777215");
        QCOMPARE(Read(key, "ColorFondo").toString(), QStringLiteral("16777215"));
        QCoreApplication::processEvents();
        QCOMPARE(person.Count("information"), 2);
#endif
    }

    void valuesThatAreNotTextAreRefused() {
        const std::optional<AppError> kindError = WriteError(Settings(), "Otro", "1", 4);
        QVERIFY(kindError.has_value());
        QCOMPARE(kindError->Number(), ErrorNumber::InvalidArgument);

        const std::optional<AppError> typeError =
            WriteError(Settings(), "Otro", QStringList{"a", "b"});
        QVERIFY(typeError.has_value());
        QCOMPARE(typeError->Number(), ErrorNumber::TypeMismatch);
        QCOMPARE(Read(Settings(), "Otro").toString(), QString());
    }
};

int main(int argc, char** argv) {
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    configFolder = &folder;
    TestRegistry registry;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    QCoreApplication app(argc, argv);
    TestStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_store.moc"
