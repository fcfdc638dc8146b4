#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

// The font picker: a face, bold and italic, a size from the range the
// caller keeps, and the letters' colour, with a sample of the choice. It
// offers only what the program keeps; underline, strikeout and writing
// systems are not among them.
class FontPickerDialog : public QDialog {
    Q_OBJECT

public:
    FontPickerDialog(const QFont& font, const QColor& colour, int minSize, int maxSize,
                     QWidget* owner);

    QFont SelectedFont() const;
    QColor SelectedColour() const { return colour_; }

    QListWidget* Families() const { return families_; }
    QListWidget* Sizes() const { return sizes_; }
    QCheckBox* Bold() const { return bold_; }
    QCheckBox* Italic() const { return italic_; }
    QPushButton* ColourButton() const { return colourButton_; }
    QLabel* Sample() const { return sample_; }

    // Whether the face draws A to Z, Ñ and the accented vowels.
    static bool WritesPuzzles(const QString& family);

private:
    void BuildControls();
    void LayOut();
    void FillFamilies(const QString& current);
    void FillSizes(int current);
    void PickColour();
    void ShowChoice();

    QListWidget* families_;
    QListWidget* sizes_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QPushButton* colourButton_;
    QLabel* sample_;
    QColor colour_;
    int minSize_;
    int maxSize_;
};
