// The windows that the board opens for the main window's help menu: the
// solution viewer, the help window and the about window.
#include "board/ctlCuadricula.h"

#include "app/CatalogueText.h"
#include "app/LinkLabel.h"
#include "app/TextBox.h"
#include "app/frmAcercaDe.h"
#include "app/frmAyuda.h"
#include "dialogs/frmSolucion.h"
#include "outside/AppServices.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "outside/WindowServices.h"

#include <QLabel>
#include <QPushButton>

void ctlCuadricula::ShowSolution() {
    if (NumeroJuego_ != 0) {
        OpenSolutionWindow();
        return;
    }
    appServices_->ShowInformation(appServices_->GetMessage(10401), productInfo_->GetProductName(2));
}

// The copy takes its marks from the solution, not from the store, and is
// read-only, so nothing the viewer does reaches the player's progress.
void ctlCuadricula::OpenSolutionWindow() {
    frmSolucion form;
    ctlCuadricula* copy = form.ctlSolucion();
    copy->SetNumeroJuego(NumeroJuego_);
    copy->SetColumns(Columns_);
    copy->SetRows(Rows_);
    copy->SetTitulo(Titulo_);
    copy->SetLetras(Letras_);
    copy->SetPalabras(Palabras_);
    copy->SetSolucion(Solucion_);
    copy->SetReadOnly(true);
    copy->Refresh(false);
    form.setWindowTitle(appServices_->GetMessage(10500) + QLatin1Char(' ') +
                        QString::number(NumeroJuego_) + QStringLiteral(" - ") + Titulo_);
    form.cmdCerrar()->setText(appServices_->GetMessage(10002));
    form.Design();
}

void ctlCuadricula::ShowHelp() {
    ReraiseAs("ctlCuadricula.ShowHelp", [&] {
        const QString text = CatalogueText::HelpText(
            appServices_->GetMessage(11000), productInfo_->GetProductDescription(2),
            appServices_->GetMessage(11003), appServices_->GetMessage(11004),
            productInfo_->GetEmailAddress());
        frmAyuda form;
        form.setWindowTitle(appServices_->GetMessage(10800) + QLatin1Char(' ') +
                            productInfo_->GetProductName(2));
        form.cmdCerrar()->setText(appServices_->GetMessage(10002));
        form.txtTexto()->SetText(text);
        form.txtTexto()->SetLocked(true);
        form.txtTexto()->setAccessibleName(form.windowTitle());
        windowServices_->PlaceWindow(&form, 0, 0);
        form.exec();
    });
}

// Errors pass on with the source they were raised with.
void ctlCuadricula::ShowAbout() {
    const QString text =
        CatalogueText::AboutText(productInfo_->GetNoticeText(), appServices_->GetMessage(11101),
                                 appServices_->GetMessage(11102));
    frmAcercaDe form;
    form.setWindowTitle(appServices_->GetMessage(10900) + QLatin1Char(' ') +
                        productInfo_->GetProductName(2));
    form.cmdAceptar()->setText(appServices_->GetMessage(10000));
    form.lblSistema()->setText(productInfo_->GetProductDescription(2));
    form.txtCopyright()->SetText(text);
    form.txtCopyright()->SetLocked(true);
    form.txtCopyright()->setAccessibleName(form.windowTitle());
    form.Label1(0)->setText(appServices_->GetMessage(10903));
    form.Label1(1)->setText(appServices_->GetMessage(10904));
    // While no puzzle is loaded the line stays in place, empty.
    form.lblNumeroJuego()->setText(NumeroJuego_ > 0
                                       ? appServices_->GetMessage(10901) + QLatin1Char(' ') +
                                             QString::number(NumeroJuego_)
                                       : QString());
    form.lblEmail()->setText(productInfo_->GetEmailAddress());
    form.lblEmail()->ShowAsLink(ProgramResources::Cursor(1000));
    form.lblWeb()->setText(productInfo_->GetWebAddress());
    form.lblWeb()->ShowAsLink(ProgramResources::Cursor(1000));
    form.imgAcercaDe()->setPixmap(ProgramResources::Icon(2012));
    windowServices_->PlaceWindow(&form, 0, 0);
    form.exec();
}
