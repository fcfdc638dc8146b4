#include "app/BackgroundArea.h"

#include <QPainter>

BackgroundArea::BackgroundArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(true);
}

void BackgroundArea::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void BackgroundArea::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    // A picture for a denser screen is reduced smoothly at 1.5×.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, picture_);
}
