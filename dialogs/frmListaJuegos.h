#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class ctlGrid;

// The game chooser: one row per puzzle of the data file. Its result,
// NumeroJuego, is read after it closes: 0 when nothing was chosen.
class frmListaJuegos : public QDialog {
    Q_OBJECT

public:
    explicit frmListaJuegos(QWidget* parent = nullptr);

    qint32 NumeroJuego() const { return NumeroJuego_; }
    void SetNumeroJuego(qint32 value) { NumeroJuego_ = value; }

    QLabel* lblJuegos() const { return lblJuegos_; }
    QPushButton* cmdAceptar() const { return cmdAceptar_; }
    QPushButton* cmdCancelar() const { return cmdCancelar_; }

private:
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    ctlGrid* Grid() const;
    void SetGridSpeech();

    qint32 NumeroJuego_ = 0;
    QLabel* lblJuegos_;
    ctlGrid* ctlGridJuegos_;
    QPushButton* cmdAceptar_;
    QPushButton* cmdCancelar_;
};
