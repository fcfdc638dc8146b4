// What a screen reader gets from the program, read through Qt's
// accessibility interfaces the way the platform bridge reads them.
#include "app/TextBox.h"
#include "app/frmAyuda.h"
#include "board/ctlCuadricula.h"
#include "dialogs/frmConfiguracion.h"
#include "dialogs/frmSolucion.h"
#include "outside/ColourNames.h"
#include "outside/MessageCatalogue.h"
#include "outside/ctlGrid.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"
#include "wordlist/ctlLista.h"

#include <QAccessible>
#include <QAccessibleTableCellInterface>
#include <QAccessibleTableInterface>
#include <QAccessibleTextInterface>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <memory>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

using Language = MessageCatalogue::Language;

// One event as the bridge would have been handed it.
struct Heard {
    QAccessible::Event type;
    QString name;        // of the object the event is about
    QString description; // at the time of the event
    QAccessible::State changed;
};
QList<Heard> heard;

void Listen(QAccessibleEvent* event) {
    QAccessibleInterface* about = event->accessibleInterface();
    Heard entry{event->type(), {}, {}, {}};
    if (about) {
        entry.name = about->text(QAccessible::Name);
        entry.description = about->text(QAccessible::Description);
    }
    if (event->type() == QAccessible::StateChanged)
        entry.changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    heard.append(entry);
}

QList<Heard> HeardOf(QAccessible::Event type) {
    QList<Heard> found;
    for (const Heard& entry : heard)
        if (entry.type == type)
            found.append(entry);
    return found;
}

QAccessibleInterface* Table(ctlGrid* grid) {
    return QAccessible::queryAccessibleInterface(grid);
}

// Cell of the table at the grid's (column, row), rows from 1.
QAccessibleInterface* Cell(ctlGrid* grid, int column, int row) {
    return Table(grid)->tableInterface()->cellAt(row - 1, column - 1);
}

// Letters with Ñ and accented vowels, 4 columns by 3 rows.
const QString kLetters = QStringLiteral("ÑÁÉÍÓÚÜABCDE");

void ShowFocused(QWidget& widget) {
    widget.resize(400, 300);
    widget.show();
    widget.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&widget));
    widget.setFocus();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;
    std::unique_ptr<StandInPerson> person;

    QString Text(int number) const { return MessageCatalogue::Text(number); }

private slots:
    // What a running bridge does for a screen reader: the platform's
    // accessibility is switched on and every event comes here instead.
    void initTestCase() {
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        platform->setActive(true);
        QVERIFY(QAccessible::isActive());
        QAccessible::installUpdateHandler(Listen);
    }
    void cleanupTestCase() { QAccessible::installUpdateHandler(nullptr); }

    void init() {
        MessageCatalogue::PinLanguage(Language::Spanish);
        home = std::make_unique<TestHome>();
        person = std::make_unique<StandInPerson>();
        home->WriteDataFile(PuzzleSection(1, "Fauna", 4, 3, kLetters, "UNO DOS TRES", "001006011") +
                            PuzzleSection(2, "Chica", 2, 1, "XY", "XY", "001"));
        heard.clear();
    }
    void cleanup() {
        person.reset();
        home.reset();
    }

    void boardIsATableOfItsLetters() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QAccessibleInterface* table = Table(board.Grid());
        QVERIFY(table && table->tableInterface());
        // Read letter by letter: a group of cells with a table's interface.
        QCOMPARE(table->role(), QAccessible::Grouping);
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Tablero del juego 1, Fauna"));
        QCOMPARE(table->text(QAccessible::Description),
                 QStringLiteral("4 columnas por 3 filas, 0 letras marcadas"));
        QCOMPARE(table->tableInterface()->columnCount(), 4);
        QCOMPARE(table->tableInterface()->rowCount(), 3);
        QCOMPARE(table->childCount(), 12);
        for (int row = 1; row <= 3; ++row)
            for (int column = 1; column <= 4; ++column) {
                QAccessibleInterface* cell = Cell(board.Grid(), column, row);
                QVERIFY(cell);
                QCOMPARE(cell->role(), QAccessible::Cell);
                QCOMPARE(cell->text(QAccessible::Name),
                         QString(kLetters[(row - 1) * 4 + column - 1]));
                QCOMPARE(cell->tableCellInterface()->rowIndex(), row - 1);
                QCOMPARE(cell->tableCellInterface()->columnIndex(), column - 1);
                QCOMPARE(table->indexOfChild(cell), (row - 1) * 4 + column - 1);
                QCOMPARE(table->child((row - 1) * 4 + column - 1), cell);
                QCOMPARE(cell->parent(), table);
            }
        QCOMPARE(Cell(board.Grid(), 3, 2)->text(QAccessible::Description),
                 QStringLiteral("sin marcar, fila 2, columna 3"));
        // A reader's pointer over a letter finds that letter's cell.
        board.resize(300, 200);
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        QAccessibleInterface* middle = Cell(board.Grid(), 3, 2);
        QCOMPARE(table->childAt(middle->rect().center().x(), middle->rect().center().y()), middle);
        QVERIFY(!table->childAt(-1000, -1000));

        // A smaller puzzle: the old cells are gone, the new ones read anew.
        OpenPuzzle(board, 2);
        QCOMPARE(table->childCount(), 2);
        QCOMPARE(Cell(board.Grid(), 2, 1)->text(QAccessible::Name), QStringLiteral("Y"));
        QVERIFY(!table->child(2));
        QVERIFY(!table->tableInterface()->cellAt(1, 0));
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Tablero del juego 2, Chica"));

        // A grid with no cells at all answers every question without failing.
        ctlGrid empty;
        QAccessibleInterface* none = Table(&empty);
        QCOMPARE(none->childCount(), 0);
        QVERIFY(!none->childAt(0, 0));
        QVERIFY(!none->focusChild() || none->focusChild() == none);
        QVERIFY(none->tableInterface()->selectedCells().isEmpty());
        QCOMPARE(none->tableInterface()->columnDescription(0), QString());
    }

    void markChangesTheCellAndIsHeard() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        ShowFocused(board);
        QAccessibleInterface* first = Cell(board.Grid(), 1, 1);
        QVERIFY(!first->state().checked);
        QVERIFY(first->state().checkable);
        heard.clear();

        QTest::keyClick(board.Grid(), Qt::Key_Space);
        QVERIFY(first->state().checked);
        QCOMPARE(first->text(QAccessible::Description),
                 QStringLiteral("marcada, fila 1, columna 1"));
        const QList<Heard> changes = HeardOf(QAccessible::StateChanged);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0].name, QStringLiteral("Ñ"));
        QVERIFY(changes[0].changed.checked);
        QCOMPARE(changes[0].description, QStringLiteral("marcada, fila 1, columna 1"));
        QCOMPARE(HeardOf(QAccessible::DescriptionChanged).size(), 1);
        QCOMPARE(Table(board.Grid())->text(QAccessible::Description),
                 QStringLiteral("4 columnas por 3 filas, 1 letras marcadas"));

        heard.clear();
        QTest::keyClick(board.Grid(), Qt::Key_Return);
        QVERIFY(!first->state().checked);
        QCOMPARE(HeardOf(QAccessible::StateChanged).size(), 1);
        QCOMPARE(HeardOf(QAccessible::StateChanged)[0].description,
                 QStringLiteral("sin marcar, fila 1, columna 1"));
    }

    void currentCellIsTheFocusedCellAndFollowsTheArrows() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        ShowFocused(board);
        QAccessibleInterface* table = Table(board.Grid());
        QCOMPARE(table->focusChild(), Cell(board.Grid(), 1, 1));
        // Entering the grid: the reader hears the board, then its current letter.
        QTRY_VERIFY(!HeardOf(QAccessible::Focus).isEmpty() &&
                    HeardOf(QAccessible::Focus).last().name == QString(kLetters[0]));
        const QList<Heard> entering = HeardOf(QAccessible::Focus);
        QVERIFY(entering.size() >= 2);
        QCOMPARE(entering[entering.size() - 2].name, table->text(QAccessible::Name));
        heard.clear();

        QTest::keyClick(board.Grid(), Qt::Key_Right);
        QTest::keyClick(board.Grid(), Qt::Key_Down);
        const QList<Heard> focus = HeardOf(QAccessible::Focus);
        QCOMPARE(focus.size(), 2);
        QCOMPARE(focus[0].name, QString(kLetters[1]));
        QCOMPARE(focus[1].name, QString(kLetters[5]));
        QCOMPARE(focus[1].description, QStringLiteral("sin marcar, fila 2, columna 2"));
        QAccessibleInterface* current = Cell(board.Grid(), 2, 2);
        QCOMPARE(table->focusChild(), current);
        QVERIFY(current->state().focused);
        QVERIFY(current->tableCellInterface()->isSelected());
        QVERIFY(!Cell(board.Grid(), 2, 1)->state().focused);
        QCOMPARE(table->tableInterface()->selectedCells(), QList<QAccessibleInterface*>{current});

        // A bump into the edge moves nothing and says nothing.
        heard.clear();
        QTest::keyClick(board.Grid(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(board.Grid(), Qt::Key_Up);
        QCOMPARE(HeardOf(QAccessible::Focus).size(), 1);
    }

    void pressingACellMarksItLikeAClick() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QAccessibleInterface* cell = Cell(board.Grid(), 4, 3);
        QVERIFY(cell->actionInterface());
        cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(cell->state().checked);
        QCOMPARE(board.Grid()->GetColumnSelected(), 4);
        QCOMPARE(board.Grid()->GetRowSelected(), 3);
    }

    // Reached by Tab, the list starts at its first word and says it, with
    // the change of a word told with the count.
    void wordListReachedByTabSaysItsFirstWord() {
        QWidget window;
        auto* before = new QPushButton(QStringLiteral("x"), &window);
        auto* list = new ctlLista(&window);
        list->setGeometry(0, 40, 200, 200);
        list->SetNumeroJuego(1);
        list->SetPalabras("UNO DOS TRES");
        list->Refresh();
        ShowFocused(window);
        before->setFocus();
        heard.clear();
        QTest::keyClick(before, Qt::Key_Tab);
        QVERIFY(list->Grid()->hasFocus());
        QCOMPARE(list->Grid()->GetRowSelected(), 1);
        QTRY_VERIFY(!HeardOf(QAccessible::Focus).isEmpty() &&
                    HeardOf(QAccessible::Focus).last().name == QStringLiteral("UNO"));
        heard.clear();
        QTest::keyClick(list->Grid(), Qt::Key_Space);
        QCOMPARE(HeardOf(QAccessible::StateChanged).size(), 1);
        QCOMPARE(HeardOf(QAccessible::DescriptionChanged).size(), 1);
        QCOMPARE(Table(list->Grid())->text(QAccessible::Description),
                 QStringLiteral("1 de 3 palabras tachadas"));
    }

    // The nearest of the named colours, as a person would say it.
    void coloursAreNamedAsAPersonWould_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("spanish");
        QTest::addColumn<QString>("english");
        QTest::newRow("white") << QColor(255, 255, 255) << "blanco"
                               << "white";
        QTest::newRow("grey marks") << QColor(190, 190, 190) << "gris claro"
                                    << "light grey";
        QTest::newRow("steel blue") << QColor(48, 140, 198) << "azul"
                                    << "blue";
        QTest::newRow("pure blue") << QColor(0, 0, 255) << "azul"
                                   << "blue";
        QTest::newRow("cyan") << QColor(0, 255, 255) << "turquesa"
                              << "turquoise";
        QTest::newRow("dark red") << QColor(120, 10, 10) << "granate"
                                  << "maroon";
        QTest::newRow("near black") << QColor(30, 30, 30) << "negro"
                                    << "black";
    }
    void coloursAreNamedAsAPersonWould() {
        QFETCH(QColor, colour);
        QFETCH(QString, spanish);
        QFETCH(QString, english);
        QCOMPARE(ColourNames::Nearest(colour), spanish);
        MessageCatalogue::PinLanguage(Language::English);
        QCOMPARE(ColourNames::Nearest(colour), english);
    }

    void wordListTellsCrossedOutWords() {
        ctlLista list;
        list.SetNumeroJuego(1);
        list.SetPalabras("UNO DOS TRES");
        list.Refresh();
        QAccessibleInterface* table = Table(list.Grid());
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Lista de palabras"));
        QCOMPARE(table->tableInterface()->rowCount(), 3);
        QCOMPARE(table->childCount(), 4); // the heading too
        QCOMPARE(table->child(0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(table->child(0)->text(QAccessible::Name), Text(10200));
        QCOMPARE(table->tableInterface()->columnDescription(0), Text(10200));
        QAccessibleInterface* dos = Cell(list.Grid(), 1, 2);
        QCOMPARE(dos->text(QAccessible::Name), QStringLiteral("DOS"));
        QCOMPARE(dos->tableCellInterface()->columnHeaderCells(),
                 QList<QAccessibleInterface*>{table->child(0)});
        QCOMPARE(dos->text(QAccessible::Description), QStringLiteral("sin tachar, palabra 2"));
        heard.clear();

        list.SeleccionarPalabra(1, 2);
        QVERIFY(dos->state().checked);
        QCOMPARE(dos->text(QAccessible::Description), QStringLiteral("tachada, palabra 2"));
        QCOMPARE(HeardOf(QAccessible::StateChanged).size(), 1);
        QCOMPARE(HeardOf(QAccessible::StateChanged)[0].name, QStringLiteral("DOS"));
        QCOMPARE(table->text(QAccessible::Description), QStringLiteral("1 de 3 palabras tachadas"));
        QVERIFY(!Cell(list.Grid(), 1, 1)->state().checked);

        list.SeleccionarPalabra(1, 2);
        QVERIFY(!dos->state().checked);
        QCOMPARE(table->text(QAccessible::Description), QStringLiteral("0 de 3 palabras tachadas"));

        // Without its heading the list's first child is its first word.
        list.Grid()->SetHeaderColumns(false);
        QCOMPARE(table->childCount(), 3);
        QCOMPARE(table->child(0)->text(QAccessible::Name), QStringLiteral("UNO"));
    }

    void chooserListsTheTitles() {
        ctlCuadricula board;
        QStringList titles;
        QString name, description;
        ModalDriver driver([&](QWidget* chooser) {
            QAccessibleInterface* table = Table(chooser->findChild<ctlGrid*>("ctlGridJuegos"));
            name = table->text(QAccessible::Name);
            description = table->text(QAccessible::Description);
            for (int row = 0; row < table->tableInterface()->rowCount(); ++row)
                titles << table->tableInterface()->cellAt(row, 0)->text(QAccessible::Name);
            static_cast<QDialog*>(chooser)->reject();
        });
        board.ShowGames();
        QVERIFY(driver.Acted());
        QCOMPARE(titles, (QStringList{"1 - Fauna", "2 - Chica"}));
        QCOMPARE(name, MessageCatalogue::Text(11210));
        QCOMPARE(description, MessageCatalogue::Text(11211).arg(2));
    }

    void solutionReadsLikeTheBoard() {
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        QString name, marked, blank, blankDescription;
        ModalDriver driver([&](QWidget* window) {
            ctlGrid* grid = static_cast<frmSolucion*>(window)->ctlSolucion()->Grid();
            name = Table(grid)->text(QAccessible::Name);
            marked = Cell(grid, 2, 2)->text(QAccessible::Name) + " / " +
                     Cell(grid, 2, 2)->text(QAccessible::Description);
            blank = Cell(grid, 2, 1)->text(QAccessible::Name);
            blankDescription = Cell(grid, 2, 1)->text(QAccessible::Description);
            static_cast<QDialog*>(window)->reject();
        });
        board.ShowSolution();
        QVERIFY(driver.Acted());
        QCOMPARE(name, QStringLiteral("Solución del juego 1, Fauna"));
        QCOMPARE(marked, QStringLiteral("Ú / letra de la solución, fila 2, columna 2"));
        QCOMPARE(blank, QString());
        QCOMPARE(blankDescription, QStringLiteral("vacía, fila 1, columna 2"));
    }

    void englishToo() {
        MessageCatalogue::PinLanguage(Language::English);
        ctlCuadricula board;
        OpenPuzzle(board, 1);
        emit board.Grid()->CellClick(1, 1);
        QCOMPARE(Table(board.Grid())->text(QAccessible::Name),
                 QStringLiteral("Board of puzzle 1, Fauna"));
        QCOMPARE(Table(board.Grid())->text(QAccessible::Description),
                 QStringLiteral("4 columns by 3 rows, 1 letters marked"));
        QCOMPARE(Cell(board.Grid(), 1, 1)->text(QAccessible::Description),
                 QStringLiteral("marked, row 1, column 1"));
        ctlLista list;
        list.SetPalabras("UNO DOS");
        list.Refresh();
        list.SeleccionarPalabra(1, 1);
        QCOMPARE(Cell(list.Grid(), 1, 1)->text(QAccessible::Description),
                 QStringLiteral("crossed out, word 1"));
        QCOMPARE(Table(list.Grid())->text(QAccessible::Description),
                 QStringLiteral("1 of 2 words crossed out"));
    }

    void settingsSwatchesSayTheirColourAndFont() {
        ctlCuadricula board;
        QString swatch, preview, button, buttonRow, picture;
        QString swatchAfter;
        ModalDriver driver([&](QWidget* window) {
            auto* dialog = static_cast<frmConfiguracion*>(window);
            const auto name = [](QWidget* widget) {
                return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            };
            dialog->SetlblColoresBackColor(1, 0x0000FF); // red, as Windows writes it
            swatch = name(dialog->lblColores(1));
            FontObject font = dialog->lblFuenteFont();
            font.SetName("DejaVu Serif");
            font.SetSize(20);
            font.SetBold(true);
            dialog->SetlblFuenteFont(font);
            dialog->SetlblFuenteForeColor(0x00FF00);
            preview = name(dialog->lblFuente());
            button = name(dialog->cmdColores(1));
            buttonRow = QAccessible::queryAccessibleInterface(dialog->cmdColores(1))
                            ->text(QAccessible::Description);
            picture = name(dialog->cmdAbrir());
            dialog->reject();
        });
        board.ShowConfiguration();
        QVERIFY(driver.Acted());
        QCOMPARE(swatch, QStringLiteral("Marcas, rojo, rojo 255, verde 0, azul 0"));
        QCOMPARE(preview, QStringLiteral("Letras, DejaVu Serif, 20 puntos, negrita, color verde, "
                                         "rojo 0, verde 255, azul 0"));
        QCOMPARE(button, Text(10708));
        QCOMPARE(buttonRow, QStringLiteral("Marcas, rojo"));
        QCOMPARE(picture, Text(10710));
    }

    void helpAndAboutTextsAreReadableText_data() {
        QTest::addColumn<bool>("help");
        QTest::addColumn<int>("heading");
        QTest::addColumn<int>("body");
        QTest::newRow("help") << true << 10800 << 11003;
        QTest::newRow("about") << false << 10900 << 11101;
    }
    void helpAndAboutTextsAreReadableText() {
        QFETCH(bool, help);
        QFETCH(int, heading);
        QFETCH(int, body);
        ctlCuadricula board;
        QString name, title, text;
        ModalDriver driver([&](QWidget* window) {
            title = window->windowTitle();
            auto* box = window->findChild<TextBox*>(help ? "txtTexto" : "txtCopyright");
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box);
            name = read->text(QAccessible::Name);
            QAccessibleTextInterface* textual = read->textInterface();
            if (textual)
                text = textual->text(0, textual->characterCount());
            static_cast<QDialog*>(window)->reject();
        });
        help ? board.ShowHelp() : board.ShowAbout();
        QVERIFY(driver.Acted());
        QVERIFY(title.startsWith(Text(heading)));
        QCOMPARE(name, title);
        QVERIFY2(text.contains(Text(body).left(40)), qPrintable(text.left(80)));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
