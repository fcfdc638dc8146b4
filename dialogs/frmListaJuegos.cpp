#include "dialogs/frmListaJuegos.h"

#include "outside/AppServices.h"
#include "outside/Conversions.h"
#include "outside/WindowServices.h"
#include "outside/ctlGrid.h"

#include <QLabel>
#include <QPushButton>

frmListaJuegos::frmListaJuegos(QWidget* parent)
    : QDialog(parent), lblJuegos_(new QLabel(this)), ctlGridJuegos_(new ctlGrid(this)),
      cmdAceptar_(new QPushButton(this)), cmdCancelar_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmListaJuegos"));
    ctlGridJuegos_->setObjectName(QStringLiteral("ctlGridJuegos"));
    lblJuegos_->setObjectName(QStringLiteral("lblJuegos"));
    cmdAceptar_->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar_->setObjectName(QStringLiteral("cmdCancelar"));

    const WindowServices windows;
    setFixedSize(windows.SizeFromTwips(4560, 3810));
    windows.MoveTwips(lblJuegos_, 60, 30, 660, 195);
    windows.MoveTwips(ctlGridJuegos_, 30, 270, 4485, 3060);
    windows.MoveTwips(cmdAceptar_, 2010, 3390, 1185, 375);
    windows.MoveTwips(cmdCancelar_, 3300, 3390, 1185, 375);
    lblJuegos_->adjustSize();
    lblJuegos_->setBuddy(ctlGridJuegos_);
    cmdAceptar_->setDefault(true);
    cmdAceptar_->setAutoDefault(false);
    cmdCancelar_->setAutoDefault(false);
    setTabOrder(ctlGridJuegos_, cmdAceptar_);
    setTabOrder(cmdAceptar_, cmdCancelar_);
    ctlGridJuegos_->setFocus();
    SetGridSpeech();

    connect(cmdAceptar_, &QPushButton::clicked, this, &frmListaJuegos::cmdAceptar_Click);
    connect(cmdCancelar_, &QPushButton::clicked, this, &frmListaJuegos::cmdCancelar_Click);
    connect(ctlGridJuegos_, &ctlGrid::CellClick, this, &frmListaJuegos::cmdAceptar_Click);
}

// A screen reader hears the list's label and name and how many puzzles it
// holds; each title is read as it is.
void frmListaJuegos::SetGridSpeech() {
    const AppServices app;
    GridSpeech speech;
    speech.name = app.GetMessage(11210);
    speech.description = app.GetMessage(11211);
    ctlGridJuegos_->SetSpeech(speech);
    // The list's label is read before its name: without its colon.
    lblJuegos_->setAccessibleName(GridSpeech::Spoken(app.GetMessage(10602)));
}

ctlGrid* frmListaJuegos::Grid() const {
    return ctlGridJuegos_;
}

// The chosen row's tag is the puzzle's number.
void frmListaJuegos::cmdAceptar_Click() {
    const AppServices app;
    try {
        const qint32 row = Grid()->GetRowSelected();
        if (row == 0) {
            app.ShowInformation(app.GetMessage(10601), windowTitle());
            return;
        }
        NumeroJuego_ = Conversions::ToInteger32(Grid()->CellData(1, row),
                                                QStringLiteral("frmListaJuegos.cmdAceptar"));
        accept();
    } catch (const AppError& error) {
        app.ReportError(error);
    }
}

void frmListaJuegos::cmdCancelar_Click() {
    reject();
}
