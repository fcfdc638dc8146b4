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
