#pragma once

#include <QPixmap>
#include <QWidget>

// The main window's client area: shows the background picture while no
// puzzle is loaded and holds the board and the word list afterwards.
class BackgroundArea : public QWidget {
    Q_OBJECT

public:
    explicit BackgroundArea(QWidget* parent = nullptr);

    // A null pixmap removes the picture.
    void SetPicture(const QPixmap& picture);
    bool HasPicture() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
