#include "app/frmMain.h"
#include "board/ctlCuadricula.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/GameState.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"
#include "wordlist/ctlLista.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

namespace {
QString ThreePuzzles() {
    return PuzzleSection(1, "Uno", 3, 2, "SOLAXE", "SOL AXE", "001002003") +
           PuzzleSection(2, "Dos", 4, 4, "GATOXXXXPEZXXXXX", "GATO PEZ", "001002003004009010011") +
           PuzzleSection(3, "Tres", 2, 2, "MARE", "MAR", "001002003");
}

} // namespace

class GameFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    static void ChooseRow(frmMain& window, int row) {
        QVERIFY(ChooserDriver::ChooseFromMenu(&window, row));
    }

    void CancelChooser(frmMain& window) {
        ModalDriver driver([](QWidget* chooser) { ChooserDriver::PressCancel(chooser); });
        window.findChild<QAction*>("mnuOpcSeleccionarJuego")->trigger();
        QVERIFY(driver.Acted());
    }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
        home->WriteDataFile(ThreePuzzles());
    }
    void cleanup() {
        WindowServices::SetWorkAreaStandIn(std::nullopt);
        home.reset();
    }

    void choosingShowsBoardAndListFittedAndTitled() {
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ChooseRow(window, 2);
        QCOMPARE(window.windowTitle(), MessageCatalogue::Text(10400) + " 2 - Dos");
        QVERIFY(!window.ShowsBackground());
        ctlCuadricula* board = window.Board();
        ctlLista* list = window.WordList();
        QVERIFY(board->isVisible());
        QVERIFY(list->isVisible());
        QCOMPARE(list->NumeroJuego(), 2);
        QCOMPARE(list->Grid()->GetRowCount(), 2);

        const WindowServices windows;
        const int S =
            board->GetGridHeight() < list->GetGridHeight() ? windows.GetScrollBarSize(false) : 0;
        QCOMPARE(board->geometry(), QRect(0, 0, board->GetGridWidth(), board->GetGridHeight()));
        QCOMPARE(list->geometry(), QRect(board->GetGridWidth() + 5, 0, list->GetGridWidth() + S,
                                         board->GetGridHeight()));
        const WindowMetrics client = windows.GetClientSize(&window);
        QCOMPARE(client.width, board->GetGridWidth() + S + 5 + list->GetGridWidth());
        QCOMPARE(client.height, board->GetGridHeight());
    }

    void cancellingChangesNothing() {
        frmMain window;
        const QString title = window.windowTitle();
        CancelChooser(window);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(window.ShowsBackground());
        ChooseRow(window, 1);
        window.WordList()->SeleccionarPalabra(1, 2);
        const QString puzzleTitle = window.windowTitle();
        CancelChooser(window);
        QCOMPARE(window.windowTitle(), puzzleTitle);
        QVERIFY(!home->IsStored(1, "Palabras"));
        QCOMPARE(CrossedOutRows(*window.WordList()), QList<int>{2});
    }

    void choosingTheSamePuzzleRepeatsEveryStep() {
        frmMain window;
        ChooseRow(window, 1);
        window.WordList()->SeleccionarPalabra(1, 1);
        emit window.Board()->Grid()->CellClick(1, 1);
        ChooseRow(window, 1);
        QCOMPARE(home->Stored(1, "Palabras"), QStringLiteral("01"));
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("001"));
        QCOMPARE(CrossedOutRows(*window.WordList()), QList<int>{1});
    }

    void aWholeGameIsKeptAcrossARestart() {
        {
            StandInPerson person;
            person.yesNoAnswers = {true};
            frmMain window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            ChooseRow(window, 2);
            emit window.Board()->Grid()->CellClick(1, 1);
            emit window.Board()->Grid()->CellClick(4, 1);
            window.WordList()->SeleccionarPalabra(1, 2);
            ChooseRow(window, 3);
            emit window.Board()->Grid()->CellClick(2, 2);
            ChooseRow(window, 2);
            QCOMPARE(window.Board()->Grid()->CellBackColor(4, 1), window.Board()->MarkedColour());
            QCOMPARE(CrossedOutRows(*window.WordList()), QList<int>{2});
            ChooseRow(window, 3); // the unsaved mark on 3 was saved when leaving it
            QCOMPARE(window.Board()->Grid()->CellBackColor(2, 2), window.Board()->MarkedColour());
            emit window.Board()->Grid()->CellClick(1, 1);
            window.WordList()->SeleccionarPalabra(1, 1);
            QVERIFY(window.close());
            QCOMPARE(person.Count("error"), 0);
        }
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001004"));
        QCOMPARE(home->Stored(2, "Palabras"), QStringLiteral("02"));
        QCOMPARE(home->Stored(3, "Save"), QStringLiteral("001004"));
        QCOMPARE(home->Stored(3, "Palabras"), QStringLiteral("01"));

        frmMain restarted;
        ChooseRow(restarted, 2);
        QCOMPARE(restarted.Board()->Grid()->CellBackColor(1, 1), restarted.Board()->MarkedColour());
        QCOMPARE(restarted.Board()->Grid()->CellBackColor(2, 1), -1);
        QCOMPARE(CrossedOutRows(*restarted.WordList()), QList<int>{2});
    }

    // With a 5-pixel gap, a work area as wide as the frame plus 992 pixels
    // leaves R = 987 for the controls: 690 for the board, 296 for the list,
    // and one pixel free.
    void aPuzzleWiderThanTheScreenSharesTheWidth() {
        home->Store(0, "FontSize", "48");
        home->WriteDataFile(
            PuzzleSection(1, "Ancho", 33, 3, QString(99, QChar(0x00D1)), QString(120, 'W'), "001"));
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const WindowServices windows;
        const int FW = windows.GetWindowSize(&window).width - windows.GetClientSize(&window).width;
        const int AW = 992 + FW;
        WindowServices::SetWorkAreaStandIn(QRect(0, 0, AW, 700));
        ChooseRow(window, 1);
        const WindowMetrics outer = windows.GetWindowSize(&window);
        QVERIFY(window.Board()->GetGridWidth() > AW);
        QVERIFY(window.WordList()->GetGridWidth() > AW);
        QCOMPARE(outer.width, AW);
        QCOMPARE(window.Board()->width(), 690);
        QCOMPARE(window.WordList()->width(), 296);
        QCOMPARE(window.WordList()->x(), 695);
        const int horizontal = windows.GetScrollBarSize(true);
        QCOMPARE(window.Board()->height(), window.Board()->GetGridHeight() + horizontal);
    }

    void aPuzzleTallerThanTheScreenTakesItsHeight() {
        home->Store(0, "FontSize", "30");
        home->WriteDataFile(PuzzleSection(1, "Alto", 3, 30, QString(90, 'A'), "A B", "001"));
        WindowServices::SetWorkAreaStandIn(QRect(0, 0, 1200, 400));
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ChooseRow(window, 1);
        const WindowServices windows;
        const WindowMetrics outer = windows.GetWindowSize(&window);
        const WindowMetrics client = windows.GetClientSize(&window);
        const int FH = outer.height - client.height;
        QCOMPARE(outer.height, 400);
        QCOMPARE(window.Board()->height(), 400 - FH);
        QCOMPARE(window.WordList()->height(), 400 - FH);
        QCOMPARE(window.Board()->width(),
                 window.Board()->GetGridWidth() + windows.GetScrollBarSize(false));
    }

    // After the error the window, the list and the board show the damaged
    // puzzle with the marks that could be read; a click is saved for it at
    // the next switch, and what could not be read stays aside.
    void damagedSavedMarksAreKeptAsideAndAllShowOnePuzzle_data() {
        QTest::addColumn<QString>("damaged");
        QTest::addColumn<QList<QPoint>>("readable");
        QTest::addColumn<QString>("saved"); // after a click on cell 5
        QTest::newRow("letters inside")
            << "001002003abc004" << QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {1, 2}}
            << "001002003004005";
        QTest::newRow("comma list")
            << "001,002,003" << QList<QPoint>{{1, 1}, {3, 1}} << "001003005";
        QTest::newRow("full-width digits") << "００１００２" << QList<QPoint>{} << "005";
        QTest::newRow("@Rect") << "@Rect(1 2 3 4)" << QList<QPoint>{{3, 1}} << "003005";
    }
    void damagedSavedMarksAreKeptAsideAndAllShowOnePuzzle() {
        QFETCH(QString, damaged);
        QFETCH(QList<QPoint>, readable);
        QFETCH(QString, saved);
        home->Store(1, "Save", damaged);
        StandInPerson person;
        frmMain window;
        ChooseRow(window, 2);
        emit window.Board()->Grid()->CellClick(1, 1);
        ChooseRow(window, 1);
        QCOMPARE(person.Count("error"), 1);
        const QString report = person.asked.last().text;
        QVERIFY2(report.startsWith("Error 13\nctlCuadricula.ShowGames") &&
                     report.contains(MessageCatalogue::Text(11540).arg(1).arg(damaged)),
                 qPrintable(report));
        QCOMPARE(window.windowTitle(), MessageCatalogue::Text(10400) + " 1 - Uno");
        QCOMPARE(window.Board()->NumeroJuego(), 1);
        QCOMPARE(window.WordList()->NumeroJuego(), 1);
        QCOMPARE(window.WordList()->Grid()->GetRowCount(), 2);
        QCOMPARE(MarkedCells(*window.Board()), readable);
        QVERIFY(window.Board()->Grid()->Redraw());
        QCOMPARE(home->Stored(1, "Save"), damaged); // not overwritten unread
        QCOMPARE(home->Stored(1, "SaveDamaged"), damaged);

        emit window.Board()->Grid()->CellClick(2, 2);
        ChooseRow(window, 3);
        QCOMPARE(window.Board()->NumeroJuego(), 3);
        QCOMPARE(home->Stored(1, "Save"), saved);
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001"));
        QCOMPARE(home->Stored(1, "SaveDamaged"), damaged);
        QCOMPARE(person.Count("error"), 1);
    }

    // Crossed-out words are saved with two digits: a puzzle of more than 99
    // words is refused, as one of more than 999 cells is, and the window
    // stays on the puzzle it had.
    void aPuzzleOfMoreThan99WordsIsRefused() {
        QStringList words;
        for (int i = 1; i <= 120; ++i)
            words << QStringLiteral("P%1").arg(i);
        home->WriteDataFile(ThreePuzzles() +
                            PuzzleSection(4, "Larga", 3, 2, "SOLAXE", words.join(' '), "001"));
        StandInPerson person;
        frmMain window;
        ChooseRow(window, 1);
        ChooseRow(window, 4);
        QCOMPARE(person.Count("error"), 1);
        const QString report = person.asked.last().text;
        QVERIFY2(report.contains(MessageCatalogue::Text(11616)
                                     .arg("4", QDir::toNativeSeparators(home->DataFile()))
                                     .arg(120)
                                     .arg(99)),
                 qPrintable(report));
        QCOMPARE(window.windowTitle(), MessageCatalogue::Text(10400) + " 1 - Uno");
        QCOMPARE(window.WordList()->Grid()->GetRowCount(), 2);
    }

    // A stored colour out of range costs that colour only: it is told once,
    // every puzzle still opens, the settings still open, and no progress
    // moves to another puzzle.
    void aColourOutOfRangeCostsNoProgress() {
        home->Store(0, "ColorFondo", "99999999999");
        home->Store(0, "ColorSel", "4294967295");
        home->Store(3, "Save", "001002003");
        {
            StandInPerson person;
            person.yesNoAnswers = {true};
            frmMain window;
            ChooseRow(window, 1);
            QCOMPARE(person.Count("error"), 2);
            ChooseRow(window, 3);
            QCOMPARE(window.windowTitle(), MessageCatalogue::Text(10400) + " 3 - Tres");
            QCOMPARE(MarkedCells(*window.Board()), (QList<QPoint>{{1, 1}, {2, 1}, {1, 2}}));
            QCOMPARE(window.Board()->MarkedColour(), WindowServices().GetSystemColor(15));
            ModalDriver settings([](QWidget* dialog) { dialog->close(); });
            window.findChild<QAction*>("mnuOpcConfiguracion")->trigger();
            QVERIFY(settings.Acted());
            QVERIFY(window.close());
            QCOMPARE(person.Count("error"), 2);
        }
        QCOMPARE(home->Stored(3, "Save"), QStringLiteral("001002003"));
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral(""));
    }

    // Letters are composed; one that still needs two units is refused for
    // that puzzle, and everything stays on the puzzle shown.
    void lettersAreComposedAndALongerOneIsRefused() {
        home->WriteDataFile(
            ThreePuzzles() + PuzzleSection(4, "Gato", 2, 2, QStringLiteral("GA🐈O"), "GATO", "001") +
            PuzzleSection(5, "Sol", 3, 1, QStringLiteral("O\u0301SO"), "ÓSO", "001"));
        StandInPerson person;
        person.yesNoAnswers = {true};
        frmMain window;
        ChooseRow(window, 5);
        QCOMPARE(window.Board()->Letras(), QStringLiteral("ÓSO"));
        QCOMPARE(window.Board()->Grid()->CellText(1, 1), QStringLiteral("Ó"));
        QCOMPARE(window.Board()->Grid()->CellText(3, 1), QStringLiteral("O"));
        ChooseRow(window, 3);
        emit window.Board()->Grid()->CellClick(2, 2);
        const QString title = window.windowTitle();
        ChooseRow(window, 4);
        QCOMPARE(person.Count("error"), 1);
        const QString report = person.asked.last().text;
        QVERIFY2(report.contains("ctlCuadricula.ShowGames") && report.contains("🐈"),
                 qPrintable(report));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.Board()->NumeroJuego(), 3);
        QCOMPARE(window.WordList()->NumeroJuego(), 3);
        QCOMPARE(MarkedCells(*window.Board()), QList<QPoint>{QPoint(2, 2)});
        QVERIFY(window.close());
        QCOMPARE(home->Stored(3, "Save"), QStringLiteral("004"));
    }

    // A store that cannot be written is told once; switching and playing go
    // on. (Tests run as root too, so permissions would not stop a write.)
    void aStoreThatCannotBeWrittenStillLetsThePlayerSwitch_data() {
        QTest::addColumn<bool>("fileIsAFolder");
        QTest::newRow("the settings folder is a file") << false;
        QTest::newRow("the settings file is a folder") << true;
    }
    void aStoreThatCannotBeWrittenStillLetsThePlayerSwitch() {
        FILE_STORE_ONLY();
        QFETCH(bool, fileIsAFolder);
        const QString folder = home->ConfigFolder() + "/Pinarejo";
        QDir(folder).removeRecursively();
        if (fileIsAFolder) {
            QVERIFY(QDir().mkpath(folder + "/Zelvora.conf"));
        } else {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        StandInPerson person;
        person.yesNoAnswers = {true};
        frmMain window;
        ChooseRow(window, 1);
        emit window.Board()->Grid()->CellClick(1, 1);
        ChooseRow(window, 2);
        QCOMPARE(person.Count("error"), 1);
        const QString report = person.asked.last().text;
        QVERIFY2(report.startsWith("Error 75") && report.contains(MessageCatalogue::Text(11510)),
                 qPrintable(report));
        QCOMPARE(window.windowTitle(), MessageCatalogue::Text(10400) + " 2 - Dos");
        QCOMPARE(window.WordList()->NumeroJuego(), 2);
        emit window.Board()->Grid()->CellClick(2, 1);
        QCOMPARE(window.Board()->Grid()->CellBackColor(2, 1), window.Board()->MarkedColour());
        ChooseRow(window, 3);
        QCOMPARE(window.Board()->NumeroJuego(), 3);
        QVERIFY(window.close());
        QCOMPARE(person.Count("error"), 1);
    }

    void aBrokenPuzzleIsReportedAndNothingMoves() {
        home->WriteDataFile(ThreePuzzles() + "[4]\nTitulo=Roto\nCantAncho=40\nCantAlto=40\n");
        StandInPerson person;
        frmMain window;
        ChooseRow(window, 1);
        const QString title = window.windowTitle();
        ChooseRow(window, 4);
        QCOMPARE(person.Count("error"), 1);
        QVERIFY(person.asked.last().text.contains("ctlCuadricula.ShowGames"));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.Board()->NumeroJuego(), 1);
        QCOMPARE(window.WordList()->NumeroJuego(), 1);
    }
};

QTEST_MAIN(GameFlowTest)
#include "test_game_flow.moc"
