#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/ChooserDriver.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

namespace {
QString Puzzles(std::initializer_list<int> numbers) {
    QString file;
    for (int number : numbers)
        file += PuzzleSection(number, QStringLiteral("Tema %1").arg(number), 3, 2, "SOLAXE", "SOL",
                              "001002003");
    return file;
}
} // namespace

class GameChooserTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    // Runs ShowGames while `act` answers the chooser; returns its result.
    bool Choose(ctlCuadricula& board, std::function<void(QWidget*)> act,
                QStringList* rows = nullptr) {
        ModalDriver driver([&](QWidget* chooser) {
            if (rows)
                *rows = ChooserDriver::Rows(chooser);
            act(chooser);
        });
        const bool chosen = board.ShowGames();
        if (!driver.Acted() || driver.TimedOut())
            qWarning("the chooser was not answered");
        return chosen;
    }

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
        home->WriteDataFile(Puzzles({1, 2, 3}));
    }
    void cleanup() { home.reset(); }

    void listsPuzzlesUntilTheFirstGap() {
        home->WriteDataFile(Puzzles({1, 2, 4}));
        ctlCuadricula board;
        QStringList rows;
        int selected = -1;
        QString caption;
        const bool chosen = Choose(
            board,
            [&](QWidget* chooser) {
                selected = ChooserDriver::SelectedRow(chooser);
                caption = chooser->windowTitle();
                ChooserDriver::PressCancel(chooser);
            },
            &rows);
        QVERIFY(!chosen);
        QCOMPARE(rows, (QStringList{"1 - Tema 1", "2 - Tema 2"}));
        QCOMPARE(selected, 1);
        QCOMPARE(caption, MessageCatalogue::Text(10600));
    }

    void okWithoutTouchingChoosesTheFirstPuzzle() {
        ctlCuadricula board;
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::PressOk(chooser); }));
        QCOMPARE(board.NumeroJuego(), 1);
        QCOMPARE(board.Titulo(), QStringLiteral("Tema 1"));
        QCOMPARE(board.Grid()->CellText(1, 1), QStringLiteral("S"));
    }

    void clickingTheThirdRowChoosesAtOnce() {
        ctlCuadricula board;
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 3); }));
        QCOMPARE(board.NumeroJuego(), 3);
    }

    void keyboardChoosesToo() {
        ctlCuadricula board;
        QVERIFY(
            Choose(board, [](QWidget* chooser) { ChooserDriver::ArrowDownAndEnter(chooser, 1); }));
        QCOMPARE(board.NumeroJuego(), 2);
    }

    void cancelEscapeAndCloseChooseNothing() {
        ctlCuadricula board;
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::PressOk(chooser); }));
        emit board.Grid()->CellClick(2, 1);
        const std::function<void(QWidget*)> ways[] = {
            [](QWidget* chooser) { ChooserDriver::PressCancel(chooser); },
            [](QWidget* chooser) { ChooserDriver::PressEscape(chooser); },
            [](QWidget* chooser) { chooser->close(); },
        };
        for (const auto& way : ways) {
            QVERIFY(!Choose(board, way));
            QCOMPARE(board.NumeroJuego(), 1);
            QCOMPARE(board.Grid()->CellBackColor(2, 1), board.MarkedColour());
        }
        QVERIFY(!home->IsStored(1, "Save")); // nothing saved by a cancelled choice
    }

    void emptyFileGivesAnEmptyListAndOkExplains() {
        home->WriteDataFile("[7]\nTitulo=Suelto\n");
        StandInPerson person;
        ctlCuadricula board;
        QStringList rows{"not read"};
        const bool chosen = Choose(
            board,
            [&](QWidget* chooser) {
                ChooserDriver::PressOk(chooser);
                QVERIFY(chooser->isVisible()); // stays open
                ChooserDriver::PressCancel(chooser);
            },
            &rows);
        QVERIFY(!chosen);
        QVERIFY(rows.isEmpty());
        QCOMPARE(person.Count("information"), 1);
        QCOMPARE(person.asked[0].text, MessageCatalogue::Text(10601));
        QCOMPARE(person.asked[0].title, MessageCatalogue::Text(10600));
    }

    // A data file that cannot be read opens the chooser with a message that
    // names the file and the reason.
    void anUnreadableDataFileSaysWhy_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("reason");
        QTest::newRow("folder") << "folder" << 11502;
        QTest::newRow("picture") << "picture" << 11504;
        QTest::newRow("missing") << "missing" << 11501;
    }
    void anUnreadableDataFileSaysWhy() {
        QFETCH(QString, what);
        QFETCH(int, reason);
        QVERIFY(QFile::remove(home->DataFile()));
        if (what == "folder")
            QVERIFY(QDir().mkdir(home->DataFile()));
        else if (what == "picture")
            home->WriteDataFileBytes(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        StandInPerson person;
        ctlCuadricula board;
        QStringList rows{"not read"};
        QVERIFY(!Choose(
            board, [](QWidget* chooser) { ChooserDriver::PressCancel(chooser); }, &rows));
        QVERIFY(rows.isEmpty());
        QCOMPARE(person.Count("information"), 1);
        QCOMPARE(person.asked[0].text,
                 MessageCatalogue::Text(11500).arg(QDir::toNativeSeparators(home->DataFile()),
                                                   MessageCatalogue::Text(reason)));
        QCOMPARE(person.asked[0].title, MessageCatalogue::Text(10600));
    }

    // More puzzles than a 16-bit row count: the list holds them all and the
    // keyboard reaches the last.
    void opensOverMorePuzzlesThanSixteenBitsCount() {
        constexpr int count = 40000;
        QString file;
        for (int number = 1; number <= count; ++number)
            file += QStringLiteral("[%1]\nTitulo=Sopa %1\nCantAncho=2\nCantAlto=1\nLetras=AB\n")
                        .arg(number);
        home->WriteDataFile(file);
        ctlCuadricula board;
        QStringList rows;
        QVERIFY(Choose(
            board,
            [](QWidget* chooser) {
                QWidget* list = chooser->findChild<ctlGrid*>("ctlGridJuegos");
                QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
                QCOMPARE(ChooserDriver::SelectedRow(chooser), count);
                QTest::keyClick(list, Qt::Key_Return);
            },
            &rows));
        QCOMPARE(rows.size(), count);
        QCOMPARE(rows.last(), QStringLiteral("40000 - Sopa 40000"));
        QCOMPARE(board.NumeroJuego(), count);
        QCOMPARE(board.Titulo(), QStringLiteral("Sopa 40000"));
    }

    void choosingSavesTheOldPuzzleFirst() {
        ctlCuadricula board;
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 1); }));
        emit board.Grid()->CellClick(3, 2);
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 2); }));
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("006"));
        // Choosing the same puzzle saves it and reads it back.
        emit board.Grid()->CellClick(1, 1);
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 2); }));
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001"));
        QCOMPARE(board.Grid()->CellBackColor(1, 1), board.MarkedColour());
    }

    // A puzzle that cannot be read leaves the board on the one it had, so
    // the next save writes that puzzle's marks under its own number.
    void aBrokenPuzzleKeepsTheBoardOnItsPuzzle() {
        home->WriteDataFile(Puzzles({1}) + "[2]\nTitulo=Roto\nCantAncho=x\nCantAlto=2\n");
        home->Store(2, "Save", "003");
        ctlCuadricula board;
        QVERIFY(Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 1); }));
        emit board.Grid()->CellClick(1, 2);
        try {
            Choose(board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 2); });
            QFAIL("the broken puzzle must raise");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 13);
            QCOMPARE(error.Source(), QStringLiteral("ctlCuadricula.ShowGames"));
        }
        QCOMPARE(board.NumeroJuego(), 1);
        QCOMPARE(board.Titulo(), QStringLiteral("Tema 1"));
        board.Save();
        QCOMPARE(home->Stored(1, "Save"), QStringLiteral("004"));
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("003"));
    }

    // An update renumbers the puzzles while the chooser lists the old ones:
    // the player hears that the title picked is no longer under its number
    // and picks again from the new list. Saved marks of the old puzzle that
    // do not fit the new one are kept aside, not cut away by the next save.
    void aFileRenumberedWhileListedIsNoticed() {
        home->Store(2, "Save", "001006");
        StandInPerson person;
        ctlCuadricula board;
        std::unique_ptr<ModalDriver> again;
        QStringList newRows;
        QVERIFY(Choose(board, [&](QWidget* chooser) {
            home->WriteDataFile(PuzzleSection(1, "Tema 1", 3, 2, "SOLAXE", "SOL", "001") +
                                PuzzleSection(2, "Ropa", 2, 1, "AB", "AB", "001002"));
            again = std::make_unique<ModalDriver>([&](QWidget* next) {
                newRows = ChooserDriver::Rows(next);
                ChooserDriver::ClickRow(next, 2);
            });
            ChooserDriver::ClickRow(chooser, 2);
        }));
        QVERIFY(again->Acted());
        QCOMPARE(newRows, (QStringList{"1 - Tema 1", "2 - Ropa"}));
        QCOMPARE(person.Count("information"), 2);
        QCOMPARE(person.asked[0].text, MessageCatalogue::Text(11542).arg(2).arg("Tema 2", "Ropa"));
        QCOMPARE(person.asked[1].text, MessageCatalogue::Text(11541).arg(2).arg(2));
        QCOMPARE(board.Titulo(), QStringLiteral("Ropa"));
        QCOMPARE(board.Grid()->CellBackColor(1, 1), board.MarkedColour());
        QCOMPARE(home->Stored(2, "SaveDamaged"), QStringLiteral("001006"));
        board.Save();
        QCOMPARE(home->Stored(2, "Save"), QStringLiteral("001"));
        QCOMPARE(home->Stored(2, "SaveDamaged"), QStringLiteral("001006"));
    }

    // A NUL in a title and the zeros a crash leaves at the end damage their
    // own line only: every puzzle is listed and plays.
    void nulBytesDamageTheirLineOnly() {
        QByteArray file = Puzzles({1}).toUtf8() + "[2]\nTitulo=Ro" + QByteArray(1, '\0') +
                          "pa\nCantAncho=3\nCantAlto=2\nLetras=SOLAXE\nPalabras=SOL\n" +
                          Puzzles({3}).toUtf8() + QByteArray(4096, '\0');
        home->WriteDataFileBytes(file);
        StandInPerson person;
        ctlCuadricula board;
        QStringList rows;
        QVERIFY(Choose(
            board, [](QWidget* chooser) { ChooserDriver::ClickRow(chooser, 3); }, &rows));
        QCOMPARE(rows, (QStringList{"1 - Tema 1", "2 - Ro\uFFFDpa", "3 - Tema 3"}));
        QCOMPARE(board.Titulo(), QStringLiteral("Tema 3"));
        QCOMPARE(board.Solucion(), QStringLiteral("001002003"));
        QCOMPARE(person.asked.size(), 0);
    }

    void theColumnFillsTheList() {
        QString many;
        for (int i = 1; i <= 40; ++i)
            many += PuzzleSection(i, "T", 1, 1, "A", "A", "001");
        for (const QString& file : {Puzzles({1, 2}), many}) {
            home->WriteDataFile(file);
            ctlCuadricula board;
            int columnWidth = 0, clientWidth = 0, scrollBar = 0;
            Choose(board, [&](QWidget* chooser) {
                auto* grid = chooser->findChild<ctlGrid*>("ctlGridJuegos");
                const WindowServices windows;
                columnWidth = grid->ColumnWidth(1);
                clientWidth = windows.GetClientSize(grid).width;
                const bool tall = grid->GetGridHeight() > windows.GetClientSize(grid).height;
                scrollBar = tall ? windows.GetScrollBarSize(false) : 0;
                ChooserDriver::PressCancel(chooser);
            });
            QCOMPARE(columnWidth, clientWidth - scrollBar);
            QCOMPARE(scrollBar > 0, file == many);
        }
    }
};

QTEST_MAIN(GameChooserTest)
#include "test_game_chooser.moc"
