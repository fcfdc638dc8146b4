#pragma once

#include <QObject>

class ctlGrid;

// Counts the paints in which a grid draws: the paint events that reach its
// viewport while its Redraw is on. Whether a paint with Redraw off draws
// nothing, DrawsWhilePainting tells.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(ctlGrid& grid);

    int Count() const { return count_; }

    // Paints the grid into a picture filled with a colour the grid never
    // uses: true when anything of the picture changed.
    static bool DrawsWhilePainting(ctlGrid& grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ctlGrid& grid_;
    int count_ = 0;
};
