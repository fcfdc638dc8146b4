#pragma once

#include <QDialog>

class QPushButton;
class TextBox;

// The help window: a read-only help text and a close button. Its captions
// and text are filled by the board's ShowHelp.
class frmAyuda : public QDialog {
    Q_OBJECT

public:
    explicit frmAyuda(QWidget* parent = nullptr);

    TextBox* txtTexto() const { return txtTexto_; }
    QPushButton* cmdCerrar() const { return cmdCerrar_; }

private:
    void cmdCerrar_Click();

    TextBox* txtTexto_;
    QPushButton* cmdCerrar_;
};
