#include "app/LinkLabel.h"

#include "outside/WindowServices.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void LinkLabel::ShowAsLink(const QCursor& pointer) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette blue = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        blue.setColor(group, QPalette::WindowText, LinkColour(blue, group));
    setPalette(blue);
    setCursor(pointer);
}

// Pure blue, lightened on a dark window until it reads well.
QColor LinkLabel::LinkColour(const QPalette& palette, QPalette::ColorGroup group) {
    constexpr double Readable = 4.5;
    return WithContrast(QColor(0, 0, 255), palette.color(group, QPalette::Window),
                        palette.color(group, QPalette::WindowText), Readable);
}

// A click is a press and a release on the label, as on a button: moving
// off before letting go takes it back.
void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Space:
        if (plain && !event->isAutoRepeat()) {
            event->accept();
            emit Click();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
