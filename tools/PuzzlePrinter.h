#pragma once

#include "PrintablePuzzle.h"

#include "core/PuzzleFields.h"

#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <optional>

class QIODevice;

// Draws puzzles on PDF pages: the title, the letter grid with square cells
// and the word list beside or below it, sized to fill the page; and, when
// asked, a page with only the solution's letters, as the solution viewer
// shows them.
class PuzzlePrinter {
public:
    enum class Paper { A4, Letter };

    PuzzlePrinter(QIODevice* device, Paper paper, const QString& documentTitle);

    void Add(const PrintablePuzzle& puzzle, bool withSolution);
    // Ends the document; false when nothing could be drawn.
    bool Finish();

    // The puzzle of a section, or nothing (why says what stops it).
    static std::optional<PrintablePuzzle> FromFields(const PuzzleFields& fields, int number,
                                                     QString* why);

private:
    struct Layout {
        QRectF grid;
        double cell = 0;
        QRectF list;
        int listColumns = 1;
        double listFont = 0; // pixels
        double listColumnWidth = 0;
    };

    double Millimetres(double mm) const;
    QFont Font(double pixels, bool bold = false) const;
    double HeaderHeight() const;
    Layout Arrange(const PrintablePuzzle& puzzle, const QRectF& body) const;
    std::optional<Layout> Try(const PrintablePuzzle& puzzle, const QRectF& body, double font,
                              bool beside, double minimumCell) const;
    void StartPage();
    void DrawHeader(const QString& title, const QString& subtitle);
    void DrawGrid(const PrintablePuzzle& puzzle, const Layout& layout, bool solutionOnly);
    void DrawWordList(const PrintablePuzzle& puzzle, const Layout& layout);

    QPdfWriter writer_;
    QPainter painter_;
    bool firstPage_ = true;
};
