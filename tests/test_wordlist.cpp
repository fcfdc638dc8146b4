#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/ctlGrid.h"
#include "support/GameState.h"
#include "support/TestHome.h"
#include "wordlist/ctlLista.h"

#include <QTest>
#include <memory>

namespace {

QString Words(int count) {
    QStringList words;
    for (int i = 1; i <= count; ++i)
        words << QStringLiteral("P%1").arg(i);
    return words.join(' ');
}
} // namespace

class WordListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    void Show(ctlLista& list, int game, const QString& words) {
        list.SetNumeroJuego(game);
        list.SetPalabras(words);
        list.Refresh();
    }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
    }
    void cleanup() { home.reset(); }

    void buildsOneRowPerWordUnderTheHeading() {
        ctlLista list;
        Show(list, 1, "GATO PERRO ÑANDÚ");
        ctlGrid* grid = list.Grid();
        QCOMPARE(grid->GetRowCount(), 3);
        QCOMPARE(grid->CellText(1, 0), MessageCatalogue::Text(10200));
        QCOMPARE(grid->CellText(1, 3), QStringLiteral("ÑANDÚ"));
        const FontRef header = grid->CellFont(1, 0);
        QVERIFY(header);
        QVERIFY(header->Bold());
        QVERIFY(header->Underline());
        QCOMPARE(header->Size(), 14.0);
        QCOMPARE(grid->Font()->Size(), 14.0);
        QVERIFY(CrossedOutRows(list).isEmpty());
    }

    void splitsAtEverySingleBlank_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("one") << "SOL" << QStringList{"SOL"};
        QTest::newRow("two blanks") << "SOL  MAR" << QStringList{"SOL", "", "MAR"};
        QTest::newRow("trailing blank") << "SOL " << QStringList{"SOL", ""};
    }
    void splitsAtEverySingleBlank() {
        QFETCH(QString, words);
        QFETCH(QStringList, rows);
        ctlLista list;
        Show(list, 1, words);
        QCOMPARE(list.Grid()->GetRowCount(), rows.size());
        for (int row = 1; row <= rows.size(); ++row)
            QCOMPARE(list.Grid()->CellText(1, row), rows[row - 1]);
    }

    void togglingTwiceRestoresTheWord() {
        ctlLista list;
        Show(list, 1, "UNO DOS TRES");
        emit list.Grid()->CellClick(1, 2);
        QCOMPARE(CrossedOutRows(list), QList<int>{2});
        emit list.Grid()->CellClick(1, 2);
        QVERIFY(CrossedOutRows(list).isEmpty());
        emit list.Grid()->CellClick(1, 0); // the heading
        QVERIFY(CrossedOutRows(list).isEmpty());
        QVERIFY(!list.Grid()->CellFont(1, 0)->Strikethrough());
        qint16 space = 32, enter = 13, letter = 'X';
        emit list.Grid()->CellKeyPress(1, 1, space);
        emit list.Grid()->CellKeyPress(1, 3, enter);
        emit list.Grid()->CellKeyPress(1, 2, letter);
        QCOMPARE(CrossedOutRows(list), (QList<int>{1, 3}));
    }

    void savesTwoDigitRows() {
        ctlLista list;
        Show(list, 4, Words(12));
        list.SeleccionarPalabra(1, 12);
        list.SeleccionarPalabra(1, 3);
        list.Save();
        QCOMPARE(home->Stored(4, "Palabras"), QStringLiteral("0312"));
    }

    void saveWritesTheEmptyTextButNothingWithoutAGame() {
        ctlLista list;
        Show(list, 0, "UNO");
        list.SeleccionarPalabra(1, 1);
        list.Save();
        QVERIFY(!home->IsStored(0, "Palabras"));
        Show(list, 2, "");
        list.Save();
        QVERIFY(home->IsStored(2, "Palabras"));
        QCOMPARE(home->Stored(2, "Palabras"), QString());
    }

    void readsSavedRows_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QList<int>>("crossed");
        QTest::newRow("0207") << "0207" << QList<int>{2, 7};
        QTest::newRow("odd length") << "021" << QList<int>();
        QTest::newRow("00") << "00" << QList<int>();
        QTest::newRow("row past the list") << "0250" << QList<int>{2};
        QTest::newRow("same row twice") << "0303" << QList<int>();
    }
    void readsSavedRows() {
        QFETCH(QString, saved);
        QFETCH(QList<int>, crossed);
        home->Store(5, "Palabras", saved);
        ctlLista list;
        Show(list, 5, Words(8));
        QCOMPARE(CrossedOutRows(list), crossed);
    }

    void nonNumberPairFailsTheRefresh() {
        home->Store(5, "Palabras", "01x2");
        ctlLista list;
        try {
            Show(list, 5, Words(3));
            QFAIL("expected an error");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 13);
            QCOMPARE(error.Source(), QStringLiteral("ctlListaPalabras.ListaActualizar"));
        }
        QCOMPARE(CrossedOutRows(list), QList<int>{1});
    }

    // One damaged pair costs itself only: the rows after it are crossed out
    // too, and the value as it was stays beside the one the next save writes.
    void aDamagedPairKeepsTheRowsAfterIt() {
        home->Store(3, "Palabras", "01xx0304");
        ctlLista list;
        try {
            Show(list, 3, Words(5));
            QFAIL("expected an error");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 13);
            QCOMPARE(error.Description(), MessageCatalogue::Text(11544).arg(3).arg("01xx0304"));
        }
        QCOMPARE(CrossedOutRows(list), (QList<int>{1, 3, 4}));
        list.Save();
        QCOMPARE(home->Stored(3, "Palabras"), QStringLiteral("010304"));
        QCOMPARE(home->Stored(3, "PalabrasDamaged"), QStringLiteral("01xx0304"));
    }

    // Rows a shorter list does not have (saved for another puzzle under the
    // same number), or a value of odd length, are kept aside, not lost.
    void rowsThatDoNotFitAreKeptAside_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<bool>("pastTheList");
        QTest::newRow("row past the list") << "0250" << true;
        QTest::newRow("odd length") << "021" << false;
        QTest::newRow("fits") << "0208" << false;
    }
    void rowsThatDoNotFitAreKeptAside() {
        QFETCH(QString, saved);
        QFETCH(bool, pastTheList);
        home->Store(5, "Palabras", saved);
        ctlLista list;
        Show(list, 5, Words(8));
        QCOMPARE(list.RowsKeptAside(), pastTheList);
        list.Save();
        QCOMPARE(home->IsStored(5, "PalabrasDamaged"), saved != "0208");
        if (saved != "0208")
            QCOMPARE(home->Stored(5, "PalabrasDamaged"), saved);
    }

    void crossedOutWordsSurviveASwitchAndARestart() {
        {
            ctlLista list;
            Show(list, 1, "A B C D");
            list.SeleccionarPalabra(1, 4);
            list.Save();
            Show(list, 2, "E F");
            list.SeleccionarPalabra(1, 1);
            list.Save();
            Show(list, 1, "A B C D");
            QCOMPARE(CrossedOutRows(list), QList<int>{4});
        }
        ctlLista restarted;
        Show(restarted, 2, "E F");
        QCOMPARE(CrossedOutRows(restarted), QList<int>{1});
    }

    // Two digits name rows 1 to 99: a crossed-out 100th word is not written,
    // so it cannot shift and corrupt the rows after it.
    void rowsPast99AreNotWritten() {
        ctlLista list;
        Show(list, 3, Words(105));
        for (int row : {1, 99, 100, 104})
            list.SeleccionarPalabra(1, row);
        list.Save();
        QCOMPARE(home->Stored(3, "Palabras"), QStringLiteral("0199"));
        ctlLista again;
        Show(again, 3, Words(105));
        QCOMPARE(CrossedOutRows(again), (QList<int>{1, 99}));
    }
};

QTEST_MAIN(WordListTest)
#include "test_wordlist.moc"
