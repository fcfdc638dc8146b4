#pragma once

#include <QDialog>

class QPushButton;
class ctlCuadricula;

// The solution viewer: a read-only copy of the board showing the solution
// letters only, with a close button under it. The board's ShowSolution
// fills it; Design lays it out to fit the board and shows it modally.
class frmSolucion : public QDialog {
    Q_OBJECT

public:
    explicit frmSolucion(QWidget* parent = nullptr);

    ctlCuadricula* ctlSolucion() const { return ctlSolucion_; }
    QPushButton* cmdCerrar() const { return cmdCerrar_; }

    // Fits the window to the board and shows it; returns when it is closed.
    void Design();

private:
    void FitSolutionWindow();
    void RefitOnceFramed();
    void cmdCerrar_Click();

    ctlCuadricula* ctlSolucion_;
    QPushButton* cmdCerrar_;
    // The frame the last layout was made with.
    QSize fittedFrame_;
};
