#include "board/ctlCuadricula.h"
#include "dialogs/frmSolucion.h"
#include "outside/AppError.h"
#include "outside/Conversions.h"
#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QDirIterator>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

namespace {
// Puzzle 3, as in the caption example: 5 × 4 cells, ANIMAL words.
const QString animalLetters = QStringLiteral("GATOSXPEZQRANAMOSAPO");
const QString animalSolution = QStringLiteral("001002003004008009010013014015016");

// Puzzle 4's board is wider than its window's title.
QString Puzzles() {
    return PuzzleSection(1, "Sol", 3, 2, "SOLAXE", "SOL", "001002003") +
           PuzzleSection(3, "Animales", 5, 4, animalLetters, "GATO PEZ RANA", animalSolution) +
           PuzzleSection(4, "Ancho", 24, 3, QString(72, QLatin1Char('W')), "WW", "001002");
}

QSet<int> CellsOf(const QString& cellList) {
    QSet<int> cells;
    for (qsizetype at = 0; at + 3 <= cellList.size(); at += 3)
        cells.insert(cellList.mid(at, 3).toInt());
    return cells;
}

// What a board shows: per cell, its text and back colour.
QStringList Cells(const ctlCuadricula& board) {
    QStringList cells;
    for (int row = 1; row <= board.Rows(); ++row)
        for (int column = 1; column <= board.Columns(); ++column)
            cells << board.Grid()->CellText(column, row) + QLatin1Char('@') +
                         QString::number(board.Grid()->CellBackColor(column, row));
    return cells;
}

// Every file under the folder with its bytes, and on Windows every value
// in the registry, where the store is.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
    QMap<QString, QByteArray> files = TestRegistry::Values();
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(file.fileName(), file.readAll());
    }
    return files;
}

// The point inside the grid's viewport at the middle of a cell.
QPoint CellCentre(const ctlGrid& grid, int column, int row) {
    int left = 0;
    for (int c = 1; c < column; ++c)
        left += grid.ColumnWidth(c);
    const int rowHeight = grid.GetGridHeight() / qMax(1, grid.GetRowCount());
    return {left + grid.ColumnWidth(column) / 2, rowHeight * (row - 1) + rowHeight / 2};
}

// What the viewer looked like while it was open.
struct Seen {
    QSize outer;
    QSize frame;
    QRect board;
    QRect button;
    int gridWidth = 0;
    int gridHeight = 0;
    bool verticalBar = false;
    bool horizontalBar = false;
};
} // namespace

class SolutionViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    // Runs ShowSolution while `act` looks at the viewer; the viewer is
    // closed afterwards if `act` left it open. Returns whether it was open.
    static bool WhileOpen(ctlCuadricula& board, const std::function<void(frmSolucion&)>& act) {
        bool shown = false;
        ModalDriver driver([&](QWidget* window) {
            auto* viewer = qobject_cast<frmSolucion*>(window);
            if (!viewer) {
                qWarning("the modal window is not the viewer");
            } else {
                shown = true;
                act(*viewer);
            }
            if (window->isVisible())
                qobject_cast<QDialog*>(window)->reject();
        });
        board.ShowSolution();
        if (driver.TimedOut())
            qWarning("the viewer did not open");
        return shown;
    }

    static Seen Look(frmSolucion& viewer) {
        Seen seen;
        seen.outer = viewer.frameGeometry().size();
        seen.frame = viewer.frameGeometry().size() - viewer.geometry().size();
        seen.board = viewer.ctlSolucion()->geometry();
        seen.button = viewer.cmdCerrar()->geometry();
        seen.gridWidth = viewer.ctlSolucion()->GetGridWidth();
        seen.gridHeight = viewer.ctlSolucion()->GetGridHeight();
        seen.verticalBar = viewer.ctlSolucion()->Grid()->verticalScrollBar()->isVisible();
        seen.horizontalBar = viewer.ctlSolucion()->Grid()->horizontalScrollBar()->isVisible();
        return seen;
    }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
        home->WriteDataFile(Puzzles());
    }
    void cleanup() {
        WindowServices::SetWorkAreaStandIn(std::nullopt);
        home.reset();
    }

    void beforeAnyPuzzleTellsAndOpensNothing() {
        StandInPerson person;
        ctlCuadricula board;
        bool opened = false;
        ModalDriver driver([&](QWidget* window) {
            opened = true;
            qobject_cast<QDialog*>(window)->reject();
        });
        board.ShowSolution();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(person.asked.size(), 1);
        QCOMPARE(person.asked[0].what, QStringLiteral("information"));
        QCOMPARE(person.asked[0].text, MessageCatalogue::Text(10401));
        QCOMPARE(person.asked[0].title, ProductInfo().GetProductName(2));
    }

    void showsOnlyTheSolutionLettersInTheMarkedColour() {
        home->Store(0, "ColorSel", "255"); // red, so the copy must read the settings
        ctlCuadricula board;
        OpenPuzzle(board, 3);
        QStringList texts;
        QList<qint32> colours;
        QString caption, close;
        qint32 marked = 0;
        bool readOnly = false;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) {
            const ctlCuadricula& copy = *viewer.ctlSolucion();
            for (int row = 1; row <= copy.Rows(); ++row)
                for (int column = 1; column <= copy.Columns(); ++column) {
                    texts << copy.Grid()->CellText(column, row);
                    colours << copy.Grid()->CellBackColor(column, row);
                }
            caption = viewer.windowTitle();
            close = viewer.cmdCerrar()->text();
            marked = copy.MarkedColour();
            readOnly = copy.ReadOnly();
        }));
        QCOMPARE(marked, 255);
        QVERIFY(readOnly);
        QCOMPARE(texts.size(), animalLetters.size());
        const QSet<int> solution = CellsOf(animalSolution);
        for (int index = 1; index <= texts.size(); ++index) {
            const bool inSolution = solution.contains(index);
            QCOMPARE(texts[index - 1], inSolution ? QString(animalLetters[index - 1]) : QString());
            QCOMPARE(colours[index - 1], inSolution ? 255 : -1);
        }
        QCOMPARE(caption, MessageCatalogue::Text(10500) + QStringLiteral(" 3 - Animales"));
        QCOMPARE(close, MessageCatalogue::Text(10002));
    }

    void cellsIgnoreClicksAndKeys() {
        ctlCuadricula board;
        OpenPuzzle(board, 3);
        QStringList before, after;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) {
            ctlCuadricula& copy = *viewer.ctlSolucion();
            ctlGrid& grid = *copy.Grid();
            before = Cells(copy);
            for (int row = 1; row <= copy.Rows(); ++row)
                for (int column = 1; column <= copy.Columns(); ++column) {
                    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                                      CellCentre(grid, column, row));
                    QTest::keyClick(&grid, Qt::Key_Space);
                }
            after = Cells(copy);
            QVERIFY(viewer.isVisible());
        }));
        QCOMPARE(after, before);
    }

    void enterEscapeAndTheButtonClose_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("button") << 0;
        QTest::newRow("Enter on the board") << 1;
        QTest::newRow("Esc on the board") << 2;
    }
    void enterEscapeAndTheButtonClose() {
        QFETCH(int, way);
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        bool closed = false;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) {
            ctlGrid* grid = viewer.ctlSolucion()->Grid();
            if (way == 0)
                QTest::mouseClick(viewer.cmdCerrar(), Qt::LeftButton);
            else
                QTest::keyClick(grid, way == 1 ? Qt::Key_Return : Qt::Key_Escape);
            closed = !viewer.isVisible();
        }));
        QVERIFY(closed);
    }

    void leavesThePlayersMarksAndTheStoreAlone() {
        home->Store(0, "ColorSel", "65280");
        ctlCuadricula board;
        OpenPuzzle(board, 3);
        emit board.Grid()->CellClick(2, 2);
        board.Save();
        emit board.Grid()->CellClick(5, 4); // marked since the save
        emit board.Grid()->CellClick(1, 1);
        const QStringList shown = Cells(board);
        const QMap<QString, QByteArray> stored = Snapshot(home->ConfigFolder());
        QVERIFY(!stored.isEmpty());

        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) {
            ctlGrid& grid = *viewer.ctlSolucion()->Grid();
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 3, 3));
            QTest::mouseClick(viewer.cmdCerrar(), Qt::LeftButton);
        }));
        QCOMPARE(Cells(board), shown);
        QCOMPARE(board.NumeroJuego(), 3);
        QVERIFY(!board.ReadOnly());
        QCOMPARE(Snapshot(home->ConfigFolder()), stored);
        // The player's board still marks.
        emit board.Grid()->CellClick(3, 3);
        QCOMPARE(board.Grid()->CellBackColor(3, 3), board.MarkedColour());
    }

    // The work area is set relative to what the viewer wants, measured on
    // a first opening with room to spare: spare < 0 means too large.
    void sizesItselfToTheWorkArea_data() {
        QTest::addColumn<int>("spareWidth");
        QTest::addColumn<int>("spareHeight");
        QTest::addColumn<int>("verticalBar"); // 1 shown, 0 hidden, -1 not checked
        QTest::addColumn<int>("horizontalBar");
        QTest::newRow("fits") << 40 << 40 << 0 << 0;
        QTest::newRow("fits exactly") << 0 << 0 << 0 << 0;
        QTest::newRow("too tall") << 200 << -30 << 1 << 0;
        QTest::newRow("too tall, no room for the bar") << 3 << -30 << 1 << -1;
        QTest::newRow("too wide") << -30 << 200 << 0 << 1;
        QTest::newRow("too wide, no room for the bar") << -30 << 3 << -1 << 1;
        QTest::newRow("too wide and too tall") << -30 << -30 << 1 << 1;
    }
    void sizesItselfToTheWorkArea() {
        QFETCH(int, spareWidth);
        QFETCH(int, spareHeight);
        QFETCH(int, verticalBar);
        QFETCH(int, horizontalBar);
        ctlCuadricula board;
        OpenPuzzle(board, 4);
        const WindowServices windows;
        const int ty = windows.TwipsPerPixelY();

        WindowServices::SetWorkAreaStandIn(QRect(0, 0, 5000, 5000));
        Seen roomy;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) { roomy = Look(viewer); }));
        const int strip =
            static_cast<int>(Conversions::RoundHalfEven((roomy.button.height() * ty + 120.0) / ty));
        const int wantedWidth = roomy.frame.width() + roomy.gridWidth;
        const int wantedHeight = roomy.gridHeight + roomy.frame.height() + strip;
        QCOMPARE(roomy.outer, QSize(wantedWidth, wantedHeight));

        const QSize area(wantedWidth + spareWidth, wantedHeight + spareHeight);
        WindowServices::SetWorkAreaStandIn(QRect(QPoint(0, 0), area));
        Seen seen;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) { seen = Look(viewer); }));

        QSize expected(wantedWidth, wantedHeight);
        if (spareWidth < 0 && spareHeight < 0)
            expected = area;
        else if (spareHeight < 0)
            expected = {qMin(wantedWidth + windows.GetScrollBarSize(false), area.width()),
                        area.height()};
        else if (spareWidth < 0)
            expected = {area.width(),
                        qMin(wantedHeight + windows.GetScrollBarSize(true), area.height())};
        QCOMPARE(seen.frame, roomy.frame);
        QCOMPARE(seen.outer, expected);
        QCOMPARE(seen.board, QRect(0, 0, expected.width() - seen.frame.width(),
                                   expected.height() - seen.frame.height() - strip));
        QCOMPARE(seen.button.size(), roomy.button.size());
        QCOMPARE(seen.button.top(), seen.board.height() + static_cast<int>(std::lround(60.0 / ty)));
        // Centred on the window's outer width, to the pixel.
        QVERIFY2(std::abs(2 * seen.button.left() + seen.button.width() - expected.width()) <= 2,
                 qPrintable(QStringLiteral("button at %1, width %2, window %3")
                                .arg(seen.button.left())
                                .arg(seen.button.width())
                                .arg(expected.width())));
        // Scroll bars only where the board does not fit.
        if (verticalBar >= 0)
            QCOMPARE(seen.verticalBar, verticalBar == 1);
        if (horizontalBar >= 0)
            QCOMPARE(seen.horizontalBar, horizontalBar == 1);
    }

    // A board narrower than the title widens the window to show the title
    // whole, and stands in its middle; the height is the board's own.
    void neverNarrowerThanItsTitle() {
        ctlCuadricula board;
        OpenPuzzle(board, 3);
        WindowServices::SetWorkAreaStandIn(QRect(0, 0, 5000, 5000));
        Seen seen;
        int titleWidth = 0;
        QVERIFY(WhileOpen(board, [&](frmSolucion& viewer) {
            seen = Look(viewer);
            titleWidth = WindowServices().GetTitleWidth(&viewer);
        }));
        QVERIFY2(seen.frame.width() + seen.gridWidth < titleWidth, "the title is the wider");
        QCOMPARE(seen.outer.width(), titleWidth);
        const int clientWidth = titleWidth - seen.frame.width();
        QVERIFY(std::abs(2 * seen.board.left() + seen.board.width() - clientWidth) <= 2);
        QCOMPARE(seen.board.width(), seen.gridWidth);
        QVERIFY(!seen.horizontalBar && !seen.verticalBar);
    }
};

QTEST_MAIN(SolutionViewerTest)
#include "test_solution_viewer.moc"
