#include "outside/FontPickerDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

FontPickerDialog::FontPickerDialog(const QFont& font, const QColor& colour, int minSize,
                                   int maxSize, QWidget* owner)
    : QDialog(owner), fonts_(new QFontDialog(font, this)), colourButton_(new QPushButton(this)),
      colour_(colour), minSize_(minSize), maxSize_(maxSize) {
    setWindowTitle(fonts_->windowTitle());
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setCurrentFont(font);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(colourButton_, &QPushButton::clicked, this, &FontPickerDialog::PickColour);

    auto* lower = new QHBoxLayout;
    lower->addWidget(colourButton_);
    lower->addStretch();
    lower->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(lower);
    ShowColour();
}

QFont FontPickerDialog::SelectedFont() const {
    QFont font = fonts_->currentFont();
    const qreal size = font.pointSizeF();
    font.setPointSizeF(qBound<qreal>(minSize_, size > 0 ? size : minSize_, maxSize_));
    return font;
}

void FontPickerDialog::PickColour() {
    const QColor chosen = QColorDialog::getColor(colour_, this);
    if (chosen.isValid()) {
        colour_ = chosen;
        ShowColour();
    }
}

void FontPickerDialog::ShowColour() {
    QPixmap swatch(16, 16);
    swatch.fill(colour_);
    colourButton_->setIcon(QIcon(swatch));
    colourButton_->setText(tr("Color..."));
}
