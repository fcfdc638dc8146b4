#include "PuzzlePrinter.h"

#include "core/DigitList.h"
#include "core/PuzzleRules.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <algorithm>
#include <cmath>

namespace {
constexpr int Resolution = 600; // dots per inch of the page's coordinates
constexpr double MarginMm = 15;
constexpr double GapMm = 8; // between the grid and the word list
// Word-list type sizes tried, largest first, in millimetres of line height.
constexpr double ListFontsMm[] = {6.4, 5.8, 5.2, 4.6, 4.2, 3.8, 3.4, 3.1, 2.8, 2.6};
const QString FontFamily = QStringLiteral("DejaVu Sans");
} // namespace

PuzzlePrinter::PuzzlePrinter(QIODevice* device, Paper paper, const QString& documentTitle)
    : writer_(device) {
    writer_.setResolution(Resolution);
    writer_.setPageLayout(
        QPageLayout(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
                    QPageLayout::Portrait, QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                    QPageLayout::Millimeter));
    writer_.setTitle(documentTitle);
    writer_.setCreator(QStringLiteral("Zelvora"));
}

double PuzzlePrinter::Millimetres(double mm) const {
    return mm * Resolution / 25.4;
}

QFont PuzzlePrinter::Font(double pixels, bool bold) const {
    QFont font(FontFamily);
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

std::optional<PrintablePuzzle> PuzzlePrinter::FromFields(const PuzzleFields& fields, int number,
                                                         QString* why) {
    PrintablePuzzle puzzle;
    try {
        puzzle.columns = PuzzleRules::Dimension(fields.columns, QStringLiteral("print"));
        puzzle.rows = PuzzleRules::Dimension(fields.rows, QStringLiteral("print"));
    } catch (const AppError&) {
        puzzle.columns = puzzle.rows = 0;
    }
    if (!PuzzleRules::SizeFits(puzzle.columns, puzzle.rows)) {
        *why = MessageCatalogue::Text(11321).arg(fields.columns.trimmed(), fields.rows.trimmed());
        return std::nullopt;
    }
    puzzle.number = number;
    puzzle.title = fields.title;
    puzzle.letters = PuzzleRules::Composed(fields.letters);
    const QString words = PuzzleRules::Composed(fields.words);
    puzzle.words = words.split(u' ', Qt::SkipEmptyParts);
    // The cells the solution viewer marks.
    for (const qint32 cell :
         DigitList::Cells.Read(fields.solution, puzzle.columns * puzzle.rows).named)
        puzzle.solution.insert(cell);
    return puzzle;
}

double PuzzlePrinter::HeaderHeight() const {
    return Millimetres(9 + 5 + 6); // title, subtitle, space under them
}

// The grid and list for one word-list type size, with the list beside the
// grid or below it; nothing when the list does not fit at all.
std::optional<PuzzlePrinter::Layout> PuzzlePrinter::Try(const PrintablePuzzle& puzzle,
                                                        const QRectF& body, double font,
                                                        bool beside, double minimumCell) const {
    const QFontMetricsF metrics(Font(font), &writer_);
    const double line = metrics.height() * 1.15;
    double widest =
        QFontMetricsF(Font(font, true), &writer_).horizontalAdvance(MessageCatalogue::Text(10200));
    for (const QString& word : puzzle.words)
        widest = std::max(widest, metrics.horizontalAdvance(word));
    const double columnWidth = widest + Millimetres(5);
    const double gap = Millimetres(GapMm);
    const int words = std::max(1, int(puzzle.words.size()));

    Layout layout;
    layout.listFont = font;
    layout.listColumnWidth = columnWidth;
    double gridWidth = body.width();
    double gridHeight = body.height();
    if (beside) {
        const int linesPerColumn = int((body.height() - line) / line);
        if (linesPerColumn < 1)
            return std::nullopt;
        layout.listColumns = (words + linesPerColumn - 1) / linesPerColumn;
        const double listWidth = layout.listColumns * columnWidth;
        gridWidth = body.width() - listWidth - gap;
        layout.list = QRectF(0, 0, listWidth, line * (1 + std::min(words, linesPerColumn)));
    } else {
        layout.listColumns = std::max(1, int(body.width() / columnWidth));
        const int lines = (words + layout.listColumns - 1) / layout.listColumns;
        const double listHeight = line * (1 + lines);
        gridHeight = body.height() - listHeight - gap;
        layout.list =
            QRectF(0, 0, std::min(body.width(), layout.listColumns * columnWidth), listHeight);
    }
    layout.cell =
        std::max(1.0, std::floor(std::min(gridWidth / puzzle.columns, gridHeight / puzzle.rows)));
    if (layout.cell < minimumCell)
        return std::nullopt;
    const QSizeF grid(layout.cell * puzzle.columns, layout.cell * puzzle.rows);
    if (beside) {
        const double left =
            body.left() + (body.width() - grid.width() - gap - layout.list.width()) / 2;
        layout.grid = QRectF(QPointF(left, body.top()), grid);
        layout.list.moveTopLeft(QPointF(layout.grid.right() + gap, body.top()));
    } else {
        layout.grid =
            QRectF(QPointF(body.left() + (body.width() - grid.width()) / 2, body.top()), grid);
        layout.list.moveTopLeft(QPointF(body.left() + (body.width() - layout.list.width()) / 2,
                                        layout.grid.bottom() + gap));
    }
    return layout;
}

// The grid gets the room: the largest type for the list that costs the grid
// at most a tenth of the cell size it could have.
PuzzlePrinter::Layout PuzzlePrinter::Arrange(const PrintablePuzzle& puzzle,
                                             const QRectF& body) const {
    std::vector<Layout> candidates; // the better side for each type size
    double bestCell = 0;
    for (double mm : ListFontsMm) {
        std::optional<Layout> chosen;
        for (bool beside : {true, false}) {
            const std::optional<Layout> layout =
                Try(puzzle, body, Millimetres(mm), beside, Millimetres(3));
            if (layout && (!chosen || layout->cell > chosen->cell))
                chosen = layout;
        }
        if (chosen) {
            candidates.push_back(*chosen);
            bestCell = std::max(bestCell, chosen->cell);
        }
    }
    // A grid of one long row or column: the smallest type below it, and
    // cells as large as they can be, however small.
    if (candidates.empty())
        return *Try(puzzle, body, Millimetres(ListFontsMm[std::size(ListFontsMm) - 1]), false, 1);
    for (const Layout& layout : candidates) {
        if (layout.cell >= 0.9 * bestCell)
            return layout;
    }
    return candidates.front();
}

void PuzzlePrinter::StartPage() {
    if (firstPage_) {
        painter_.begin(&writer_);
        firstPage_ = false;
    } else {
        writer_.newPage();
    }
}

void PuzzlePrinter::DrawHeader(const QString& title, const QString& subtitle) {
    const double width = writer_.width();
    painter_.setPen(Qt::black);
    painter_.setFont(Font(Millimetres(7), true));
    painter_.drawText(
        QRectF(0, 0, width, Millimetres(9)), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(painter_.font(), &writer_).elidedText(title, Qt::ElideRight, width));
    painter_.setFont(Font(Millimetres(3.6)));
    painter_.setPen(QColor(80, 80, 80));
    painter_.drawText(QRectF(0, Millimetres(9), width, Millimetres(5)),
                      Qt::AlignLeft | Qt::AlignVCenter, subtitle);
}

void PuzzlePrinter::DrawGrid(const PrintablePuzzle& puzzle, const Layout& layout,
                             bool solutionOnly) {
    painter_.setFont(Font(layout.cell * 0.6));
    for (int row = 1; row <= puzzle.rows; ++row) {
        for (int column = 1; column <= puzzle.columns; ++column) {
            const int index = (row - 1) * puzzle.columns + column;
            const QRectF cell(layout.grid.left() + (column - 1) * layout.cell,
                              layout.grid.top() + (row - 1) * layout.cell, layout.cell,
                              layout.cell);
            const bool inSolution = puzzle.solution.count(index) > 0;
            if (solutionOnly && inSolution)
                painter_.fillRect(cell, QColor(215, 215, 215));
            if ((!solutionOnly || inSolution) && index <= puzzle.letters.size()) {
                painter_.setPen(Qt::black);
                painter_.drawText(cell, Qt::AlignCenter, QString(puzzle.letters[index - 1]));
            }
        }
    }
    QPen thin(QColor(120, 120, 120));
    thin.setWidthF(Millimetres(0.2));
    painter_.setPen(thin);
    for (int column = 1; column < puzzle.columns; ++column) {
        const double x = layout.grid.left() + column * layout.cell;
        painter_.drawLine(QPointF(x, layout.grid.top()), QPointF(x, layout.grid.bottom()));
    }
    for (int row = 1; row < puzzle.rows; ++row) {
        const double y = layout.grid.top() + row * layout.cell;
        painter_.drawLine(QPointF(layout.grid.left(), y), QPointF(layout.grid.right(), y));
    }
    QPen frame(Qt::black);
    frame.setWidthF(Millimetres(0.5));
    painter_.setPen(frame);
    painter_.drawRect(layout.grid);
}

void PuzzlePrinter::DrawWordList(const PrintablePuzzle& puzzle, const Layout& layout) {
    const QFont font = Font(layout.listFont);
    const double line = QFontMetricsF(font, &writer_).height() * 1.15;
    painter_.setPen(Qt::black);
    painter_.setFont(Font(layout.listFont, true));
    painter_.drawText(QRectF(layout.list.left(), layout.list.top(), layout.list.width(), line),
                      Qt::AlignLeft | Qt::AlignVCenter, MessageCatalogue::Text(10200));
    painter_.setFont(font);
    const int words = int(puzzle.words.size());
    const int perColumn = (words + layout.listColumns - 1) / std::max(1, layout.listColumns);
    for (int i = 0; i < words; ++i) {
        const QRectF place(layout.list.left() + (i / perColumn) * layout.listColumnWidth,
                           layout.list.top() + line * (1 + i % perColumn), layout.listColumnWidth,
                           line);
        painter_.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, puzzle.words[i]);
    }
}

void PuzzlePrinter::Add(const PrintablePuzzle& puzzle, bool withSolution) {
    const QRectF body(0, HeaderHeight(), writer_.width(), writer_.height() - HeaderHeight());
    const Layout layout = Arrange(puzzle, body);
    const QString subtitle = QStringLiteral("%1 · %2 × %3")
                                 .arg(MessageCatalogue::Text(11363).arg(puzzle.number))
                                 .arg(puzzle.columns)
                                 .arg(puzzle.rows);
    StartPage();
    DrawHeader(puzzle.title, subtitle);
    DrawGrid(puzzle, layout, false);
    DrawWordList(puzzle, layout);
    if (!withSolution)
        return;
    StartPage();
    DrawHeader(QStringLiteral("%1 %2 - %3")
                   .arg(MessageCatalogue::Text(10500))
                   .arg(puzzle.number)
                   .arg(puzzle.title),
               subtitle);
    DrawGrid(puzzle, layout, true);
}

bool PuzzlePrinter::Finish() {
    return painter_.isActive() && painter_.end();
}
