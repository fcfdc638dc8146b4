#include "support/PaintCounter.h"

#include "outside/ctlGrid.h"

#include <QEvent>
#include <QImage>

PaintCounter::PaintCounter(ctlGrid& grid) : grid_(grid) {
    grid.viewport()->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_.viewport() && event->type() == QEvent::Paint && grid_.Redraw())
        ++count_;
    return false;
}

bool PaintCounter::DrawsWhilePainting(ctlGrid& grid) {
    QWidget* viewport = grid.viewport();
    QImage picture(viewport->size(), QImage::Format_ARGB32);
    const QColor sentinel(1, 254, 3);
    picture.fill(sentinel);
    viewport->render(&picture, QPoint(), QRegion(), QWidget::RenderFlags());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) != sentinel)
                return true;
    return false;
}
