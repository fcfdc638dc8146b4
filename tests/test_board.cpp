#include "board/ctlCuadricula.h"
#include "core/PuzzleLimits.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/GameState.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const QString tenByThree = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÑÁÉÍ");

QString TwoPuzzles() {
    return PuzzleSection(1, "Diez", 10, 3, tenByThree, "ABC KLM", "001002003011012013") +
           PuzzleSection(2, "Sol", 3, 2, "SOLAXE", "SOL", "001002003");
}

} // namespace

// The board with the steps its published members take within reach.
class BoardSteps : public ctlCuadricula {
public:
    using ctlCuadricula::ApplyConfiguration;
    using ctlCuadricula::ConvertCellIndex;
    using ctlCuadricula::LoadConfiguration;
};

class BoardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    static void Convert(BoardSteps& board, qint32& index, qint32& column, qint32& row) {
        board.ConvertCellIndex(index, column, row);
    }
    static void Apply(BoardSteps& board) { board.ApplyConfiguration(false, true); }
    // As the settings dialog leaves it: stored, then read.
    void SetMarkedColour(BoardSteps& board, qint32 colour) {
        home->Store(0, "ColorSel", QString::number(colour));
        board.LoadConfiguration();
        QCOMPARE(board.MarkedColour(), colour);
    }

private slots:
    void init() {
        home = std::make_unique<TestHome>();
        home->WriteDataFile(TwoPuzzles());
    }
    void cleanup() { home.reset(); }

    void newBoardIsEmpty() {
        ctlCuadricula board;
        QCOMPARE(board.NumeroJuego(), 0);
        QCOMPARE(board.Rows(), 0);
        QCOMPARE(board.Columns(), 0);
        board.Refresh(true);
        QCOMPARE(board.Grid()->GetRowCount(), 0);
        board.Save(); // no puzzle: nothing is written
        QVERIFY(!home->IsStored(0, "Save"));
    }

    void cellIndexConversion_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 1 << 1 << 1;
        QTest::newRow("end of row 1") << 10 << 10 << 1;
        QTest::newRow("start of row 2") << 11 << 1 << 2;
        QTest::newRow("last") << 30 << 10 << 3;
    }
    void cellIndexConversion() {
        QFETCH(int, index);
        QFETCH(int, column);
        QFETCH(int, row);
        BoardSteps board;
        board.SetColumns(10);
        board.SetRows(3);
        qint32 i = index, c = 0, r = 0;
        Convert(board, i, c, r);
        QCOMPARE(QPoint(c, r), QPoint(column, row));
        i = 0;
        Convert(board, i, c, r);
        QCOMPARE(i, index);
    }

    void cellIndexOutsideTheGrid() {
        BoardSteps board;
        board.SetColumns(10);
        board.SetRows(3);
        for (qint32 index : {31, -1, 1000}) {
            qint32 i = index, c = 7, r = 2;
            Convert(board, i, c, r);
            QCOMPARE(QPoint(c, r), QPoint(7, 2)); // unchanged
        }
        for (QPoint cell : {QPoint(11, 1), QPoint(0, 1), QPoint(1, 4), QPoint(1, 0)}) {
            qint32 i = 0, c = cell.x(), r = cell.y();
            Convert(board, i, c, r);
            QCOMPARE(i, 0);
        }
    }

    void loadsAPuzzleAndShowsItsLetters() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QCOMPARE(board.Titulo(), QStringLiteral("Diez"));
        QCOMPARE(board.Columns(), 10);
        QCOMPARE(board.Rows(), 3);
        QCOMPARE(board.Palabras(), QStringLiteral("ABC KLM"));
        QCOMPARE(board.Grid()->CellText(1, 1), QStringLiteral("A"));
        QCOMPARE(board.Grid()->CellText(10, 3), QStringLiteral("Í"));
        QCOMPARE(board.Grid()->CellText(4, 2), QStringLiteral("N"));
        QVERIFY(MarkedCells(board).isEmpty()); // never saved: no marks
        QCOMPARE(board.Grid()->GetRowSelected(), 1);
        QVERIFY(board.Grid()->Redraw());
    }

    void shortAndLongLetters() {
        home->WriteDataFile(PuzzleSection(1, "Corto", 3, 2, "AB", "", "") +
                            PuzzleSection(2, "Largo", 2, 1, "XYZW", "", ""));
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QCOMPARE(board.Grid()->CellText(2, 1), QStringLiteral("B"));
        QCOMPARE(board.Grid()->CellText(3, 1), QString());
        QCOMPARE(board.Grid()->CellText(3, 2), QString());
        OpenPuzzle(board, 2);
        QCOMPARE(board.Grid()->GetColumnCount(), 2);
        QCOMPARE(board.Grid()->CellText(2, 1), QStringLiteral("Y"));
    }

    void propertiesAreStorageOnly() {
        ctlCuadricula board;
        OpenPuzzle(board, 2);
        board.SetColumns(10);
        board.SetLetras("ZZZZ");
        QCOMPARE(board.Grid()->GetColumnCount(), 3);
        QCOMPARE(board.Grid()->CellText(1, 1), QStringLiteral("S"));
    }

    void clicksAndKeysToggleCells() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        ctlGrid* grid = board.Grid();
        emit grid->CellClick(2, 1);
        QCOMPARE(MarkedCells(board), QList<QPoint>{QPoint(2, 1)});
        QCOMPARE(grid->CellBackColor(2, 1), board.MarkedColour());
        emit grid->CellClick(2, 1);
        QVERIFY(MarkedCells(board).isEmpty());
        emit grid->CellClick(2, 1);
        emit grid->CellClick(2, 1);
        emit grid->CellClick(2, 1);
        QCOMPARE(MarkedCells(board).size(), 1);

        qint16 space = 32, enter = 13, letter = 'A';
        emit grid->CellKeyPress(5, 3, space);
        emit grid->CellKeyPress(6, 3, enter);
        emit grid->CellKeyPress(7, 3, letter);
        QCOMPARE(MarkedCells(board), (QList<QPoint>{QPoint(2, 1), QPoint(5, 3), QPoint(6, 3)}));
        QCOMPARE(space, qint16(32)); // the key is passed on unchanged
    }

    void readOnlyBoardIgnoresClicksAndKeys() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        board.SetReadOnly(true);
        qint16 space = 32;
        emit board.Grid()->CellClick(1, 1);
        emit board.Grid()->CellKeyPress(2, 1, space);
        QVERIFY(MarkedCells(board).isEmpty());
    }

    void realClickOnTheWidgetMarksTheCell() {
        ctlCuadricula board;
        OpenPuzzle(board, 2);
        board.resize(board.GetGridWidth(), board.GetGridHeight());
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        const int cellWidth = board.Grid()->ColumnWidth(1);
        const QPoint inside = board.Grid()->viewport()->rect().topLeft() +
                              QPoint(cellWidth + cellWidth / 2, cellWidth / 2);
        QTest::mouseClick(board.Grid()->viewport(), Qt::LeftButton, {}, inside);
        QCOMPARE(MarkedCells(board), QList<QPoint>{QPoint(2, 1)});
        board.Grid()->setFocus();
        QTest::keyClick(board.Grid(), Qt::Key_Space);
        QVERIFY(MarkedCells(board).isEmpty());
    }

    void savesTheTenByThreeExample() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        emit board.Grid()->CellClick(1, 1);
        emit board.Grid()->CellClick(10, 1);
        emit board.Grid()->CellClick(1, 2);
        board.Save();
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("001010011"));
    }

    void savingWithoutMarksWritesTheEmptyText() {
        home->Store(2, "Save", "001");
        ctlCuadricula board;
        OpenPuzzle(board, 2);
        emit board.Grid()->CellClick(1, 1); // unmark the saved one
        board.Save();
        QVERIFY(home->IsStored(2, "Save"));
        QCOMPARE(home->Stored(2, "Save"), QString());
    }

    void marksSurviveSwitchingAndARestart() {
        {
            ctlCuadricula board;
            OpenPuzzle(board, 1);
            emit board.Grid()->CellClick(3, 2);
            emit board.Grid()->CellClick(10, 3);
            board.Save();
            OpenPuzzle(board, 2);
            QVERIFY(MarkedCells(board).isEmpty());
            emit board.Grid()->CellClick(2, 2);
            board.Save();
            OpenPuzzle(board, 1);
            QCOMPARE(MarkedCells(board), (QList<QPoint>{QPoint(3, 2), QPoint(10, 3)}));
        }
        ctlCuadricula afterRestart;
        OpenPuzzle(afterRestart, 1);
        QCOMPARE(MarkedCells(afterRestart), (QList<QPoint>{QPoint(3, 2), QPoint(10, 3)}));
        OpenPuzzle(afterRestart, 2);
        QCOMPARE(MarkedCells(afterRestart), QList<QPoint>{QPoint(2, 2)});
    }

    void damagedSavedValues_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QList<QPoint>>("marked");
        QTest::newRow("odd length") << "00101" << QList<QPoint>{QPoint(1, 1)};
        QTest::newRow("one digit at the end")
            << "0115" << QList<QPoint>{QPoint(5, 1), QPoint(1, 2)};
        QTest::newRow("000") << "000011" << QList<QPoint>{QPoint(1, 2)};
        QTest::newRow("past the last cell") << "031999002" << QList<QPoint>{QPoint(2, 1)};
        QTest::newRow("listed twice") << "002002" << QList<QPoint>{QPoint(2, 1)};
        QTest::newRow("unordered") << "030001" << QList<QPoint>{QPoint(1, 1), QPoint(10, 3)};
    }
    void damagedSavedValues() {
        QFETCH(QString, saved);
        QFETCH(QList<QPoint>, marked);
        home->Store(1, "Save", saved);
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QCOMPARE(MarkedCells(board), marked);
    }

    // Entries that are no number are skipped, the rest still marked; the
    // board paints again, the error passes on, and the damaged value stays
    // beside "Save" until the next save writes "Save" anew.
    void nonDigitEntryFailsTheLoad() {
        home->Store(1, "Save", "0020a1003");
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        try {
            board.Refresh(true);
            QFAIL("a non-digit entry must fail");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 13);
            QCOMPARE(error.Source(), QStringLiteral("ctlCuadricula.Load"));
        }
        QCOMPARE(MarkedCells(board), (QList<QPoint>{QPoint(2, 1), QPoint(3, 1)}));
        QVERIFY(board.Grid()->Redraw());
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("0020a1003"));
        QCOMPARE(home->Stored(1, "SaveDamaged"), QStringLiteral("0020a1003"));
        board.Save();
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("002003"));
        QCOMPARE(home->Stored(1, "SaveDamaged"), QStringLiteral("0020a1003"));

        // Another damaged value later is kept beside the first.
        home->Store(1, "Save", "x");
        QVERIFY_EXCEPTION_THROWN(board.Refresh(true), AppError);
        QCOMPARE(home->Stored(1, "SaveDamaged"), QStringLiteral("0020a1003"));
        QCOMPARE(home->Stored(1, "SaveDamaged2"), QStringLiteral("x"));
    }

    void refreshTwiceEqualsOnce() {
        home->Store(1, "Save", "005");
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        emit board.Grid()->CellClick(9, 3); // not saved
        board.Refresh(true);
        const QList<QPoint> once = MarkedCells(board);
        board.Refresh(true);
        QCOMPARE(MarkedCells(board), once);
        QCOMPARE(once, QList<QPoint>{QPoint(5, 1)});
        QCOMPARE(board.Grid()->GetRowCount(), 3);
    }

    void solutionViewShowsOnlyTheSolution() {
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.SetReadOnly(true);
        board.Refresh(false);
        const QList<QPoint> solution = {QPoint(1, 1), QPoint(2, 1), QPoint(3, 1),
                                        QPoint(1, 2), QPoint(2, 2), QPoint(3, 2)};
        QCOMPARE(MarkedCells(board), solution);
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 10; ++column) {
                const bool inSolution = solution.contains(QPoint(column, row));
                QCOMPARE(board.Grid()->CellText(column, row).isEmpty(), !inSolution);
            }
        QVERIFY(!home->IsStored(1, "Save"));
    }

    void changeConfigurationOnlyWhenApplying() {
        BoardSteps board;
        QSignalSpy changed(&board, &ctlCuadricula::ChangeConfiguration);
        OpenPuzzle(board, 1);
        board.Refresh(true);
        QCOMPARE(changed.count(), 0);
        Apply(board);
        QCOMPARE(changed.count(), 1);
    }

    void recolourRepaintsMarkedCellsOnly() {
        BoardSteps board;
        OpenPuzzle(board, 1);
        emit board.Grid()->CellClick(4, 1);
        board.Grid()->SetCellBackColor(5, 1, 0x123456); // marked in an earlier colour
        SetMarkedColour(board, 0x00FF00);
        Apply(board);
        QCOMPARE(board.Grid()->CellBackColor(4, 1), 0x00FF00);
        QCOMPARE(board.Grid()->CellBackColor(5, 1), 0x00FF00);
        QCOMPARE(MarkedCells(board).size(), 2);
        QVERIFY(board.Grid()->Redraw());
    }

    // Dimensions the cell lists cannot hold are refused before any grid is
    // built, and the board keeps the puzzle it had.
    void impossibleDimensionsAreRefused_data() {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("number");
        QTest::newRow("no columns") << "0"
                                    << "5" << 5;
        QTest::newRow("negative rows") << "5"
                                       << "-2" << 5;
        QTest::newRow("1000 cells") << "40"
                                    << "25" << 5;
        QTest::newRow("a million cells") << "1000"
                                         << "1000" << 5;
        QTest::newRow("product past 32 bits") << "2000000000"
                                              << "2000000000" << 5;
        QTest::newRow("missing") << ""
                                 << "5" << 13;
        QTest::newRow("not a number") << "diez"
                                      << "5" << 13;
        QTest::newRow("too large for 32 bits") << "99999999999"
                                               << "5" << 6;
    }
    void impossibleDimensionsAreRefused() {
        QFETCH(QString, columns);
        QFETCH(QString, rows);
        QFETCH(int, number);
        home->WriteDataFile(TwoPuzzles() + QStringLiteral("[3]\nTitulo=Roto\nCantAncho=%1\n"
                                                          "CantAlto=%2\nLetras=AB\n")
                                               .arg(columns, rows));
        ctlCuadricula board;
        OpenPuzzle(board, 2);
        board.SetNumeroJuego(3);
        try {
            board.LoadPuzzle();
            QFAIL("the puzzle must be refused");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), number);
            // A count that is no 32-bit number, or cells a puzzle cannot have.
            const QString expected =
                number == ErrorNumber::InvalidArgument
                    ? MessageCatalogue::Text(11615)
                          .arg(QStringLiteral("3"), home->DataFile())
                          .arg(columns.toInt())
                          .arg(rows.toInt())
                          .arg(PuzzleLimits::MaxCells)
                    : MessageCatalogue::Text(11614).arg(QStringLiteral("3"), home->DataFile(),
                                                        QStringLiteral("CantAncho"), columns);
            QCOMPARE(error.Description(), expected);
        }
        QCOMPARE(board.Titulo(), QStringLiteral("Sol"));
        QCOMPARE(board.Columns(), 3);
        QCOMPARE(board.Rows(), 2);
    }

    void theLargestPuzzleIsAccepted() {
        home->WriteDataFile(PuzzleSection(1, "Grande", 33, 30, QString(990, 'A'), "A", "990"));
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.SetReadOnly(true);
        board.Refresh(false);
        QCOMPARE(MarkedCells(board), QList<QPoint>{QPoint(33, 30)});
    }
};

QTEST_MAIN(BoardTest)
#include "test_board.moc"
