#include "core/MainWindowLayout.h"

#include "core/LayoutArithmetic.h"

namespace {
const LayoutArithmetic math("frmMain.ArrangeControls");

struct Widths {
    qint32 window, board, list;
};

// Too wide for the work area: the window takes all of it, and the room
// left for the controls goes first to a grid that is not itself wider
// than the screen; when both are, 70 to 30.
Widths SharedWidths(qint32 AW, qint32 FW, qint32 BW, qint32 LW) {
    const qint32 R = math.Sum({AW, -qint64{FW}, -MainWindowLayout::Gap});
    const auto boardShare = static_cast<qint32>(qint64{R} * 70 / 100);
    const auto listShare = static_cast<qint32>(qint64{R} * 30 / 100);
    if (BW > AW && LW > AW)
        return {AW, boardShare, listShare};
    if (BW > AW)
        return {AW, math.Sum({R, -qint64{LW}}), LW};
    if (LW > AW)
        return {AW, BW, math.Sum({R, -qint64{BW}})};
    if (BW <= boardShare)
        return {AW, BW, math.Sum({R, -qint64{BW}})};
    return {AW, math.Sum({R, -qint64{LW}}), LW};
}
} // namespace

MainWindowLayout::Places MainWindowLayout::Arrange(const Measures& measures) {
    const QSize frame = math.Frame(measures.outer, measures.client);
    const qint32 FW = frame.width(), FH = frame.height();
    const qint32 AW = measures.workArea.width(), AH = measures.workArea.height();
    const qint32 BW = measures.board.width(), BH = measures.board.height();
    const qint32 LW = measures.list.width(), LH = measures.list.height();
    const qint32 vertical = measures.verticalBar;

    // The list is given the board's height: lower, it scrolls.
    const bool listScrolls = BH < LH;
    const qint32 S = listScrolls ? vertical : 0;
    qint32 H = math.Sum({BH, FH});
    qint32 W = math.Sum({BW, S, Gap, LW, FW});
    if (H > AH)
        W = math.Sum({W, vertical});
    if (W > AW)
        H = math.Sum({H, measures.horizontalBar});

    Widths widths{W, BW, LW};
    if (W > AW)
        widths = SharedWidths(AW, FW, BW, LW);
    else {
        if (H > AH)
            widths.board = math.Sum({BW, vertical});
        if (listScrolls)
            widths.list = math.Sum({LW, vertical});
    }

    qint32 windowHeight = H, controlHeight = BH;
    if (H > AH) {
        windowHeight = AH;
        controlHeight = math.Sum({AH, -qint64{FH}});
    } else if (W > AW) {
        controlHeight = math.Sum({BH, measures.horizontalBar});
    }

    return {QSize(widths.window, windowHeight), QRect(0, 0, widths.board, controlHeight),
            QRect(math.Sum({Gap, widths.board}), 0, widths.list, controlHeight)};
}
