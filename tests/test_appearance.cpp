#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QStyle>
#include <QTest>
#include <memory>

namespace {
QPalette Palette(const char* board, const char* letters, const char* face) {
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Base, QColor(board));
    palette.setColor(QPalette::Text, QColor(letters));
    palette.setColor(QPalette::Button, QColor(face));
    return palette;
}
} // namespace

// The board with its reading and writing of the settings within reach.
class BoardSteps : public ctlCuadricula {
public:
    using ctlCuadricula::LoadConfiguration;
    using ctlCuadricula::SaveConfiguration;
};

// How the board reads and writes its ten appearance values.
class AppearanceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

    static void Reload(BoardSteps& board) { board.LoadConfiguration(); }
    static void Store(BoardSteps& board) { board.SaveConfiguration(); }

private slots:
    void init() {
        home = std::make_unique<TestHome>();
        home->WriteDataFile(PuzzleSection(1, "Uno", 2, 2, "ABCD", "AB", "001002"));
    }
    void cleanup() {
        QApplication::setPalette(QApplication::style()->standardPalette());
        home.reset();
    }

    // A marked cell stands out from the board (1.5:1 at least) while its
    // letter stays readable (4.5:1), on light and dark desktops alike; a
    // button face that stands out already is kept.
    void markedColourStandsOutOnEveryPalette_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("faceKept");
        QTest::newRow("Qt's light") << QApplication::style()->standardPalette() << false;
        QTest::newRow("dark") << Palette("#1e1e1e", "#ffffff", "#353535") << false;
        QTest::newRow("dim dark") << Palette("#2b2b2b", "#dcdcdc", "#3c3c3c") << false;
        QTest::newRow("warm light") << Palette("#fffdf5", "#202020", "#f6f3ea") << false;
        QTest::newRow("face stands out") << Palette("#ffffff", "#000000", "#a0a0a0") << true;
    }
    void markedColourStandsOutOnEveryPalette() {
        QFETCH(QPalette, palette);
        QFETCH(bool, faceKept);
        QApplication::setPalette(palette);
        const WindowServices windows;
        const QColor marked = ColourFromWindows(windows.GetSystemColor(15));
        const QColor board = ColourFromWindows(windows.GetSystemColor(5));
        const QColor letters = ColourFromWindows(windows.GetSystemColor(8));
        const QString seen = QStringLiteral("%1 on %2 with %3: %4 and %5")
                                 .arg(marked.name(), board.name(), letters.name())
                                 .arg(ContrastRatio(marked, board))
                                 .arg(ContrastRatio(marked, letters));
        QVERIFY2(ContrastRatio(marked, board) >= 1.5, qPrintable(seen));
        QVERIFY2(ContrastRatio(marked, letters) >= 4.5, qPrintable(seen));
        QCOMPARE(marked == palette.color(QPalette::Button), faceKept);
        // The grid lines show on the board; where the mid tone shows, it is kept.
        const QColor lines = ColourFromWindows(windows.GetSystemColor(10));
        QVERIFY2(ContrastRatio(lines, board) >= 1.5, qPrintable(lines.name()));
        const QColor mid = palette.color(QPalette::Mid);
        QCOMPARE(ColourToWindows(lines) == ColourToWindows(mid), ContrastRatio(mid, board) >= 1.5);
    }

    // A grid's colours that were never set follow the desktop's palette as
    // it changes; a colour set by its owner stays.
    void gridDefaultsFollowThePalette() {
        QWidget window;
        ctlGrid& grid = *new ctlGrid(&window);
        grid.SetLineColor(0x123456);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setPalette(Palette("#1e1e1e", "#ffffff", "#353535"));
        QCoreApplication::processEvents(); // the change reaches the widgets later
        const WindowServices windows;
        QCOMPARE(grid.BackColor(), ColourToWindows(QColor("#1e1e1e")));
        QCOMPARE(grid.TextColor(), ColourToWindows(QColor("#ffffff")));
        QCOMPARE(grid.ActiveCellColor(), windows.GetSystemColor(13));
        QCOMPARE(grid.LineColor(), 0x123456);
    }

    void colourConversion_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("colour");
        QTest::newRow("red") << "255" << 255;
        QTest::newRow("half goes to even, down") << "12.5" << 12;
        QTest::newRow("half goes to even, up") << "13.5" << 14;
        QTest::newRow("minus one") << "-1" << -1;
        QTest::newRow("empty text") << "" << 0;
        QTest::newRow("leading blanks and sign") << "  +4096" << 4096;
        QTest::newRow("number then text") << "77abc" << 77;
        QTest::newRow("no number") << "abc" << 0;
        QTest::newRow("no hexadecimal") << "&HFF" << 0;
        QTest::newRow("blank inside stops") << "12 34" << 12;
        QTest::newRow("comma is no separator") << "3,7" << 3;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
    }
    void colourConversion() {
        QFETCH(QString, stored);
        QFETCH(int, colour);
        for (const char* name :
             {"ColorFondo", "ColorSel", "ColorCelAct", "ColorLineas", "FontColor"})
            home->Store(0, name, stored);
        BoardSteps board;
        Reload(board);
        QCOMPARE(board.BackgroundColour(), colour);
        // -1 means "not marked": a marked colour of -1 is the default one.
        QCOMPARE(board.MarkedColour(), colour == -1 ? WindowServices().GetSystemColor(15) : colour);
        QCOMPARE(board.ActiveCellColour(), colour);
        QCOMPARE(board.LineColour(), colour);
        QCOMPARE(board.TextColour(), colour);
    }

    // A colour that does not convert costs that colour only: the default
    // stands in, the player hears once which value and text, and a choice
    // still opens the puzzle.
    void colourOutside32BitsFallsBackToTheDefault() {
        StandInPerson person;
        home->Store(0, "ColorFondo", "1");
        home->Store(0, "ColorSel", "4294967295");
        home->Store(0, "ColorCelAct", "7");
        home->Store(0, "FontColor", "-99999999999");
        BoardSteps board;
        Reload(board);
        const WindowServices windows;
        QCOMPARE(board.BackgroundColour(), 1);
        QCOMPARE(board.MarkedColour(), windows.GetSystemColor(15));
        QCOMPARE(board.ActiveCellColour(), 7);
        QCOMPARE(board.TextColour(), windows.GetSystemColor(8));
        QCOMPARE(person.Count("error"), 2);
        QVERIFY(person.asked[0].text.contains("ColorSel"));
        QVERIFY(person.asked[0].text.contains("4294967295"));
        QVERIFY(person.asked[0].text.startsWith("Error 6"));
        QVERIFY(person.asked[1].text.contains("FontColor"));

        // Told once: neither another load nor a board opening a puzzle tells again.
        OpenPuzzle(board, 1);
        ctlCuadricula another;
        OpenPuzzle(another, 1);
        QCOMPARE(person.Count("error"), 2);
        emit another.Grid()->CellClick(1, 1);
        QCOMPARE(another.Grid()->CellBackColor(1, 1), windows.GetSystemColor(15));
    }

    // A stored size past what the settings dialog offers would make a
    // picture stretched behind the letters cost gigabytes: like a colour that
    // does not convert, it is told once and the board's own size stands in.
    void aFontSizePastTheOfferedOnesIsToldOnceAndDefaulted() {
        StandInPerson person;
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString path = home->ProgramFolder() + QStringLiteral("/fondo.png");
        QVERIFY(picture.save(path));
        home->Store(0, "ImageFile", path);
        home->Store(0, "FontSize", "2048");
        ctlCuadricula board;
        const double own = board.BoardFont()->Size();
        OpenPuzzle(board, 1);
        QCOMPARE(board.BoardFont()->Size(), own);
        QCOMPARE(person.Count("error"), 1);
        QCOMPARE(person.asked[0].text.section('\n', 3),
                 MessageCatalogue::Text(11521).arg("2048").arg(72));
        QVERIFY(!board.grab().isNull());
        ctlCuadricula another;
        OpenPuzzle(another, 1);
        QCOMPARE(person.Count("error"), 1);
        home->Store(0, "FontSize", "72");
        OpenPuzzle(another, 1);
        QCOMPARE(another.BoardFont()->Size(), 72.0);
    }

    void flags_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("flag");
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("2") << "2" << true;
        QTest::newRow("0.5") << "0.5" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("text") << "True" << false;
    }
    void flags() {
        QFETCH(QString, stored);
        QFETCH(bool, flag);
        home->Store(0, "FontBold", stored);
        home->Store(0, "FontItalic", stored);
        BoardSteps board;
        board.BoardFont()->SetBold(!flag);
        board.BoardFont()->SetItalic(!flag);
        Reload(board);
        QCOMPARE(board.BoardFont()->Bold(), flag);
        QCOMPARE(board.BoardFont()->Italic(), flag);
    }

    void fontSizeAndName_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("expectedSize");
        QTest::addColumn<QString>("expectedName");
        QTest::newRow("14 points") << "14"
                                   << "DejaVu Serif" << 14.0 << "DejaVu Serif";
        QTest::newRow("zero keeps the size") << "0"
                                             << "" << 11.0 << "Keep";
        QTest::newRow("negative keeps the size") << "-3"
                                                 << "" << 11.0 << "Keep";
        QTest::newRow("no number keeps the size") << "grande"
                                                  << "" << 11.0 << "Keep";
        QTest::newRow("four decimals") << "8.123456"
                                       << "" << 8.1235 << "Keep";
        QTest::newRow("name handed on unchanged") << ""
                                                  << " Rara  Fuente " << 11.0 << " Rara  Fuente ";
    }
    void fontSizeAndName() {
        QFETCH(QString, size);
        QFETCH(QString, name);
        QFETCH(double, expectedSize);
        QFETCH(QString, expectedName);
        home->Store(0, "FontSize", size);
        home->Store(0, "FontName", name);
        BoardSteps board;
        board.BoardFont()->SetSize(11);
        board.BoardFont()->SetName("Keep");
        Reload(board);
        QCOMPARE(board.BoardFont()->Size(), expectedSize);
        QCOMPARE(board.BoardFont()->Name(), expectedName);
    }

    void emptyStoredTextsGiveBlackAndNoPicture() {
        for (const char* name :
             {"ColorFondo", "ColorSel", "ColorCelAct", "ColorLineas", "FontColor", "ImageFile",
              "FontBold", "FontItalic", "FontSize", "FontName"})
            home->Store(0, name, "");
        BoardSteps board;
        board.BoardFont()->SetSize(12);
        board.BoardFont()->SetName("Keep");
        board.BoardFont()->SetBold(true);
        Reload(board);
        QCOMPARE(board.BackgroundColour(), 0);
        QCOMPARE(board.TextColour(), 0);
        QCOMPARE(board.PictureFile(), QString());
        QVERIFY(!board.BoardFont()->Bold());
        QCOMPARE(board.BoardFont()->Size(), 12.0);
        QCOMPARE(board.BoardFont()->Name(), QStringLiteral("Keep"));
    }

    // A player who never saved any settings sees the system's colours, not
    // a black board.
    void neverStoredValuesKeepTheDefaults() {
        ctlCuadricula board;
        const WindowServices windows;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.Refresh(true);
        QCOMPARE(board.BackgroundColour(), windows.GetSystemColor(5));
        QCOMPARE(board.MarkedColour(), windows.GetSystemColor(15));
        QCOMPARE(board.ActiveCellColour(), windows.GetSystemColor(13));
        QCOMPARE(board.LineColour(), windows.GetSystemColor(10));
        QCOMPARE(board.TextColour(), windows.GetSystemColor(8));
        QCOMPARE(board.Grid()->BackColor(), windows.GetSystemColor(5));
    }

    void saveAndLoadRoundTrip() {
        home->Store(0, "ColorFondo", "16777215");
        home->Store(0, "ColorSel", "65280");
        home->Store(0, "ColorCelAct", "255");
        home->Store(0, "ColorLineas", "8421504");
        home->Store(0, "FontColor", "0");
        home->Store(0, "ImageFile", "/tmp/fondo.png");
        home->Store(0, "FontBold", "-1");
        home->Store(0, "FontItalic", "0");
        home->Store(0, "FontSize", "8.25");
        home->Store(0, "FontName", "DejaVu Sans");
        BoardSteps first;
        Reload(first);
        Store(first);
        QCOMPARE(home->Stored(0, "FontBold"), QStringLiteral("-1"));
        QCOMPARE(home->Stored(0, "FontItalic"), QStringLiteral("0"));
        QCOMPARE(home->Stored(0, "FontSize"), QStringLiteral("8.25"));
        QCOMPARE(home->Stored(0, "ColorSel"), QStringLiteral("65280"));

        BoardSteps second;
        Reload(second);
        QCOMPARE(second.BackgroundColour(), 16777215);
        QCOMPARE(second.MarkedColour(), 65280);
        QCOMPARE(second.ActiveCellColour(), 255);
        QCOMPARE(second.LineColour(), 8421504);
        QCOMPARE(second.TextColour(), 0);
        QCOMPARE(second.PictureFile(), QStringLiteral("/tmp/fondo.png"));
        QVERIFY(second.BoardFont()->Bold());
        QVERIFY(!second.BoardFont()->Italic());
        QCOMPARE(second.BoardFont()->Size(), 8.25);
        QCOMPARE(second.BoardFont()->Name(), QStringLiteral("DejaVu Sans"));
    }

    void underlineAndStrikethroughSurviveALoad() {
        home->Store(0, "FontBold", "0");
        home->Store(0, "FontSize", "20");
        BoardSteps board;
        board.BoardFont()->SetUnderline(true);
        board.BoardFont()->SetStrikethrough(true);
        Reload(board);
        Store(board);
        Reload(board);
        QVERIFY(board.BoardFont()->Underline());
        QVERIFY(board.BoardFont()->Strikethrough());
        QCOMPARE(board.BoardFont()->Size(), 20.0);
    }

    void refreshPushesTheAppearanceToTheGrid() {
        home->Store(0, "ColorFondo", "255");
        home->Store(0, "ColorCelAct", "65280");
        home->Store(0, "ColorLineas", "16711680");
        home->Store(0, "FontColor", "8421504");
        home->Store(0, "FontSize", "20");
        ctlCuadricula board;
        board.SetNumeroJuego(1);
        board.LoadPuzzle();
        board.Refresh(true);
        const int smallWidth = board.GetGridWidth();
        QCOMPARE(board.Grid()->BackColor(), 255);
        QCOMPARE(board.Grid()->ActiveCellColor(), 65280);
        QCOMPARE(board.Grid()->LineColor(), 16711680);
        QCOMPARE(board.Grid()->TextColor(), 8421504);
        QCOMPARE(board.Grid()->Font(), board.BoardFont()); // the same object

        home->Store(0, "FontSize", "40");
        board.Refresh(true);
        QVERIFY(board.GetGridWidth() > smallWidth);
    }
};

QTEST_MAIN(AppearanceTest)
#include "test_appearance.moc"
