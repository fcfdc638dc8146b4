#include "app/frmAyuda.h"

#include "app/TextBox.h"
#include "outside/WindowServices.h"

#include <QPushButton>

frmAyuda::frmAyuda(QWidget* parent)
    : QDialog(parent), txtTexto_(new TextBox(this)), cmdCerrar_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmAyuda"));
    txtTexto_->setObjectName(QStringLiteral("txtTexto"));
    cmdCerrar_->setObjectName(QStringLiteral("cmdCerrar"));

    const WindowServices windows;
    setFixedSize(windows.SizeFromTwips(5145, 4155));
    windows.MoveTwips(txtTexto_, 75, 60, 4995, 3645);
    windows.MoveTwips(cmdCerrar_, 1980, 3750, 1185, 375);

    // Enter and Esc both close: the button is the default one, and Esc
    // rejects the dialog.
    cmdCerrar_->setDefault(true);
    cmdCerrar_->setAutoDefault(false);
    setTabOrder(txtTexto_, cmdCerrar_);
    txtTexto_->setFocus();
    connect(cmdCerrar_, &QPushButton::clicked, this, &frmAyuda::cmdCerrar_Click);
}

void frmAyuda::cmdCerrar_Click() {
    accept();
}
