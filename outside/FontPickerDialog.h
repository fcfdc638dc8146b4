#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

// Qt's font picker with a colour button beside it, so that a face, its size,
// its style and its colour are chosen in one dialog.
class FontPickerDialog : public QDialog {
    Q_OBJECT

public:
    FontPickerDialog(const QFont& font, const QColor& colour, int minSize, int maxSize,
                     QWidget* owner);

    QFont SelectedFont() const;
    QColor SelectedColour() const { return colour_; }

private:
    void PickColour();
    void ShowColour();

    QFontDialog* fonts_;
    QPushButton* colourButton_;
    QColor colour_;
    int minSize_;
    int maxSize_;
};
