#include "core/SolutionWindowFit.h"

#include "core/LayoutArithmetic.h"

#include <QtGlobal>

namespace {
const LayoutArithmetic math("frmSolucion.FitSolutionWindow");

constexpr int StripTwips = 120;
constexpr int ButtonGapTwips = 60;

// The window's outer size: the board's wanted size where it fits, else the
// work area on the side that does not, and room for a scroll bar on the
// other side as far as the work area allows.
QSize WindowSize(QSize wanted, QSize area, int verticalBar, int horizontalBar) {
    const bool widthFits = wanted.width() <= area.width();
    const bool heightFits = wanted.height() <= area.height();
    if (widthFits && heightFits)
        return wanted;
    if (widthFits)
        return {qMin(math.Sum({wanted.width(), verticalBar}), area.width()), area.height()};
    if (heightFits)
        return {area.width(), qMin(math.Sum({wanted.height(), horizontalBar}), area.height())};
    return area;
}
} // namespace

QSize SolutionWindowFit::Frame(QSize outer, QSize client) {
    return math.Frame(outer, client);
}

int SolutionWindowFit::ButtonStrip(int buttonHeight, int twipsPerPixelY) {
    const qint32 buttonTwips = math.Checked(qint64{buttonHeight} * twipsPerPixelY);
    return math.Rounded((static_cast<double>(buttonTwips) + StripTwips) / twipsPerPixelY);
}

// Never so narrow that the title is cut: the board then stands in the
// middle of the wider window.
SolutionWindowFit::Places SolutionWindowFit::Fit(const Measures& measures) {
    const QSize frame = measures.frame;
    const int tx = measures.twipsPerPixelX, ty = measures.twipsPerPixelY;
    const qint32 buttonStrip = ButtonStrip(measures.buttonHeight, ty);
    const QSize wanted(math.Sum({frame.width(), measures.grid.width()}),
                       math.Sum({measures.grid.height(), frame.height(), buttonStrip}));
    QSize window =
        WindowSize(wanted, measures.workArea, measures.verticalBar, measures.horizontalBar);

    const qint32 boardWidth = math.Sum({window.width(), -qint64{frame.width()}});
    window.setWidth(qMax(window.width(), qMin(measures.titleWidth, measures.workArea.width())));
    const qint32 clientWidth = math.Sum({window.width(), -qint64{frame.width()}});
    const qint32 boardHeight =
        math.Sum({window.height(), -qint64{frame.height()}, -qint64{buttonStrip}});

    const qint32 boardLeft = math.Checked((qint64{clientWidth} - boardWidth) / 2 * tx);
    return {window, QRect(boardLeft, 0, math.Checked(qint64{boardWidth} * tx),
                          math.Checked(qint64{boardHeight} * ty))};
}

QRect SolutionWindowFit::CloseButton(int outerWidth, int boardHeight, QSize button,
                                     int twipsPerPixelX, int twipsPerPixelY) {
    const qint32 outerTwips = math.Checked(qint64{outerWidth} * twipsPerPixelX);
    const qint32 widthTwips = math.Checked(qint64{button.width()} * twipsPerPixelX);
    const qint32 heightTwips = math.Checked(qint64{button.height()} * twipsPerPixelY);
    const qint32 left = math.Rounded(outerTwips / 2.0 - widthTwips / 2.0);
    const qint32 boardTwips = math.Checked(qint64{boardHeight} * twipsPerPixelY);
    return {left, math.Sum({boardTwips, ButtonGapTwips}), widthTwips, heightTwips};
}
