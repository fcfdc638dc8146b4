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
    painter.drawPixmap(0, 0, picture_);
}
