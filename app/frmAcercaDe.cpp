#include "app/frmAcercaDe.h"

#include "app/LinkLabel.h"
#include "app/TextBox.h"
#include "app/modMain.h"
#include "outside/AppServices.h"
#include "outside/WindowServices.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Labels carry the system's window background and window text colours.
void PaintAsWindowText(QWidget* widget, const WindowServices& windows) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, ColourFromWindows(windows.GetSystemColor(5)));
    colours.setColor(QPalette::WindowText, ColourFromWindows(windows.GetSystemColor(8)));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}
} // namespace

frmAcercaDe::frmAcercaDe(QWidget* parent)
    : QDialog(parent), imgAcercaDe_(new QLabel(this)), lblSistema_(new QLabel(this)),
      lblNumeroJuego_(new QLabel(this)), txtCopyright_(new TextBox(this)),
      cmdAceptar_(new QPushButton(this)), Label1_{new QLabel(this), new QLabel(this)},
      lblEmail_(new LinkLabel(this)), lblWeb_(new LinkLabel(this)) {
    setObjectName(QStringLiteral("frmAcercaDe"));
    imgAcercaDe_->setObjectName(QStringLiteral("imgAcercaDe"));
    lblSistema_->setObjectName(QStringLiteral("lblSistema"));
    lblNumeroJuego_->setObjectName(QStringLiteral("lblNumeroJuego"));
    txtCopyright_->setObjectName(QStringLiteral("txtCopyright"));
    cmdAceptar_->setObjectName(QStringLiteral("cmdAceptar"));
    Label1_[0]->setObjectName(QStringLiteral("Label1_0"));
    Label1_[1]->setObjectName(QStringLiteral("Label1_1"));
    lblEmail_->setObjectName(QStringLiteral("lblEmail"));
    lblWeb_->setObjectName(QStringLiteral("lblWeb"));

    const WindowServices windows;
    setFixedSize(windows.SizeFromTwips(4845, 2625));
    windows.MoveTwips(imgAcercaDe_, 150, 210, 480, 480);
    windows.MoveTwips(lblSistema_, 780, 120, 705, 195);
    windows.MoveTwips(lblNumeroJuego_, 780, 390, 1140, 195);
    windows.MoveTwips(txtCopyright_, 780, 690, 3975, 1275);
    windows.MoveTwips(cmdAceptar_, 3720, 150, 1005, 375);
    windows.MoveTwips(Label1_[0], 780, 2040, 480, 195);
    windows.MoveTwips(lblEmail_, 1530, 2040, 525, 195);
    windows.MoveTwips(Label1_[1], 780, 2340, 480, 195);
    windows.MoveTwips(lblWeb_, 1530, 2340, 495, 195);

    // The window takes the labels' colours too, so they do not stand out
    // as patches wider than their texts.
    PaintAsWindowText(this, windows);
    for (QLabel* label : Labels())
        PaintAsWindowText(label, windows);
    imgAcercaDe_->setAlignment(Qt::AlignCenter);

    // Enter and Esc both close: the button is the default one, and Esc
    // rejects the dialog.
    cmdAceptar_->setDefault(true);
    cmdAceptar_->setAutoDefault(false);
    setTabOrder(cmdAceptar_, txtCopyright_);
    setTabOrder(txtCopyright_, lblEmail_);
    setTabOrder(lblEmail_, lblWeb_);
    cmdAceptar_->setFocus();

    connect(cmdAceptar_, &QPushButton::clicked, this, &frmAcercaDe::cmdAceptar_Click);
    connect(lblEmail_, &LinkLabel::Click, this, &frmAcercaDe::lblEmail_Click);
    connect(lblWeb_, &LinkLabel::Click, this, &frmAcercaDe::lblWeb_Click);
}

std::array<QLabel*, 6> frmAcercaDe::Labels() const {
    return {lblSistema_, lblNumeroJuego_, Label1_[0], lblEmail_, Label1_[1], lblWeb_};
}

void frmAcercaDe::showEvent(QShowEvent* event) {
    FitLabelsToText();
    QDialog::showEvent(event);
}

// The texts come from the catalogue and the product facts, so a label may
// need more room than its place was drawn with: it grows to the right and
// down, never shrinks.
void frmAcercaDe::FitLabelsToText() {
    for (QLabel* label : Labels()) {
        const QSize wanted = label->sizeHint().expandedTo(label->size());
        label->resize(wanted);
    }
}

void frmAcercaDe::cmdAceptar_Click() {
    accept();
}

void frmAcercaDe::lblEmail_Click() {
    Open(QStringLiteral("mailto:") + lblEmail_->text());
}

void frmAcercaDe::lblWeb_Click() {
    Open(lblWeb_->text());
}

// An address the system cannot open is told to the player; the window stays.
void frmAcercaDe::Open(const QString& address) {
    try {
        SharedServices::App().OpenDocument(address, 0, -1);
    } catch (const AppError& error) {
        SharedServices::App().ReportError(error, QString(), -1, -1, QString());
    }
}
