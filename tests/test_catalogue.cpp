#include "outside/MessageCatalogue.h"

#include <QFont>
#include <QFontMetrics>
#include <QSet>
#include <QTest>
#include <algorithm>

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
    range(11200, 11212);
    range(11220, 11224);
    return numbers;
}

// The menus of the main window: the bar itself and the items of each menu.
const QList<QList<int>> kMenus = {{10404, 10408}, {10405, 10406, 10407}, {10409, 10410, 10411}};

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
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

    // The help text runs 11003 straight into 11004, so the body must end
    // in a break or the closing line would be glued to its last sentence.
    void helpBodyEndsInALineBreak() {
        for (const Language language : {Language::Spanish, Language::English})
            QVERIFY(MessageCatalogue::Text(11003, language).endsWith(QStringLiteral("\\n")));
    }
};

QTEST_MAIN(TestCatalogue)
#include "test_catalogue.moc"
