#include "outside/ctlGrid.h"
#include "support/PaintCounter.h"

#include <QScrollBar>
#include <QtTest>
#include <memory>

namespace {

constexpr int Columns = 33;
constexpr int Rows = 30;

FontRef BoardFont() {
    FontObject font;
    font.SetName(QStringLiteral("MS Sans Serif"));
    font.SetSize(18);
    return MakeFont(font);
}

// What the board does on Refresh, less the settings: set-up, one letter a
// cell, the font, then painting on.
void BuildBoard(ctlGrid& grid) {
    grid.SetRedraw(false);
    grid.Clear();
    grid.SetBorderStyle(2);
    grid.SetHeaderColumns(false);
    grid.SetGridLines(true);
    grid.SetDrawFocusRectangle(false);
    grid.SetEnabled(true);
    grid.SetScrollBarStyle(2);
    grid.ArmarGrilla(Columns, Rows);
    int index = 0;
    for (int row = 1; row <= Rows; ++row)
        for (int column = 1; column <= Columns; ++column)
            grid.CellDetails(column, row, QString(QChar('A' + index++ % 26)), CellFormat::Centred);
    grid.ActualizarFont();
    grid.SelectCell(1, 1);
    grid.SetRedraw(true);
}

} // namespace

class GridBench : public QObject {
    Q_OBJECT

private slots:
    void init() {
        grid_ = std::make_unique<ctlGrid>();
        paints_ = std::make_unique<PaintCounter>(*grid_);
        grid_->SetFont(BoardFont());
        BuildBoard(*grid_);
        grid_->resize(grid_->GetGridWidth(true), grid_->GetGridHeight(true));
        grid_->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid_.get()));
        QCoreApplication::processEvents();
    }
    void cleanup() {
        paints_.reset();
        grid_.reset();
    }

    // The whole refresh of a 33 × 30 board, painted once.
    void buildMeasureAndPaint() {
        const int before = paints_->Count();
        QBENCHMARK {
            BuildBoard(*grid_);
            grid_->viewport()->repaint();
        }
        QVERIFY(paints_->Count() > before);
    }

    // Re-measuring all 990 cells after the shared font object changed size:
    // every iteration a size not measured in the last 16 changes.
    void actualizarFontNewSize() {
        grid_->SetRedraw(false);
        int step = 0;
        QBENCHMARK {
            grid_->Font()->SetSize(12 + (step++ % 40) * 0.5);
            grid_->ActualizarFont();
            QVERIFY(grid_->GetGridWidth() > 0); // the measuring happens here
        }
        grid_->SetRedraw(true);
    }

    // ActualizarFont when the font is the same as before.
    void actualizarFontSameFont() {
        grid_->SetRedraw(false);
        QBENCHMARK {
            grid_->ActualizarFont();
            QVERIFY(grid_->GetGridWidth() > 0);
        }
        grid_->SetRedraw(true);
    }

    // One paint of every cell, nothing re-measured.
    void paintWholeGrid() {
        QBENCHMARK {
            grid_->viewport()->repaint();
        }
    }

    // The player marks a cell: colour change and the repaint it causes.
    void toggleOneCell() {
        const int before = paints_->Count();
        int toggles = 0;
        QBENCHMARK {
            const qint32 colour = grid_->CellBackColor(17, 15) == -1 ? 0xF0F0F0 : -1;
            grid_->SetCellBackColor(17, 15, colour);
            QCoreApplication::processEvents();
            ++toggles;
        }
        QCOMPARE(paints_->Count() - before, toggles);
    }

private:
    std::unique_ptr<ctlGrid> grid_;
    std::unique_ptr<PaintCounter> paints_;
};

QTEST_MAIN(GridBench)
#include "bench_grid.moc"
