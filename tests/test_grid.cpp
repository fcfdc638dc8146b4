#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/WindowHandle.h"
#include "outside/ctlGrid.h"
#include "support/PaintCounter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>

namespace {

FontRef Font(double size, const QString& name = QStringLiteral("DejaVu Sans")) {
    FontObject font;
    font.SetName(name);
    font.SetSize(size);
    return MakeFont(font);
}

// The set-up every caller of the grid goes through, then one letter a cell.
void BuildLetters(ctlGrid& grid, int columns, int rows, bool header = false) {
    grid.SetRedraw(false);
    grid.Clear();
    grid.SetBorderStyle(2);
    grid.SetHeaderColumns(header);
    grid.SetGridLines(true);
    grid.SetDrawFocusRectangle(false);
    grid.SetEnabled(true);
    grid.SetScrollBarStyle(2);
    grid.ArmarGrilla(columns, rows);
    if (header)
        for (int column = 1; column <= columns; ++column)
            grid.CellDetails(column, 0, QStringLiteral("H%1").arg(column), CellFormat::Centred);
    int index = 0;
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column)
            grid.CellDetails(column, row, QString(QChar('A' + index++ % 26)), CellFormat::Centred);
    grid.ActualizarFont();
    grid.SetRedraw(true);
}

// Row height of a grid whose header (if any) uses the grid's own font.
int RowHeight(const ctlGrid& grid, bool header) {
    return grid.GetGridHeight() / (grid.GetRowCount() + (header ? 1 : 0));
}

// Centre of a cell in viewport coordinates, worked out from the sizes the
// grid reports rather than from its own drawing.
QPoint CellCentre(const ctlGrid& grid, int column, int row, bool header) {
    int left = 0;
    for (int c = 1; c < column; ++c)
        left += grid.ColumnWidth(c);
    const int height = RowHeight(grid, header);
    const int top = row == 0 ? 0 : (header ? height : 0) + (row - 1) * height;
    const int scrolledTop = row == 0 ? top : top - grid.verticalScrollBar()->value();
    return QPoint(left + grid.ColumnWidth(column) / 2 - grid.horizontalScrollBar()->value(),
                  scrolledTop + height / 2);
}

QColor Windows(qint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QColor PixelAt(ctlGrid& grid, QPoint at) {
    const QImage shot = grid.viewport()->grab().toImage();
    return QColor(shot.pixel(at));
}

// Records what each paint of a widget had to repaint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            regions.append(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};

QRect CellBox(const ctlGrid& grid, int column, int row) {
    const QPoint centre = CellCentre(grid, column, row, false);
    const int width = grid.ColumnWidth(column);
    const int height = RowHeight(grid, false);
    return QRect(centre.x() - width / 2, centre.y() - height / 2, width, height);
}

void ShowSized(ctlGrid& grid, int width, int height) {
    grid.resize(width, height);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clickReportsTheCell_data();
    void clickReportsTheCell();
    void keysReachTheCurrentCell_data();
    void keysReachTheCurrentCell();
    void enterAndEscapeStillReachTheDialog();
    void arrowsHomeEndMoveTheCurrentCell_data();
    void arrowsHomeEndMoveTheCurrentCell();
    void pageKeysMoveByAScreenAndKeepTheCellInView();
    void tabLeavesTheGrid();

    void backColourReadsBackUnchanged_data();
    void backColourReadsBackUnchanged();
    void newGridHasNoOwnColours();
    void wrongAddressRaisesNine_data();
    void wrongAddressRaisesNine();
    void impossibleSizesAreRefused();
    void clearRemovesEveryCell();
    void textDataAndFontRoundTrip();

    void redrawOffPaintsNothingAndOnPaintsOnce();
    void oneCellChangeRepaintsOnlyThatCell();
    void sizesFollowTheFont_data();
    void sizesFollowTheFont();
    void columnsFitTheirWidestText();
    void sizesAreKnownWhilePaintingIsOff();
    void sharedFontChangesShowAfterActualizarFont();
    void gridSizeWithBorderNeedsNoScrollBars();
    void headerRowIsRowZero();
    void handleIsStable();

    void paintsColoursWhereTheyBelong();
    void strikeThroughAndUnderlineAreDrawn();
    void barsGoAwayWhenTheGridFitsAgain();
    void pictureShowsBehindTheCells();

private:
    std::unique_ptr<ctlGrid> grid_;
};

void GridTest::init() {
    grid_ = std::make_unique<ctlGrid>();
    grid_->SetFont(Font(12));
}

void GridTest::cleanup() {
    grid_.reset();
}

void GridTest::clickReportsTheCell_data() {
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("first cell") << 5 << 4 << false << 1 << 1;
    QTest::newRow("last cell") << 5 << 4 << false << 5 << 4;
    QTest::newRow("middle") << 5 << 4 << false << 3 << 2;
    QTest::newRow("list row") << 1 << 6 << true << 1 << 4;
    QTest::newRow("header") << 3 << 3 << true << 2 << 0;
}

void GridTest::clickReportsTheCell() {
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(bool, header);
    QFETCH(int, column);
    QFETCH(int, row);
    ctlGrid& grid = *grid_;
    BuildLetters(grid, columns, rows, header);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    QSignalSpy clicks(&grid, &ctlGrid::CellClick);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, column, row, header));

    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), column);
    QCOMPARE(clicks.at(0).at(1).toInt(), row);
    QCOMPARE(grid.GetRowSelected(), row); // a header click selects nothing
    if (row > 0)
        QCOMPARE(grid.GetColumnSelected(), column);
    QVERIFY(grid.hasFocus());
}

void GridTest::keysReachTheCurrentCell_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << 32;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("small a") << int(Qt::Key_A) << 0 << int('A');
    QTest::newRow("capital z") << int(Qt::Key_Z) << int(Qt::ShiftModifier) << int('Z');
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << int('7');
    QTest::newRow("n with tilde") << int(Qt::Key_Ntilde) << 0 << 0xD1;
}

void GridTest::keysReachTheCurrentCell() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 4, 3);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    grid.SelectCell(3, 2);
    grid.setFocus();
    QList<QList<int>> seen;
    connect(&grid, &ctlGrid::CellKeyPress, this, [&](qint32 column, qint32 row, qint16& pressed) {
        seen.append({column, row, pressed});
        pressed = 0; // a handler may change it; the grid must cope
    });

    QTest::keyClick(&grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.at(0), (QList<int>{3, 2, code}));
    QCOMPARE(grid.GetRowSelected(), 2);
    QCOMPARE(grid.GetColumnSelected(), 3);
}

void GridTest::enterAndEscapeStillReachTheDialog() {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* grid = new ctlGrid(&dialog);
        layout->addWidget(grid);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        BuildLetters(*grid, 2, 2);
        grid->SelectCell(1, 1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        grid->setFocus();
        QSignalSpy keys(grid, &ctlGrid::CellKeyPress);

        QTest::keyClick(grid, key);

        QCOMPARE(keys.count(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
    }
}

void GridTest::arrowsHomeEndMoveTheCurrentCell_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("to");
    // 5 columns, 4 rows; points are (column, row).
    QTest::newRow("right") << QPoint(2, 2) << int(Qt::Key_Right) << 0 << QPoint(3, 2);
    QTest::newRow("left") << QPoint(2, 2) << int(Qt::Key_Left) << 0 << QPoint(1, 2);
    QTest::newRow("down") << QPoint(2, 2) << int(Qt::Key_Down) << 0 << QPoint(2, 3);
    QTest::newRow("up") << QPoint(2, 2) << int(Qt::Key_Up) << 0 << QPoint(2, 1);
    QTest::newRow("left edge") << QPoint(1, 3) << int(Qt::Key_Left) << 0 << QPoint(1, 3);
    QTest::newRow("right edge") << QPoint(5, 3) << int(Qt::Key_Right) << 0 << QPoint(5, 3);
    QTest::newRow("top edge") << QPoint(4, 1) << int(Qt::Key_Up) << 0 << QPoint(4, 1);
    QTest::newRow("bottom edge") << QPoint(4, 4) << int(Qt::Key_Down) << 0 << QPoint(4, 4);
    QTest::newRow("home") << QPoint(4, 3) << int(Qt::Key_Home) << 0 << QPoint(1, 3);
    QTest::newRow("home in column 1") << QPoint(1, 3) << int(Qt::Key_Home) << 0 << QPoint(1, 1);
    QTest::newRow("end") << QPoint(2, 3) << int(Qt::Key_End) << 0 << QPoint(5, 3);
    QTest::newRow("end in last column") << QPoint(5, 2) << int(Qt::Key_End) << 0 << QPoint(5, 4);
    QTest::newRow("ctrl home") << QPoint(4, 3) << int(Qt::Key_Home) << int(Qt::ControlModifier)
                               << QPoint(1, 1);
    QTest::newRow("ctrl end") << QPoint(2, 2) << int(Qt::Key_End) << int(Qt::ControlModifier)
                              << QPoint(5, 4);
    QTest::newRow("nothing current") << QPoint(0, 0) << int(Qt::Key_Down) << 0 << QPoint(1, 1);
}

void GridTest::arrowsHomeEndMoveTheCurrentCell() {
    QFETCH(QPoint, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, to);
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 5, 4);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    if (from.y() > 0)
        grid.SelectCell(from.x(), from.y());
    grid.setFocus();
    QSignalSpy keys(&grid, &ctlGrid::CellKeyPress);

    QTest::keyClick(&grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(QPoint(grid.GetColumnSelected(), grid.GetRowSelected()), to);
    QCOMPARE(keys.count(), 0);
}

void GridTest::pageKeysMoveByAScreenAndKeepTheCellInView() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 3, 60);
    const int rowHeight = RowHeight(grid, false);
    ShowSized(grid, grid.GetGridWidth(true) + 30, 10 * rowHeight);
    grid.SelectCell(2, 1);
    grid.setFocus();
    auto inView = [&] {
        const QPoint centre =
            CellCentre(grid, grid.GetColumnSelected(), grid.GetRowSelected(), false);
        return grid.viewport()
            ->rect()
            .adjusted(0, rowHeight / 2, 0, -rowHeight / 2)
            .contains(centre);
    };

    QTest::keyClick(&grid, Qt::Key_PageDown);
    const int afterOnePage = grid.GetRowSelected();
    QVERIFY2(afterOnePage > 2, qPrintable(QString::number(afterOnePage)));
    QVERIFY(inView());
    QTest::keyClick(&grid, Qt::Key_PageDown);
    QCOMPARE(grid.GetRowSelected(), 1 + 2 * (afterOnePage - 1));
    QVERIFY(grid.verticalScrollBar()->value() > 0);
    QVERIFY(inView());
    QTest::keyClick(&grid, Qt::Key_PageUp);
    QCOMPARE(grid.GetRowSelected(), afterOnePage);
    QVERIFY(inView());

    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid.GetRowSelected(), 60);
    QCOMPARE(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    QVERIFY(inView());
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(&grid, Qt::Key_PageDown);
    QCOMPARE(grid.GetRowSelected(), 60);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(grid.GetRowSelected(), 1);
    QCOMPARE(grid.verticalScrollBar()->value(), 0);

    // A click after scrolling still names the cell under the pointer.
    QTest::keyClick(&grid, Qt::Key_PageDown);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    QSignalSpy clicks(&grid, &ctlGrid::CellClick);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 3, 20, false));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(1).toInt(), 20);
}

void GridTest::tabLeavesTheGrid() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* grid = new ctlGrid(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(grid);
    layout->addWidget(after);
    BuildLetters(*grid, 3, 3);
    grid->SelectCell(1, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    grid->setFocus();
    QVERIFY(grid->hasFocus());
    QSignalSpy keys(grid, &ctlGrid::CellKeyPress);

    QTest::keyClick(grid, Qt::Key_Tab);

    QVERIFY(after->hasFocus());
    QCOMPARE(keys.count(), 0);
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(grid->hasFocus());
}

void GridTest::backColourReadsBackUnchanged_data() {
    QTest::addColumn<qint32>("colour");
    QTest::newRow("none") << qint32(-1);
    QTest::newRow("black") << qint32(0);
    QTest::newRow("white") << qint32(0xFFFFFF);
    QTest::newRow("button face") << qint32(0xF0F0F0);
    QTest::newRow("odd") << qint32(0x123457);
    QTest::newRow("high byte set") << qint32(0x7F00FF01);
    QTest::newRow("system colour") << qint32(0x8000000F);
    QTest::newRow("minus two") << qint32(-2);
}

void GridTest::backColourReadsBackUnchanged() {
    QFETCH(qint32, colour);
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 3, 2);
    grid.SetCellBackColor(2, 2, 0x00FF00);
    grid.SetCellBackColor(2, 2, colour);
    QCOMPARE(grid.CellBackColor(2, 2), colour);
    QCOMPARE(grid.CellBackColor(1, 2), -1);
    QCOMPARE(grid.CellBackColor(3, 2), -1);
}

void GridTest::newGridHasNoOwnColours() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 4, 4);
    for (int row = 1; row <= 4; ++row)
        grid.SetCellBackColor(row, row, 0x0000FF);
    grid.ArmarGrilla(4, 5); // even without Clear first
    for (int row = 1; row <= 5; ++row)
        for (int column = 1; column <= 4; ++column)
            QCOMPARE(grid.CellBackColor(column, row), -1);
}

void GridTest::wrongAddressRaisesNine_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QPoint>("cell");
    const QStringList members = {
        "CellDetails", "CellText", "SetCellText", "CellBackColor", "SetCellBackColor",  "CellFont",
        "SetCellFont", "CellData", "CellActive",  "SelectCell",    "ChangeCellSelected"};
    // The grid has 4 columns and 3 rows, no header.
    const QList<QPoint> cells = {QPoint(0, 1), QPoint(5, 1),  QPoint(1, 0),
                                 QPoint(1, 4), QPoint(-1, 2), QPoint(2, -7)};
    for (const QString& member : members)
        for (const QPoint& cell : cells)
            QTest::newRow(
                qPrintable(QStringLiteral("%1 (%2,%3)").arg(member).arg(cell.x()).arg(cell.y())))
                << member << cell;
    QTest::newRow("ColumnWidth 0") << "ColumnWidth" << QPoint(0, 1);
    QTest::newRow("ColumnWidth 5") << "ColumnWidth" << QPoint(5, 1);
    QTest::newRow("SetColumnWidth 5") << "SetColumnWidth" << QPoint(5, 1);
}

void GridTest::wrongAddressRaisesNine() {
    QFETCH(QString, member);
    QFETCH(QPoint, cell);
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 4, 3);
    const int c = cell.x();
    const int r = cell.y();
    const std::map<QString, std::function<void()>> calls = {
        {"CellDetails", [&] { grid.CellDetails(c, r, "x", CellFormat::Centred); }},
        {"CellText", [&] { grid.CellText(c, r); }},
        {"SetCellText", [&] { grid.SetCellText(c, r, "x"); }},
        {"CellBackColor", [&] { grid.CellBackColor(c, r); }},
        {"SetCellBackColor", [&] { grid.SetCellBackColor(c, r, 0); }},
        {"CellFont", [&] { grid.CellFont(c, r); }},
        {"SetCellFont", [&] { grid.SetCellFont(c, r, Font(10)); }},
        {"CellData", [&] { grid.CellData(c, r); }},
        {"CellActive", [&] { grid.CellActive(c, r); }},
        {"SelectCell", [&] { grid.SelectCell(c, r); }},
        {"ChangeCellSelected", [&] { grid.ChangeCellSelected(c, r); }},
        {"ColumnWidth", [&] { grid.ColumnWidth(c); }},
        {"SetColumnWidth", [&] { grid.SetColumnWidth(c, 40); }},
    };
    // Setters are named after the property they write.
    const QString source =
        QStringLiteral("ctlGrid.") +
        (member.startsWith("SetCell") || member == "SetColumnWidth" ? member.mid(3) : member);

    try {
        calls.at(member)();
        QFAIL("no error raised");
    } catch (const AppError& error) {
        QCOMPARE(error.Number(), 9);
        QCOMPARE(error.Source(), source);
        QCOMPARE(error.Description(), MessageCatalogue::Text(11603).arg(c).arg(r));
    }
    QCOMPARE(grid.GetRowSelected(), 0);
}

void GridTest::impossibleSizesAreRefused() {
    ctlGrid& grid = *grid_;
    for (auto [columns, rows, number] :
         {std::tuple{-1, 3, 5}, std::tuple{3, -1, 5}, std::tuple{40000, 1, 5},
          std::tuple{30000, 30000, 6}, std::tuple{1, 20000000, 6}}) {
        try {
            grid.ArmarGrilla(columns, rows);
            QFAIL("no error raised");
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), number);
            QCOMPARE(error.Source(), QStringLiteral("ctlGrid.ArmarGrilla"));
        }
    }
    // A long list has no row limit of its own: a file may hold a million puzzles.
    grid.ArmarGrilla(1, 1000000);
    QCOMPARE(grid.GetRowCount(), 1000000);
    BuildLetters(grid, 2, 2);
    QVERIFY_THROWS_EXCEPTION(AppError, grid.SetColumnWidth(1, -5));
    // Set-up values no caller uses are refused, not quietly ignored.
    for (const auto& [member, call] : std::map<QString, std::function<void()>>{
             {"BorderStyle", [&] { grid.SetBorderStyle(1); }},
             {"ScrollBarStyle", [&] { grid.SetScrollBarStyle(0); }},
             {"DrawFocusRectangle", [&] { grid.SetDrawFocusRectangle(true); }}}) {
        try {
            call();
            QFAIL(qPrintable(member + " accepted"));
        } catch (const AppError& error) {
            QCOMPARE(error.Number(), 5);
            QCOMPARE(error.Source(), "ctlGrid." + member);
        }
    }
}

void GridTest::clearRemovesEveryCell() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 3, 3);
    grid.SelectCell(2, 2);
    grid.Clear();
    QCOMPARE(grid.GetRowCount(), 0);
    QCOMPARE(grid.GetColumnCount(), 0);
    QCOMPARE(grid.GetRowSelected(), 0);
    QCOMPARE(grid.GetGridWidth(), 0);
    QCOMPARE(grid.GetGridHeight(), 0);
    QVERIFY_THROWS_EXCEPTION(AppError, grid.CellText(1, 1));
}

void GridTest::textDataAndFontRoundTrip() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 1, 3, true);
    grid.CellDetails(1, 2, "2 - Frutas", CellFormat::LeftAligned, "2");
    QCOMPARE(grid.CellText(1, 2), QStringLiteral("2 - Frutas"));
    QCOMPARE(grid.CellData(1, 2), QStringLiteral("2"));
    QCOMPARE(grid.CellData(1, 1), QString());
    grid.SetCellText(1, 2, "otra");
    QCOMPARE(grid.CellText(1, 2), QStringLiteral("otra"));
    QCOMPARE(grid.CellData(1, 2), QStringLiteral("2"));

    // The word list crosses a word out by giving its cell a struck font.
    QCOMPARE(grid.CellFont(1, 3), FontRef());
    FontRef struck = MakeFont(*grid.Font());
    struck->SetStrikethrough(true);
    grid.SetCellFont(1, 3, struck);
    QCOMPARE(grid.CellFont(1, 3), struck);
    QVERIFY(grid.CellFont(1, 3)->Strikethrough());
    FontRef restored = MakeFont(*grid.CellFont(1, 3));
    restored->SetStrikethrough(false);
    grid.SetCellFont(1, 3, restored);
    QVERIFY(!grid.CellFont(1, 3)->Strikethrough());
    grid.SetCellFont(1, 3, nullptr);
    QCOMPARE(grid.CellFont(1, 3), FontRef());
}

void GridTest::redrawOffPaintsNothingAndOnPaintsOnce() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 6, 5);
    const PaintCounter paints(grid);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    QTRY_VERIFY(paints.Count() > 0);
    QTest::qWait(50);
    const int before = paints.Count();

    grid.SetRedraw(false);
    grid.SetCellBackColor(2, 2, 0x00FF00);
    grid.SetCellText(3, 3, "Q");
    grid.SelectCell(4, 4);
    grid.SetBackColor(0xEEEEEE);
    grid.ActualizarFont();
    grid.hide();
    grid.show(); // the window system asks for a paint: still nothing drawn
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTest::qWait(50);
    QCOMPARE(paints.Count(), before);
    QVERIFY(!PaintCounter::DrawsWhilePainting(grid));

    grid.SetRedraw(true);
    QTest::qWait(50);
    QCOMPARE(paints.Count(), before + 1);
    QVERIFY(PaintCounter::DrawsWhilePainting(grid));
}

void GridTest::oneCellChangeRepaintsOnlyThatCell() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 10, 10);
    grid.SelectCell(4, 5);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    QTest::qWait(50);
    PaintRecorder recorder(grid.viewport());

    grid.SetCellBackColor(7, 3, 0x00FF00);
    QTest::qWait(50);
    QCOMPARE(recorder.regions.size(), 1);
    QCOMPARE(recorder.regions.at(0), QRegion(CellBox(grid, 7, 3)));

    // A word crossed out keeps its size, so only its cell is repainted.
    recorder.regions.clear();
    FontRef struck = MakeFont(*grid.Font());
    struck->SetStrikethrough(true);
    grid.SetCellFont(2, 8, struck);
    QTest::qWait(50);
    QCOMPARE(recorder.regions.size(), 1);
    QCOMPARE(recorder.regions.at(0), QRegion(CellBox(grid, 2, 8)));

    // A click repaints the cell it leaves and the cell it makes current.
    recorder.regions.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(grid, 9, 1, false));
    QTest::qWait(50);
    QCOMPARE(recorder.regions.size(), 1);
    QCOMPARE(recorder.regions.at(0), QRegion(CellBox(grid, 4, 5)) + CellBox(grid, 9, 1));
}

void GridTest::sizesFollowTheFont_data() {
    QTest::addColumn<double>("size");
    QTest::newRow("8 points") << 8.0;
    QTest::newRow("12 points") << 12.0;
    QTest::newRow("18 points") << 18.0;
    QTest::newRow("36 points") << 36.0;
}

void GridTest::sizesFollowTheFont() {
    QFETCH(double, size);
    ctlGrid& grid = *grid_;
    grid.SetFont(Font(size));
    BuildLetters(grid, 13, 4); // A to Z, M and W included
    const int width = grid.GetGridWidth();
    const int height = grid.GetGridHeight();
    const int rowHeight = RowHeight(grid, false);
    for (int column = 1; column <= 13; ++column)
        QCOMPARE(grid.ColumnWidth(column), rowHeight); // single letters: square cells
    QCOMPARE(height, 4 * rowHeight);

    grid.SetFont(Font(size * 1.5));
    BuildLetters(grid, 13, 4);
    QVERIFY(grid.GetGridWidth() > width);
    QVERIFY(grid.GetGridHeight() > height);
}

void GridTest::columnsFitTheirWidestText() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 3, 3);
    const int square = grid.ColumnWidth(1);
    grid.SetCellText(2, 3, "MMMMMMMMMM");
    grid.SetCellText(3, 1, "ii");
    QVERIFY(grid.ColumnWidth(2) > 4 * square);
    QCOMPARE(grid.ColumnWidth(3), square);
    const QFontMetrics metrics(grid.Font()->ToQFont());
    QVERIFY(grid.ColumnWidth(2) >= metrics.horizontalAdvance("MMMMMMMMMM"));

    // A cell with a bigger font of its own widens its column and the rows.
    const int height = grid.GetGridHeight();
    grid.SetCellFont(1, 2, Font(30));
    QVERIFY(grid.ColumnWidth(1) > square);
    QVERIFY(grid.GetGridHeight() > height);

    grid.SetColumnWidth(3, 77);
    QCOMPARE(grid.ColumnWidth(3), 77);
    grid.ActualizarFont();
    QCOMPARE(grid.ColumnWidth(3), 77);
    BuildLetters(grid, 3, 3);
    QCOMPARE(grid.ColumnWidth(3), square);
}

void GridTest::sizesAreKnownWhilePaintingIsOff() {
    // The game chooser reads the sizes before it switches painting on.
    ctlGrid& grid = *grid_;
    grid.SetRedraw(false);
    grid.Clear();
    grid.ArmarGrilla(1, 40);
    for (int row = 1; row <= 40; ++row)
        grid.CellDetails(1, row, QStringLiteral("%1 - Título %1").arg(row), CellFormat::LeftAligned,
                         QString::number(row));
    grid.ActualizarFont();
    const QFontMetrics metrics(grid.Font()->ToQFont());
    QVERIFY(grid.GetGridHeight() >= 40 * metrics.height());
    QVERIFY(grid.ColumnWidth(1) >= metrics.horizontalAdvance("40 - Título 40"));
    grid.SetColumnWidth(1, 300);
    QCOMPARE(grid.GetGridWidth(), 300);
    grid.SetRedraw(true);
    QCOMPARE(grid.ColumnWidth(1), 300);
}

void GridTest::sharedFontChangesShowAfterActualizarFont() {
    ctlGrid& grid = *grid_;
    FontRef shared = Font(10);
    grid.SetFont(shared);
    BuildLetters(grid, 5, 5);
    QCOMPARE(grid.Font(), shared);
    const int width = grid.GetGridWidth();
    shared->SetSize(20);
    grid.ActualizarFont();
    QVERIFY(grid.GetGridWidth() > width);
    shared->SetSize(10);
    grid.ActualizarFont();
    QCOMPARE(grid.GetGridWidth(), width);
}

void GridTest::gridSizeWithBorderNeedsNoScrollBars() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 12, 9);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    QVERIFY(!grid.horizontalScrollBar()->isVisible());
    QVERIFY(!grid.verticalScrollBar()->isVisible());
    QCOMPARE(grid.viewport()->size(), QSize(grid.GetGridWidth(), grid.GetGridHeight()));
    QVERIFY(grid.GetGridWidth(true) > grid.GetGridWidth());

    grid.resize(grid.GetGridWidth(true) - 10, grid.GetGridHeight(true));
    QTRY_VERIFY(grid.horizontalScrollBar()->isVisible());
    grid.resize(grid.GetGridWidth(true), grid.GetGridHeight(true) - 10);
    QTRY_VERIFY(grid.verticalScrollBar()->isVisible());
    QTRY_VERIFY(grid.horizontalScrollBar()->isVisible()); // the vertical bar took room
}

void GridTest::headerRowIsRowZero() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 1, 5, true);
    QCOMPARE(grid.GetRowCount(), 5);
    QCOMPARE(grid.CellText(1, 0), QStringLiteral("H1"));
    QVERIFY(!grid.CellActive(1, 0));
    QVERIFY(grid.CellActive(1, 1));
    QVERIFY(grid.CellActive(1, 5));
    grid.SelectCell(1, 0);
    QCOMPARE(grid.GetRowSelected(), 0);

    // A header with a bigger font of its own makes only the header taller.
    const int height = grid.GetGridHeight();
    const int rowHeight = RowHeight(grid, true);
    FontRef heading = MakeFont(*grid.Font());
    heading->SetSize(20);
    heading->SetBold(true);
    heading->SetUnderline(true);
    grid.SetCellFont(1, 0, heading);
    QVERIFY(grid.GetGridHeight() > height);
    grid.SetHeaderColumns(false);
    QCOMPARE(grid.GetGridHeight(), 5 * rowHeight);
    QVERIFY_THROWS_EXCEPTION(AppError, grid.CellText(1, 0));
}

void GridTest::handleIsStable() {
    const qint32 handle = grid_->GethWnd();
    QVERIFY(handle != 0);
    QCOMPARE(grid_->GethWnd(), handle);
    QCOMPARE(WindowHandle::Widget(handle), grid_.get());
    ctlGrid other;
    QVERIFY(other.GethWnd() != handle);
}

void GridTest::paintsColoursWhereTheyBelong() {
    ctlGrid& grid = *grid_;
    grid.SetBackColor(0xFFFFFF);
    grid.SetLineColor(0x808080);
    grid.SetActiveCellColor(0xD77800);
    BuildLetters(grid, 6, 4);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));
    for (int row = 1; row <= 4; ++row)
        for (int column = 1; column <= 6; ++column)
            grid.SetCellText(column, row, QString()); // plain cells: no glyph in the way
    grid.SetCellBackColor(2, 3, 0x00C0FF);
    grid.SelectCell(5, 1);
    grid.activateWindow();
    grid.setFocus();
    QTRY_VERIFY(grid.hasFocus());
    const int w = grid.ColumnWidth(1);
    const int h = RowHeight(grid, false);

    const QPoint marked = CellCentre(grid, 2, 3, false);
    const QPoint current = CellCentre(grid, 5, 1, false);
    const QPoint plain = CellCentre(grid, 4, 4, false);
    QCOMPARE(PixelAt(grid, marked), Windows(0x00C0FF));
    QCOMPARE(PixelAt(grid, current), Windows(0xD77800));
    QCOMPARE(PixelAt(grid, plain), Windows(0xFFFFFF));
    QCOMPARE(PixelAt(grid, QPoint(w - 1, h / 2)), Windows(0x808080)); // line after column 1
    QCOMPARE(PixelAt(grid, QPoint(w / 2, h - 1)), Windows(0x808080)); // line under row 1

    // The current cell keeps its own colour inside a frame of the active one.
    grid.SelectCell(2, 3);
    QCOMPARE(PixelAt(grid, marked), Windows(0x00C0FF));
    QCOMPARE(PixelAt(grid, QPoint(marked.x(), marked.y() - h / 2 + 1)), Windows(0xD77800));
    QCOMPARE(PixelAt(grid, current), Windows(0xFFFFFF));

    // Without the focus the current cell is only framed.
    grid.SelectCell(5, 1);
    grid.clearFocus();
    QCOMPARE(PixelAt(grid, current), Windows(0xFFFFFF));
    QCOMPARE(PixelAt(grid, QPoint(current.x(), current.y() - h / 2 + 1)), Windows(0xD77800));

    // A paint of only the room beside a narrower grid draws just the background.
    grid.resize(grid.GetGridWidth(true) + 40, grid.GetGridHeight(true));
    const QRect beside(grid.GetGridWidth() + 10, 0, 20, grid.GetGridHeight());
    QImage besideShot(grid.viewport()->size(), QImage::Format_RGB32);
    besideShot.fill(Qt::black);
    grid.viewport()->render(&besideShot, beside.topLeft(), QRegion(beside), {});
    for (int y = beside.top(); y <= beside.bottom(); ++y)
        QCOMPARE(QColor(besideShot.pixel(beside.center().x(), y)), Windows(0xFFFFFF));

    // A letter is drawn in the text colour.
    grid.SetTextColor(0x0000FF);
    grid.SetCellText(4, 4, QStringLiteral("W"));
    const QImage shot = grid.viewport()->grab().toImage();
    bool inked = false;
    for (int y = plain.y() - h / 2; y < plain.y() + h / 2; ++y)
        for (int x = plain.x() - w / 2; x < plain.x() + w / 2; ++x)
            inked = inked || QColor(shot.pixel(x, y)) == Windows(0x0000FF);
    QVERIFY(inked);
}

void GridTest::pictureShowsBehindTheCells() {
    QTemporaryDir folder;
    const QString path = folder.filePath("fondo.png");
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QVERIFY(picture.save(path));
    const QString broken = folder.filePath("roto.bmp");
    {
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }

    ctlGrid& grid = *grid_;
    grid.SetBackColor(0xFFFFFF);
    BuildLetters(grid, 8, 8);
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column)
            grid.SetCellText(column, row, QString());
    grid.SetPictureFile(path);
    QCOMPARE(grid.PictureFile(), path);
    grid.SetCellBackColor(3, 3, 0x0000FF);
    ShowSized(grid, grid.GetGridWidth(true) - 40, grid.GetGridHeight(true) - 40);

    QCOMPARE(PixelAt(grid, CellCentre(grid, 1, 1, false)), QColor(10, 200, 30));
    QCOMPARE(PixelAt(grid, CellCentre(grid, 3, 3, false)), Windows(0x0000FF));
    grid.horizontalScrollBar()->setValue(grid.ColumnWidth(1));
    grid.verticalScrollBar()->setValue(RowHeight(grid, false));
    QCOMPARE(PixelAt(grid, CellCentre(grid, 3, 3, false)), Windows(0x0000FF));
    QCOMPARE(PixelAt(grid, CellCentre(grid, 4, 4, false)), QColor(10, 200, 30));

    for (const QString& none : {broken, folder.filePath("falta.jpg"), QString()}) {
        grid.SetPictureFile(none);
        QCOMPARE(grid.PictureFile(), none);
        QCOMPARE(PixelAt(grid, CellCentre(grid, 4, 4, false)), QColor(Qt::white));
    }

    // A grid larger than the screen still has the picture stretched over
    // it, painted part by part from the picture itself.
    QImage halves(20, 20, QImage::Format_RGB32);
    halves.fill(QColor(10, 200, 30));
    for (int y = 0; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            halves.setPixelColor(x, y, QColor(200, 20, 120));
    QVERIFY(halves.save(path));
    grid.SetFont(Font(200));
    grid.ActualizarFont();
    grid.SetPictureFile(path);
    QVERIFY(grid.GetGridWidth() > grid.screen()->size().width());
    ShowSized(grid, 300, 300);
    grid.horizontalScrollBar()->setValue(0);
    grid.verticalScrollBar()->setValue(0);
    QCOMPARE(PixelAt(grid, CellCentre(grid, 1, 1, false)), QColor(10, 200, 30));
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    QCOMPARE(PixelAt(grid, CellCentre(grid, 8, 8, false)), QColor(200, 20, 120));
}

// The longest run of text-coloured pixels along any one line of a cell.
static int LongestInkRun(const QImage& shot, const QRect& box, const QColor& ink) {
    int longest = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        int run = 0;
        for (int x = box.left(); x <= box.right(); ++x) {
            run = QColor(shot.pixel(x, y)) == ink ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

void GridTest::strikeThroughAndUnderlineAreDrawn() {
    ctlGrid& grid = *grid_;
    grid.SetFont(Font(14));
    grid.SetTextColor(0x000000);
    grid.SetGridLines(false);
    BuildLetters(grid, 1, 3);
    grid.SetGridLines(false);
    for (int row = 1; row <= 3; ++row)
        grid.SetCellText(1, row, QStringLiteral("IIIIIIII"));
    FontRef struck = MakeFont(*grid.Font());
    struck->SetStrikethrough(true);
    grid.SetCellFont(1, 2, struck);
    FontRef underlined = MakeFont(*grid.Font());
    underlined->SetUnderline(true);
    grid.SetCellFont(1, 3, underlined);
    ShowSized(grid, grid.GetGridWidth(true), grid.GetGridHeight(true));

    const QImage shot = grid.viewport()->grab().toImage();
    const int plain = LongestInkRun(shot, CellBox(grid, 1, 1), Qt::black);
    // Upright strokes of I leave only short runs; a line through or under
    // the letters runs across all of them.
    QVERIFY(LongestInkRun(shot, CellBox(grid, 1, 2), Qt::black) > plain + 20);
    QVERIFY(LongestInkRun(shot, CellBox(grid, 1, 3), Qt::black) > plain + 20);
}

// A grid shown small first, with its bars, then given its full size must
// lose the bars rather than keep the room they took.
void GridTest::barsGoAwayWhenTheGridFitsAgain() {
    ctlGrid& grid = *grid_;
    BuildLetters(grid, 10, 10);
    ShowSized(grid, 60, 60);
    QTRY_VERIFY(grid.verticalScrollBar()->isVisible());
    grid.resize(grid.GetGridWidth(true), grid.GetGridHeight(true));
    QTRY_VERIFY(!grid.verticalScrollBar()->isVisible());
    QVERIFY(!grid.horizontalScrollBar()->isVisible());
    QCOMPARE(grid.viewport()->size(), QSize(grid.GetGridWidth(), grid.GetGridHeight()));
}

QTEST_MAIN(GridTest)
#include "test_grid.moc"
