#include "outside/FontPickerDialog.h"

#include "outside/CommonDialogs.h"
#include "outside/MessageCatalogue.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRawFont>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {
QLabel* Caption(int number, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(MessageCatalogue::Text(number), parent);
    label->setBuddy(buddy);
    return label;
}

void SelectRow(QListWidget* list, int row) {
    list->setCurrentRow(row);
    if (QListWidgetItem* item = list->currentItem())
        list->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}
} // namespace

FontPickerDialog::FontPickerDialog(const QFont& font, const QColor& colour, int minSize,
                                   int maxSize, QWidget* owner)
    : QDialog(owner), families_(new QListWidget(this)), sizes_(new QListWidget(this)),
      bold_(new QCheckBox(MessageCatalogue::Text(11653), this)),
      italic_(new QCheckBox(MessageCatalogue::Text(11654), this)),
      colourButton_(new QPushButton(MessageCatalogue::Text(11656), this)),
      sample_(new QLabel(MessageCatalogue::Text(11658), this)), colour_(colour),
      minSize_(qMin(minSize, maxSize)), maxSize_(qMax(minSize, maxSize)) {
    setObjectName(QStringLiteral("FontPickerDialog"));
    setWindowTitle(MessageCatalogue::Text(11650));
    BuildControls();
    LayOut();
    FillFamilies(font.family());
    FillSizes(static_cast<int>(std::lround(font.pointSizeF())));
    bold_->setChecked(font.bold());
    italic_->setChecked(font.italic());
    ShowChoice();
    families_->setFocus();
}

void FontPickerDialog::BuildControls() {
    families_->setObjectName(QStringLiteral("families"));
    sizes_->setObjectName(QStringLiteral("sizes"));
    bold_->setObjectName(QStringLiteral("bold"));
    italic_->setObjectName(QStringLiteral("italic"));
    colourButton_->setObjectName(QStringLiteral("colour"));
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setAutoFillBackground(true);
    sample_->setMinimumHeight(56);
    // A sample in a 24-point face must not make the dialog grow.
    sample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    connect(families_, &QListWidget::currentRowChanged, this, &FontPickerDialog::ShowChoice);
    connect(sizes_, &QListWidget::currentRowChanged, this, &FontPickerDialog::ShowChoice);
    connect(bold_, &QCheckBox::toggled, this, &FontPickerDialog::ShowChoice);
    connect(italic_, &QCheckBox::toggled, this, &FontPickerDialog::ShowChoice);
    connect(colourButton_, &QPushButton::clicked, this, &FontPickerDialog::PickColour);
}

void FontPickerDialog::LayOut() {
    auto* style = new QVBoxLayout;
    style->addWidget(Caption(11652, bold_, this));
    style->addWidget(bold_);
    style->addWidget(italic_);
    style->addStretch();

    auto* choices = new QGridLayout;
    choices->addWidget(Caption(11651, families_, this), 0, 0);
    choices->addWidget(families_, 1, 0);
    choices->addLayout(style, 1, 1);
    choices->addWidget(Caption(11655, sizes_, this), 0, 2);
    choices->addWidget(sizes_, 1, 2);
    choices->setColumnStretch(0, 1);
    sizes_->setMaximumWidth(sizes_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 40);

    auto* sampleBox = new QGroupBox(MessageCatalogue::Text(11657), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(sample_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* accept = buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    accept->setText(MessageCatalogue::Text(10000));
    cancel->setText(MessageCatalogue::Text(10001));
    accept->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(colourButton_);
    lower->addStretch();
    lower->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices, 1);
    layout->addWidget(sampleBox);
    layout->addLayout(lower);
    resize(460, 380);

    QWidget* order[] = {families_, bold_, italic_, sizes_, colourButton_, accept, cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// A face is offered only if it draws every letter a puzzle may hold. A
// symbol face claims every letter but draws other signs in their place.
bool FontPickerDialog::WritesPuzzles(const QString& family) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÑÁÉÍÓÚÜ");
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
        return false;
    const QRawFont face = QRawFont::fromFont(QFont(family));
    return face.isValid() && std::all_of(letters.cbegin(), letters.cend(), [&](QChar letter) {
               return face.supportsCharacter(letter);
           });
}

// Faces are listed by name once, whoever made them ("P052 [urw]" and
// "P052 [UKWN]" are both "P052"). The face asked for leads the list when
// the system lacks it, so a choice that only changes the size keeps the
// name the player had.
void FontPickerDialog::FillFamilies(const QString& current) {
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !WritesPuzzles(family))
            continue;
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        const QString name = foundry > 0 ? family.left(foundry) : family;
        if (!names.contains(name))
            names << name;
    }
    qsizetype at = names.indexOf(current);
    if (at < 0 && !current.isEmpty()) {
        names.prepend(current);
        at = 0;
    }
    families_->addItems(names);
    SelectRow(families_, static_cast<int>(qMax<qsizetype>(at, 0)));
}

void FontPickerDialog::FillSizes(int current) {
    for (int size = minSize_; size <= maxSize_; ++size)
        sizes_->addItem(QString::number(size));
    SelectRow(sizes_, qBound(minSize_, current, maxSize_) - minSize_);
}

QFont FontPickerDialog::SelectedFont() const {
    QFont font;
    if (const QListWidgetItem* family = families_->currentItem())
        font.setFamily(family->text());
    font.setPointSize(minSize_ + qMax(0, sizes_->currentRow()));
    font.setBold(bold_->isChecked());
    font.setItalic(italic_->isChecked());
    return font;
}

void FontPickerDialog::PickColour() {
    const QColor chosen = QColorDialog::getColor(colour_, this, MessageCatalogue::Text(10708),
                                                 CommonDialogs::UseDesktopPickers()
                                                     ? QColorDialog::ColorDialogOptions()
                                                     : QColorDialog::DontUseNativeDialog);
    if (chosen.isValid()) {
        colour_ = chosen;
        ShowChoice();
    }
}

void FontPickerDialog::ShowChoice() {
    sample_->setFont(SelectedFont());
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::WindowText, colour_);
    sample_->setPalette(palette);
    QPixmap swatch(16, 16);
    swatch.fill(colour_);
    colourButton_->setIcon(QIcon(swatch));
}
