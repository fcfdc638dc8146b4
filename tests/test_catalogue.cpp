#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/AppServices.h"
#include "outside/Conversions.h"
#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "outside/QtTranslations.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDirIterator>
#include <QFileIconProvider>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <functional>

using Language = MessageCatalogue::Language;
Q_DECLARE_METATYPE(MessageCatalogue::Language)

namespace {

// Every number the windows ask for.
QList<int> NumbersInUse() {
    QList<int> numbers;
    const auto range = [&numbers](int first, int last) {
        for (int n = first; n <= last; ++n)
            numbers.append(n);
    };
    range(10000, 10004);
    range(10200, 10200);
    range(10400, 10411);
    range(10500, 10500);
    range(10600, 10602);
    range(10700, 10710);
    range(10800, 10800);
    range(10900, 10904);
    range(11000, 11004);
    range(11101, 11102);
    range(11200, 11215);
    range(11220, 11225);
    range(11230, 11249);
    range(11300, 11304);
    range(11310, 11315);
    range(11320, 11325);
    range(11330, 11335);
    range(11340, 11344);
    range(11350, 11352);
    range(11360, 11363);
    range(11400, 11416);
    range(11419, 11419);
    range(11600, 11615);
    range(11640, 11641);
    range(11650, 11658);
    range(11500, 11504);
    for (const int number : {11510, 11520, 11530, 11540})
        numbers.append(number);
    for (const int number : {11353, 11521, 11541, 11542, 11543, 11544, 11545, 11616})
        numbers.append(number);
    return numbers;
}

// Every number the program's sources pass to GetMessage or to the
// catalogue by name; numbers the code computes (a row's caption, a line of
// the help text) are not among them.
QSet<int> NumbersNamedInSources() {
    static const QRegularExpression call(
        QStringLiteral("(?:GetMessage|Text|Message)\\(\\s*(1[01]\\d{3})\\b"));
    QSet<int> numbers;
    for (const char* folder : {"app", "board", "wordlist", "dialogs", "outside", "core", "tools"}) {
        QDirIterator files(QStringLiteral(ZELVORA_SOURCE_DIR "/") + QLatin1String(folder),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.fileName().endsWith(QStringLiteral("/MessageCatalogue.cpp")) ||
                !file.open(QIODevice::ReadOnly))
                continue;
            auto matches = call.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext())
                numbers.insert(matches.next().captured(1).toInt());
        }
    }
    return numbers;
}

// Every error the layer and the game raise with a description of their own,
// with the catalogue number the description is written from.
struct RaisedError {
    int number;
    std::function<void()> raise;
};

const QMap<QString, RaisedError>& RaisedErrors() {
    static const QMap<QString, RaisedError> errors = {
        {"type mismatch", {11600, [] { Conversions::ToInteger32(QStringLiteral("doce"), {}); }}},
        {"overflow", {11601, [] { Conversions::ToInteger16(QStringLiteral("40000"), {}); }}},
        {"address", {11602, [] { AppServices().OpenDocument(QStringLiteral("http://[::1")); }}},
        {"grid cell",
         {11603,
          [] {
              ctlGrid grid;
              grid.ArmarGrilla(2, 2);
              grid.CellText(5, 5);
          }}},
        {"grid argument", {11604, [] { ctlGrid().ArmarGrilla(-1, 2); }}},
        {"grid size", {11605, [] { ctlGrid().ArmarGrilla(32767, 32767); }}},
        {"product", {11606, [] { ProductInfo().GetProductName(3); }}},
        {"window", {11607, [] { WindowServices().GetWindowSize(qint32{-77}); }}},
        {"system colour", {11608, [] { WindowServices().GetSystemColor(99); }}},
        {"bitmap", {11609, [] { ProgramResources::Bitmap(1); }}},
        {"icon", {11610, [] { ProgramResources::Icon(1); }}},
        {"cursor", {11611, [] { ProgramResources::Cursor(1); }}},
        {"puzzle size text",
         {11614,
          [] {
              TestHome home;
              home.WriteDataFile(QStringLiteral("[1]\nCantAncho=tres\n"));
              ctlCuadricula board;
              board.SetNumeroJuego(1);
              board.LoadPuzzle();
          }}},
        {"puzzle size",
         {11615,
          [] {
              TestHome home;
              home.WriteDataFile(PuzzleSection(1, "Vacio", 0, 2, QString(), "SOL", QString()));
              ctlCuadricula board;
              board.SetNumeroJuego(1);
              board.LoadPuzzle();
          }}},
    };
    return errors;
}

QString DescriptionOf(const RaisedError& error) {
    try {
        error.raise();
    } catch (const AppError& raised) {
        return raised.Description();
    }
    return QString();
}

// The catalogue text with its %n markers standing for anything.
QRegularExpression Pattern(const QString& text) {
    QStringList pieces = text.split(QRegularExpression(QStringLiteral("%[0-9]")));
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    const QString pattern = pieces.join(QStringLiteral(".*"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

// The menus of the main window: the bar itself and the items of each menu.
const QList<QList<int>> kMenus = {{10404, 10408}, {10405, 10406, 10407}, {10409, 10410, 10411}};

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        QtTranslations::Install(Language::English);
        MessageCatalogue::PinLanguage(std::nullopt);
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    }

    void everyNumberInUseHasBothTexts_data() {
        QTest::addColumn<int>("number");
        for (const int number : NumbersInUse())
            QTest::addRow("%d", number) << number;
    }

    void everyNumberInUseHasBothTexts() {
        QFETCH(int, number);
        const QString spanish = MessageCatalogue::Text(number, Language::Spanish);
        const QString english = MessageCatalogue::Text(number, Language::English);
        QVERIFY2(!spanish.trimmed().isEmpty(), "no Spanish text");
        QVERIFY2(!english.trimmed().isEmpty(), "no English text");
        // Line breaks are written as backslash-n; a real one would be shown as is.
        for (const QString& text : {spanish, english})
            QVERIFY2(!text.contains(u'\n') && !text.contains(u'\r'), qPrintable(text));
        const std::vector<int> listed = MessageCatalogue::Numbers();
        QVERIFY(std::find(listed.begin(), listed.end(), number) != listed.end());
    }

    // The list of numbers in use is the catalogue's own list, and no number
    // the sources name is missing from it.
    void numbersInUseAreTheCatalogue() {
        const QList<int> inUse = NumbersInUse();
        const std::vector<int> listed = MessageCatalogue::Numbers();
        QCOMPARE(QSet<int>(inUse.begin(), inUse.end()), QSet<int>(listed.begin(), listed.end()));
        const QSet<int> named = NumbersNamedInSources();
        QVERIFY(named.size() > 100);
        for (const int number : named)
            QVERIFY2(inUse.contains(number), qPrintable(QString::number(number)));
    }

    void listedNumbersAreUniqueAndHaveTexts() {
        const std::vector<int> listed = MessageCatalogue::Numbers();
        QCOMPARE(QSet<int>(listed.begin(), listed.end()).size(), qsizetype(listed.size()));
        for (const int number : listed) {
            QVERIFY(!MessageCatalogue::Text(number, Language::Spanish).isEmpty());
            QVERIFY(!MessageCatalogue::Text(number, Language::English).isEmpty());
        }
    }

    void unknownNumbersGiveEmptyText_data() {
        QTest::addColumn<int>("number");
        for (const int number : {0, -1, 9999, 10005, 10199, 10412, 11005, 11100, 11103})
            QTest::addRow("%d", number) << number;
    }

    void unknownNumbersGiveEmptyText() {
        QFETCH(int, number);
        QCOMPARE(MessageCatalogue::Text(number, Language::Spanish), QString());
        QCOMPARE(MessageCatalogue::Text(number, Language::English), QString());
    }

    void menuCaptionsHaveUniqueAccessLetters_data() {
        QTest::addColumn<Language>("language");
        QTest::newRow("Spanish") << Language::Spanish;
        QTest::newRow("English") << Language::English;
    }

    void menuCaptionsHaveUniqueAccessLetters() {
        QFETCH(Language, language);
        for (const QList<int>& menu : kMenus) {
            QSet<QChar> letters;
            for (const int number : menu) {
                const QString caption = MessageCatalogue::Text(number, language);
                const qsizetype amp = caption.indexOf(u'&');
                QVERIFY2(amp >= 0 && caption.count(u'&') == 1, qPrintable(caption));
                QVERIFY2(amp + 1 < caption.size() && caption[amp + 1].isLetter(),
                         qPrintable(caption));
                const QChar letter = caption[amp + 1].toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(caption));
                letters.insert(letter);
            }
        }
    }

    // The settings dialog's row captions sit in labels 54 pixels wide.
    void settingsRowCaptionsFitTheirLabels_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<int>("points");
        QTest::newRow("Spanish 8 pt") << Language::Spanish << 8;
        QTest::newRow("Spanish 9 pt") << Language::Spanish << 9;
        QTest::newRow("English 8 pt") << Language::English << 8;
        QTest::newRow("English 9 pt") << Language::English << 9;
    }

    void settingsRowCaptionsFitTheirLabels() {
        QFETCH(Language, language);
        QFETCH(int, points);
        const QFontMetrics metrics(QFont(QStringLiteral("MS Sans Serif"), points));
        for (int number = 10702; number <= 10707; ++number) {
            const QString caption = MessageCatalogue::Text(number, language);
            QVERIFY2(metrics.horizontalAdvance(caption) <= 54, qPrintable(caption));
        }
    }

    void languageFollowsTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<Language>("expected");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                               << Language::English;
        QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                               << Language::English;
        QTest::newRow("en_IN") << QLocale(QLocale::English, QLocale::India) << Language::English;
        QTest::newRow("es_ES") << QLocale(QLocale::Spanish, QLocale::Spain) << Language::Spanish;
        QTest::newRow("es_MX") << QLocale(QLocale::Spanish, QLocale::Mexico) << Language::Spanish;
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << Language::Spanish;
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << Language::Spanish;
        QTest::newRow("C") << QLocale::c() << Language::Spanish;
    }

    void languageFollowsTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(Language, expected);
        QCOMPARE(MessageCatalogue::LanguageFor(locale), expected);
        QLocale::setDefault(locale);
        QCOMPARE(MessageCatalogue::CurrentLanguage(), expected);
    }

    void pinnedLanguageWinsOverTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        MessageCatalogue::PinLanguage(Language::Spanish);
        QCOMPARE(MessageCatalogue::CurrentLanguage(), Language::Spanish);
        QCOMPARE(MessageCatalogue::Text(10001), MessageCatalogue::Text(10001, Language::Spanish));

        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        MessageCatalogue::PinLanguage(Language::English);
        QCOMPARE(MessageCatalogue::Text(10001), MessageCatalogue::Text(10001, Language::English));

        MessageCatalogue::PinLanguage(std::nullopt);
        QCOMPARE(MessageCatalogue::CurrentLanguage(), Language::Spanish);
    }

    // An error is described in the player's language, from the catalogue,
    // whichever part of the program raises it.
    void errorsSpeakThePlayersLanguage_data() {
        QTest::addColumn<QString>("error");
        for (const QString& name : RaisedErrors().keys())
            QTest::newRow(qPrintable(name)) << name;
    }

    void errorsSpeakThePlayersLanguage() {
        QFETCH(QString, error);
        const RaisedError& raised = RaisedErrors()[error];
        QStringList descriptions;
        for (const Language language : {Language::Spanish, Language::English}) {
            MessageCatalogue::PinLanguage(language);
            const QString description = DescriptionOf(raised);
            const QString text = MessageCatalogue::Text(raised.number, language);
            QVERIFY2(!text.isEmpty(), "no catalogue text");
            QVERIFY2(
                Pattern(text).match(description).hasMatch(),
                qPrintable(
                    QStringLiteral("\"%1\" is not written from \"%2\"").arg(description, text)));
            descriptions << description;
        }
        QVERIFY2(descriptions[0] != descriptions[1], qPrintable(descriptions[0]));
    }

    void productWordsSpeakThePlayersLanguage() {
        QStringList descriptions, notices;
        for (const Language language : {Language::Spanish, Language::English}) {
            MessageCatalogue::PinLanguage(language);
            descriptions << ProductInfo().GetProductDescription(2);
            notices << ProductInfo().GetNoticeText();
        }
        QCOMPARE(descriptions, (QStringList{MessageCatalogue::Text(11640, Language::Spanish),
                                            MessageCatalogue::Text(11640, Language::English)}));
        QCOMPARE(notices, (QStringList{MessageCatalogue::Text(11641, Language::Spanish),
                                       MessageCatalogue::Text(11641, Language::English)}));
        QVERIFY(descriptions[0] != descriptions[1]);
        QVERIFY(notices[0] != notices[1]);
    }

    // Qt's own texts follow: the buttons of a question, the colour picker
    // and the kinds the file picker lists, also where the desktop speaks a
    // language the program does not (German here).
    void qtTextsSpeakThePlayersLanguage_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("folder");
#ifdef Q_OS_WIN
        const QStringList folder{"Carpeta de archivos", "File Folder"};
#else
        const QStringList folder{"Carpeta", "Folder"};
#endif
        QTest::newRow("Spanish") << Language::Spanish << QStringList{"&Sí", "&No", "Aceptar"}
                                 << folder[0];
        QTest::newRow("English") << Language::English << QStringList{"&Yes", "&No", "OK"}
                                 << folder[1];
    }

    void qtTextsSpeakThePlayersLanguage() {
        QFETCH(Language, language);
        QFETCH(QStringList, buttons);
        QFETCH(QString, folder);
        const QMimeType bitmap = QMimeDatabase().mimeTypeForName(QStringLiteral("image/bmp"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString english = bitmap.comment();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString german = bitmap.comment();
        QVERIFY2(QtTranslations::Install(language), qPrintable(QtTranslations::Folder()));
        QCOMPARE(MessageCatalogue::CurrentLanguage(), language);
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), folder);
        // Where the database has a German name for the kind, it is not used.
        QVERIFY2(german == english || bitmap.comment() != german, qPrintable(bitmap.comment()));
        if (language == Language::English)
            QCOMPARE(bitmap.comment(), english);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
        QCOMPARE(
            (QStringList{box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                         box.button(QMessageBox::Ok)->text()}),
            buttons);
        QColorDialog picker;
        picker.setOption(QColorDialog::DontUseNativeDialog);
        QStringList captions;
        for (const QLabel* label : picker.findChildren<QLabel*>())
            captions << label->text();
        const QString basic = language == Language::Spanish ? QStringLiteral("Colores &básicos")
                                                            : QStringLiteral("&Basic colors");
        QVERIFY2(captions.contains(basic), qPrintable(captions.join(" | ")));
    }

    // The help text runs 11003 straight into 11004, so the body must end
    // in a break or the closing line would be glued to its last sentence.
    void helpBodyEndsInALineBreak() {
        for (const Language language : {Language::Spanish, Language::English})
            QVERIFY(MessageCatalogue::Text(11003, language).endsWith(QStringLiteral("\\n")));
    }
};

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
