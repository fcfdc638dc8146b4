#pragma once

#include <QLabel>

// A label that works as a link: clicked with the mouse, or with Space once
// it has the focus, it raises Click. Enter is left to the window, whose
// default button it presses.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent = nullptr);

    // Underlined, in pure blue (lighter where the window is too dark for
    // it), with the given pointer over it.
    void ShowAsLink(const QCursor& pointer);
    static QColor LinkColour(const QPalette& palette, QPalette::ColorGroup group);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};
